#pragma once
// How the fuzzer turns its input bytes into a workstation and what happens on it.
//
// Input layout (a shorter input reads as if padded with zero bytes):
//   byte 0   bit0 ChkMostrar checked at start      bit1 "Marcar/Desmarcar" after start-up
//            bit2 a second run                      bits3+4 both set: no registrar
//            bit5 the Crystal folder exists         bit6 the system folder exists
//            bit7 the program lies at the root of D: instead of C:\Tovrel
//   byte 1   bit0 opening the list fails at start-up   bit1 ... fails at the first run
//            bit2 the list is deleted after start-up    bit3 reading fails after byte 2 lines
//            bit4 the registrar lookup throws           bit5 the Windows folder query fails
//            bit6 the system folder query fails         bit7 the Windows folder is over 256 chars
//   byte 2   bits0-6 lines read before a read fails    bit7 every launch fails
//   bytes 3-7   the action of yield k is byte 3 + k % 5:
//            bit0 toggle ChkMostrar   bit1 press "Registrar"   bit2 "Marcar/Desmarcar"
//            bit3 toggle the mark of entry ((byte >> 4) * (k + 1)) % count
//   bytes 8-15  the state of the i-th distinct component named in the list is byte 8 + i % 8:
//            bit0 present (in the program's folder, or at its own path when it has a folder)
//            bit1 that file is hidden
//            bit2 a file of its bare name already lies in every destination folder
//            bit3 those destination files are hidden (even i) or system (odd i)
//            bits4-5 backup names already taken: none, 000, 000 and 002, all 1000 (only for
//                    the first component that asks for it)
//            bit6 copies to its destination fail (and, for even i, its backup copy), at
//                 the step i % 5: before writing, creating, writing, flushing or renaming
//                 the temporary file
//            bit7 lookups of it throw
//   the rest  the list file's bytes, as they are
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tovrel::fuzz {

inline constexpr std::size_t kControlBytes = 16;
inline constexpr int kYieldActionBytes = 5;
inline constexpr int kComponentStateBytes = 8;
inline constexpr std::size_t kMaxComponentsWithState = 64;
inline constexpr int kMaxFullBackupSets = 1;

struct Scenario {
  std::uint8_t control[kControlBytes] = {};
  std::string list;

  bool Bit(std::size_t byte, int bit) const { return (control[byte] >> bit) & 1u; }

  bool showMessages() const { return Bit(0, 0); }
  bool invertAfterStartup() const { return Bit(0, 1); }
  bool secondRun() const { return Bit(0, 2); }
  bool registrarAbsent() const { return Bit(0, 3) && Bit(0, 4); }
  bool crystalExists() const { return Bit(0, 5); }
  bool systemExists() const { return Bit(0, 6); }
  bool appAtDriveRoot() const { return Bit(0, 7); }
  bool openFailsAtStartup() const { return Bit(1, 0); }
  bool openFailsAtFirstRun() const { return Bit(1, 1); }
  bool listDeletedAfterStartup() const { return Bit(1, 2); }
  bool readFails() const { return Bit(1, 3); }
  bool registrarLookupThrows() const { return Bit(1, 4); }
  bool windowsQueryFails() const { return Bit(1, 5); }
  bool systemQueryFails() const { return Bit(1, 6); }
  bool windowsFolderLong() const { return Bit(1, 7); }
  long linesBeforeReadFailure() const { return control[2] & 0x7F; }
  bool launchesFail() const { return Bit(2, 7); }
  std::uint8_t YieldAction(int yield) const { return control[3 + yield % kYieldActionBytes]; }
  std::uint8_t ComponentState(std::size_t i) const { return control[8 + i % kComponentStateBytes]; }
};

Scenario ReadScenario(const std::uint8_t* data, std::size_t size);

// The list file as the line rules read it, kept apart from the logic so it can judge it.
struct ListModel {
  std::vector<std::wstring> lines;      // every line, Latin-1 decoded
  std::vector<std::wstring> listable;   // entry lines start-up must list, in order (capped)
  unsigned long badLines = 0;           // entry lines that cannot be listed
  std::vector<std::wstring> components; // distinct component texts of entry lines with a comma
};

// The model of the first `linesRead` lines (all when negative).
ListModel ModelList(const std::string& bytes, long linesRead);

// The text after the last backslash, the whole text when there is none.
std::wstring BareName(const std::wstring& path);

}  // namespace tovrel::fuzz

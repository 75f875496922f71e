#pragma once
// What a component's file says about itself, read from its bytes as a program image: is it a
// program at all, a DLL, for which machine, what it exports, which DLLs it imports (directly
// and delay-loaded), and its file version.
//
// A small reader of our own rather than imagehlp or dbghelp: it runs in the host tests, reads
// 32- and 64-bit images alike whatever the reader's own bitness, needs no DLL beside the
// program, and never maps or loads the component (so none of its code can run). It trusts
// nothing in the file: every offset and size is checked against the bytes at hand, every
// table walk is bounded, and a file that breaks any of that is "not a program file".
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovrel::loader {

inline constexpr std::uint16_t kMachineI386 = 0x014C;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;

// No real image comes near these; a file that claims more is refused, not walked.
inline constexpr std::size_t kMaxImportedDlls = 4096;
inline constexpr std::size_t kMaxExportNames = 65536;
inline constexpr std::size_t kMaxNameLength = 4096;

// The four parts of a VERSIONINFO's FILEVERSION, most significant first. Compared part by
// part, as numbers: 2.10 is newer than 2.5.
struct FileVersion {
  std::array<std::uint16_t, 4> parts{};

  friend bool operator==(const FileVersion& a, const FileVersion& b) { return a.parts == b.parts; }
  friend bool operator!=(const FileVersion& a, const FileVersion& b) { return a.parts != b.parts; }
  friend bool operator<(const FileVersion& a, const FileVersion& b) { return a.parts < b.parts; }
  // "2.10.3.1"
  std::wstring Text() const;
};

// Where the version resource's bytes are in the file (for a reader that wants the whole block).
struct ResourceLocation {
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};

struct PeImage {
  // Empty when the bytes are a program image this reader could read whole; otherwise why
  // not, in plain words ("too short for a program header", "import table outside the file").
  // The fields below hold what was read before the reading stopped.
  std::string problem;

  std::uint16_t machine = 0;  // IMAGE_FILE_HEADER.Machine: kMachineI386, kMachineAmd64, ...
  bool pe32Plus = false;      // the 64-bit optional header
  bool isDll = false;         // IMAGE_FILE_DLL

  std::vector<std::string> exports;       // exported names, in the table's order
  std::vector<std::string> imports;       // DLL names of the import table, as written
  std::vector<std::string> delayImports;  // DLL names of the delay-import table, as written

  // On Windows the checker takes a file's version from the platform (GetFileVersionInfoW),
  // the reader the operator's own tools agree with; this reading of the same
  // VS_FIXEDFILEINFO answers the same question for the in-memory seam and the host tests.
  // Either way the one comparison is FileVersion's.
  std::optional<ResourceLocation> versionResource;
  std::optional<FileVersion> fileVersion;  // VS_FIXEDFILEINFO's dwFileVersionMS/LS

  bool IsProgram() const { return problem.empty(); }
  // Exact, case-sensitive, as GetProcAddress looks a name up.
  bool Exports(std::string_view name) const;
};

PeImage ReadPeImage(const std::uint8_t* data, std::size_t size);
inline PeImage ReadPeImage(const std::vector<std::uint8_t>& bytes) {
  return ReadPeImage(bytes.data(), bytes.size());
}

// "i386", "AMD64", or the number in hex ("0xAA64").
std::wstring MachineName(std::uint16_t machine);

}  // namespace tovrel::loader

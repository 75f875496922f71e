#pragma once
// Every DLL a component needs that the loader would not get, found by walking its imports
// and theirs as the loader would, without loading any of them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "loader/dll_search.h"
#include "loader/pe_image.h"

namespace tovrel::loader {

// The files the walk may look at: the platform's file system on Windows, a map in tests.
class ImageFiles {
 public:
  virtual ~ImageFiles() = default;
  virtual bool Exists(const std::wstring& path) = 0;
  // The whole file; std::nullopt when it cannot be read.
  virtual std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path) = 0;
};

// A walk reads at most this many files; a real component needs a few dozen.
inline constexpr std::size_t kMaxWalkedImages = 256;

enum class DependencyFault {
  kMissing,       // found in no folder of the search order
  kUnreadable,    // found, but its file could not be read
  kNotProgram,    // found, but not a program file
  kWrongMachine,  // found only built for another machine than the component's (0xC000007B)
};

struct DependencyFinding {
  DependencyFault fault = DependencyFault::kMissing;
  // The component's name first, then each import as written, the DLL at fault last.
  std::vector<std::wstring> chain;
  std::wstring path;  // where the loader found it; for kWrongMachine the first such copy
};

struct DependencyReport {
  std::vector<DependencyFinding> errors;    // the component would not load
  std::vector<DependencyFinding> warnings;  // a delay-loaded DLL would fail on its first call
  bool incomplete = false;                  // the walk stopped at kMaxWalkedImages
};

// Walks `component`'s imports breadth first, then its delay imports, each DLL once (by name,
// as the loader reuses a module it has loaded). As the loader does, the search for a DLL
// passes over copies built for another machine (measured under Wine: a 32-bit helper.dll in
// the first folder and a 64-bit one in the current folder load the 64-bit one). A DLL's own delay imports are not followed:
// the loader leaves them to that DLL's first call. API sets and KnownDLLs are not followed.
// `componentName` heads every chain. Each fault is reported once, with the shortest chain.
DependencyReport WalkDependencies(const std::wstring& componentName, const PeImage& component,
                                  const SearchOrder& order, ImageFiles& files);

// "comp.ocx -> helper.dll -> missing.dll"
std::wstring ChainText(const std::vector<std::wstring>& chain);

}  // namespace tovrel::loader

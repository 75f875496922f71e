#pragma once
// A component's file as the checker reads it, never loading or running it: its bytes, its
// version, the type library it carries, and where the loader would look for what it imports.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tovrel::platform {

struct TypeLibrary {
  std::wstring libraryId;              // "{...}", upper case
  unsigned short major = 0;
  unsigned short minor = 0;
  std::vector<std::wstring> classIds;  // one per coclass, "{...}", upper case
};

// The folders and names the loader consults for one bitness, besides the component's own
// first folder.
struct LoaderEnvironment {
  std::wstring systemFolder;  // the system folder of that bitness
  std::wstring windowsFolder;
  std::wstring currentFolder;
  std::vector<std::wstring> pathFolders;  // PATH's entries, in order
  std::vector<std::wstring> knownDlls;    // the machine's KnownDLLs, by name
};

class ComponentFiles {
 public:
  virtual ~ComponentFiles() = default;

  virtual bool Exists(const std::wstring& path) = 0;

  // The file's version resource's FILEVERSION, most significant part first; nothing when it
  // has none.
  virtual std::optional<std::array<std::uint16_t, 4>> FileVersionOf(const std::wstring& path) = 0;

  // Where the loader of a 64-bit (or 32-bit) process looks.
  virtual LoaderEnvironment LoaderEnvironmentFor(bool sixtyFourBit) = 0;

  // The whole file; nothing when it does not exist or cannot be read.
  virtual std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path) = 0;

  // The type library embedded in the file, read as a resource (the file's code never runs);
  // nothing when it carries none.
  virtual std::optional<TypeLibrary> TypeLibraryOf(const std::wstring& path) = 0;
};

}  // namespace tovrel::platform

#pragma once
// A component's file as the checker reads it, never loading or running it: its bytes, and the
// type library it carries.
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

class ComponentFiles {
 public:
  virtual ~ComponentFiles() = default;

  // The whole file; nothing when it does not exist or cannot be read.
  virtual std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path) = 0;

  // The type library embedded in the file, read as a resource (the file's code never runs);
  // nothing when it carries none.
  virtual std::optional<TypeLibrary> TypeLibraryOf(const std::wstring& path) = 0;
};

}  // namespace tovrel::platform

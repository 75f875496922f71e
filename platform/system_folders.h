#pragma once
// The folders that start-up works out once.
#include <cstdint>
#include <string>

namespace tovrel::platform {

class SystemFolders {
 public:
  virtual ~SystemFolders() = default;

  // The Windows and the system folder, with the query's buffer contract: copy the path into
  // `buffer` (capacity `size` characters, terminating null included) and return the number
  // of characters copied without the null; return 0 on failure; when the buffer is too small
  // copy nothing and return the size needed, null included.
  virtual std::uint32_t WindowsDirectory(wchar_t* buffer, std::uint32_t size) = 0;
  virtual std::uint32_t SystemDirectory(wchar_t* buffer, std::uint32_t size) = 0;

  // The folder of the program's executable file, without a trailing backslash unless it is
  // the root of a drive.
  virtual std::wstring ApplicationFolder() = 0;
};

}  // namespace tovrel::platform

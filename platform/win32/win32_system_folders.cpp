#include <string>

#include "platform/path_text.h"
#include "platform/win32/module_path.h"
#include "platform/win32/win32_platform.h"

namespace tovrel::platform {

std::uint32_t Win32SystemFolders::WindowsDirectory(wchar_t* buffer, std::uint32_t size) {
  return ::GetWindowsDirectoryW(buffer, buffer != nullptr ? size : 0);
}

std::uint32_t Win32SystemFolders::SystemDirectory(wchar_t* buffer, std::uint32_t size) {
  return ::GetSystemDirectoryW(buffer, buffer != nullptr ? size : 0);
}

std::wstring Win32SystemFolders::ApplicationFolder() {
  const std::wstring path = detail::ModulePath();
  std::wstring folder = ContainingFolder(path);
  if (folder.empty()) ThrowWin32Error(ERROR_BAD_PATHNAME);
  return folder;
}

}  // namespace tovrel::platform

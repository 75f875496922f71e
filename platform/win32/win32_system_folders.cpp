#include <string>

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
  const std::size_t lastBackslash = path.rfind(L'\\');
  if (lastBackslash == std::wstring::npos) ThrowWin32Error(ERROR_BAD_PATHNAME);
  std::wstring folder = path.substr(0, lastBackslash);
  // A drive root keeps its backslash: "C:" alone would mean that drive's current folder.
  if (!folder.empty() && folder.back() == L':') folder += L'\\';
  return folder;
}

}  // namespace tovrel::platform

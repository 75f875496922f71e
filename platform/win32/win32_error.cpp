#include <memory>
#include <string>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_platform.h"

namespace tovrel::platform {

std::wstring DescribeWin32Error(DWORD code) {
  wchar_t* raw = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
  std::unique_ptr<void, detail::LocalMemoryFreer> owner(raw);
  std::wstring text;
  if (length != 0 && raw != nullptr) text.assign(raw, length);
  const std::size_t end = text.find_last_not_of(L"\r\n \t");
  text.erase(end == std::wstring::npos ? 0 : end + 1);
  if (text.empty()) text = L"Error " + std::to_wstring(code);
  return text;
}

void ThrowWin32Error(DWORD code) {
  // A call that failed without saying why must not be described as a success.
  if (code == ERROR_SUCCESS) code = ERROR_UNIDENTIFIED_ERROR;
  throw PlatformError(DescribeWin32Error(code));
}

void ThrowLastError() { ThrowWin32Error(::GetLastError()); }

}  // namespace tovrel::platform

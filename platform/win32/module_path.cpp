#include "platform/win32/module_path.h"

#include "platform/win32/win32_platform.h"

namespace tovrel::platform::detail {

// The module path has no fixed bound (long paths, \\?\ prefixes): grow until it fits.
std::wstring ModulePath(DWORD initialCapacity) {
  std::wstring buffer(initialCapacity > 0 ? initialCapacity : 1, L'\0');
  for (;;) {
    const DWORD capacity = static_cast<DWORD>(buffer.size());
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), capacity);
    if (length == 0) ThrowLastError();
    // A cut-short path fills the buffer exactly (older systems set no error for it).
    if (length < capacity && ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
      buffer.resize(length);
      return buffer;
    }
    if (buffer.size() >= 1u << 20) ThrowWin32Error(ERROR_FILENAME_EXCED_RANGE);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace tovrel::platform::detail

#pragma once
// Owning wrappers for the handles the seam opens, so that no path leaks one.
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace tovrel::platform::detail {

struct KernelHandleCloser {
  void operator()(HANDLE handle) const noexcept {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, KernelHandleCloser>;

struct FindHandleCloser {
  void operator()(HANDLE handle) const noexcept {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) ::FindClose(handle);
  }
};
using UniqueFindHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindHandleCloser>;

struct LocalMemoryFreer {
  void operator()(void* memory) const noexcept { ::LocalFree(memory); }
};

// Texts handed to the system end at their first null: a name with an embedded one would be
// looked up cut short, so it is refused instead.
inline bool HasEmbeddedNull(const std::wstring& text) {
  return text.find(L'\0') != std::wstring::npos;
}

}  // namespace tovrel::platform::detail

#include "platform/win32/win32_platform.h"

namespace tovrel::platform {

void HardenDllSearch() {
  // Looked up at run time: systems without the update that brought it lack the export.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  const FARPROC found = kernel != nullptr ? ::GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
  if (found != nullptr) {
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(found));
    if (setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  }
  // Without it, at least take the current folder out of the search.
  ::SetDllDirectoryW(L"");
}

}  // namespace tovrel::platform

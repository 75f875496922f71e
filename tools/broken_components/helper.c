/* A DLL that a component imports and that is shipped beside it, but that itself needs a DLL
   which is not: the component fails to load one step further down its imports. */
#include <windows.h>

int helper_runtime_version(void);

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}

int helper_value(void) { return helper_runtime_version() + 1; }

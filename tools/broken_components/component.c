/* One small in-process server, built several ways to fail at registration in one way each.
   No C runtime: the entry point is DllMain itself, so a fixture imports only what its build
   names. FIXTURE_USES names a function of another DLL; it is reached only through
   FixtureUse, which registration never calls, so a fixture that delay-loads it registers. */
#include <windows.h>

#ifdef FIXTURE_USES
int FIXTURE_USES(void);
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}

int FixtureUse(void) {
#ifdef FIXTURE_USES
  return FIXTURE_USES();
#else
  return 0;
#endif
}

STDAPI DllRegisterServer(void) { return S_OK; }
STDAPI DllUnregisterServer(void) { return S_OK; }
STDAPI DllCanUnloadNow(void) { return S_OK; }
STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  (void)clsid;
  (void)iid;
  *object = NULL;
  return CLASS_E_CLASSNOTAVAILABLE;
}

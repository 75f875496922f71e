// Test helper: presses the main window's hidden e-invoice button, as its click would,
// and waits until the e-invoice window is on screen. Exit code 0 when it is.
#include <windows.h>

#include "ui/control_ids.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tovrel::ui;
  const DWORD deadline = GetTickCount() + 20000;
  HWND form = nullptr;
  while (!(form = FindWindowW(kForm1ClassName, nullptr)) || !IsWindowVisible(form)) {
    if (GetTickCount() > deadline) return 2;
    Sleep(50);
  }
  PostMessageW(form, WM_COMMAND, MAKEWPARAM(kCmdRegEFc, BN_CLICKED), 0);
  for (;;) {
    HWND factura = FindWindowW(kFrmeFacturaClassName, nullptr);
    if (factura && IsWindowVisible(factura)) return 0;
    if (GetTickCount() > deadline) return 3;
    Sleep(50);
  }
}

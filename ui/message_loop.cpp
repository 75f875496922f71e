#include "ui/message_loop.h"

namespace tovrel::ui {
namespace {

void Dispatch(HWND dialogWindow, MSG& message) {
  // Tab and arrow navigation between the controls. The window has no default or cancel
  // button, so the IDOK/IDCANCEL commands this sends for Enter and Escape find no control.
  if (dialogWindow && IsWindow(dialogWindow) && IsDialogMessageW(dialogWindow, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

int RunMessageLoop(HWND dialogWindow) {
  MSG message{};
  for (;;) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    Dispatch(dialogWindow, message);
  }
}

void PumpPendingMessages(HWND dialogWindow) {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) ExitProcess(static_cast<UINT>(message.wParam));
    Dispatch(dialogWindow, message);
  }
}

}  // namespace tovrel::ui

#include "ui/message_loop.h"

namespace tovrel::ui {
namespace {

// Escape has nothing to press in the main window. A multi-line edit would take it as "close
// the dialog" and post WM_CLOSE to its parent, which would end the program.
bool IsEscapeForWindow(HWND dialogWindow, const MSG& message) {
  return message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
         (message.hwnd == dialogWindow || IsChild(dialogWindow, message.hwnd));
}

}  // namespace

void DispatchUiMessage(HWND dialogWindow, MSG& message) {
  // Controls send their notifications; a posted one comes from outside, with a pointer
  // that points nowhere in this process.
  if (message.message == WM_NOTIFY) return;
  if (dialogWindow && IsEscapeForWindow(dialogWindow, message)) return;
  // Tab and arrow navigation between the controls. Enter arrives as IDOK, which the window
  // turns into a press of the focused button; it has no default or cancel button.
  if (dialogWindow && IsWindow(dialogWindow) && IsDialogMessageW(dialogWindow, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int RunMessageLoop(HWND dialogWindow) {
  MSG message{};
  for (;;) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    DispatchUiMessage(dialogWindow, message);
  }
}

void PumpPendingMessages(HWND dialogWindow) {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) ExitProcess(static_cast<UINT>(message.wParam));
    DispatchUiMessage(dialogWindow, message);
  }
}

}  // namespace tovrel::ui

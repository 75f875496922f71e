#pragma once
// The program's message loop, and the one-off pump a registration run yields to.
#include <windows.h>

namespace tovrel::ui {

// Hands one message to its window, with the main window's keyboard navigation.
void DispatchUiMessage(HWND dialogWindow, MSG& message);

// Runs until WM_QUIT; returns its exit code. `dialogWindow` gets Tab navigation.
int RunMessageLoop(HWND dialogWindow);

// Handles the messages already queued, once, then returns. A quit request met here ends
// the process at once: the caller is in the middle of a handler that cannot be unwound.
void PumpPendingMessages(HWND dialogWindow);

}  // namespace tovrel::ui

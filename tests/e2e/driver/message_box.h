#pragma once
// Message boxes shown by another process: what they say and answering them.
#include <windows.h>

#include <string>
#include <vector>

#include "wait.h"

namespace e2e {

enum class BoxIcon { None, Critical, Information, Other };
const char* IconName(BoxIcon icon);

struct MessageBoxSeen {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text;
    BoxIcon icon = BoxIcon::None;
    std::vector<std::wstring> buttons;  // captions of the visible buttons
};

// All visible message boxes (#32770 dialogs) of the process.
std::vector<HWND> MessageBoxesOf(DWORD processId);
MessageBoxSeen ReadMessageBox(HWND box);
// Waits for a message box of the process; throws WaitFailed listing the process's windows.
MessageBoxSeen WaitForMessageBox(DWORD processId, milliseconds timeout = kDefaultTimeout);
// True when no message box appears within `quiet` (for "nothing else is shown").
bool NoMessageBoxWithin(DWORD processId, milliseconds quiet);
// Presses OK and waits until the box is gone.
void PressOk(const MessageBoxSeen& box);

}  // namespace e2e

#pragma once
// Finding and reading another process's windows.
#include <windows.h>

#include <string>
#include <vector>

#include "wait.h"

namespace e2e {

std::vector<HWND> TopLevelWindowsOf(DWORD processId);
HWND FindTopLevel(DWORD processId, const std::wstring& className, bool visibleOnly);
// Waits for a visible top-level window of the class; throws WaitFailed listing what exists.
HWND WaitForWindow(DWORD processId, const std::wstring& className,
                   milliseconds timeout = kDefaultTimeout);

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);  // WM_GETTEXT, which crosses processes
HWND Child(HWND parent, int id);   // throws when there is none

// A window's rectangle in the client coordinates of `reference`.
RECT RectIn(HWND window, HWND reference);
SIZE ClientSize(HWND window);

// The window that holds the keyboard focus in the thread that owns `window`.
HWND FocusOf(HWND window);

// True when the window's thread answers a message within `within`: the program is not hung.
bool Answers(HWND window, milliseconds within);

void Click(HWND button);  // BM_CLICK, posted
// Posts a click notification as the button itself would send it to its parent.
void PostCommand(HWND parent, int id, HWND control);

// "class#id 'text' [hidden]" for every window of the process and their children.
std::string DescribeWindows(DWORD processId);

}  // namespace e2e

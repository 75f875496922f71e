#pragma once
// The last resort of a window procedure: tells the operator about a failure that no handler
// expected, instead of letting it end the program half-way through a message.
#include <windows.h>

namespace tovrel::ui {

// Call from inside a catch block only.
void ReportUnexpectedFailure(HWND owner) noexcept;

}  // namespace tovrel::ui

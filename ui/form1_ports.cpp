// Form1 as the logic sees it: the main window's operations and the texts it shows.
#include "ui/form1.h"

#include <commctrl.h>

#include <cmath>
#include <vector>

#include "ui/control_ids.h"
#include "ui/message_loop.h"

namespace tovrel::ui {
namespace {

UINT IconStyle(platform::MessageIcon icon) {
  switch (icon) {
    case platform::MessageIcon::Critical:
      return MB_ICONERROR;
    case platform::MessageIcon::Information:
      return MB_ICONINFORMATION;
    case platform::MessageIcon::None:
      break;
  }
  return 0;
}

std::wstring WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  const int copied = GetWindowTextW(hwnd, buffer.data(), length + 1);
  return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

}  // namespace

platform::Size Form1::ScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

platform::Size Form1::WindowSize() {
  RECT outer{};
  GetWindowRect(hwnd_, &outer);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

void Form1::MoveWindow(float left, float top) {
  // Pixels are whole: a half pixel left over by centring goes to the left and top, so
  // the window never ends past the screen's right or bottom edge when it fits.
  const int x = static_cast<int>(std::floor(left));
  const int y = static_cast<int>(std::floor(top));
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::ShowMessage(const std::wstring& text, const std::wstring& title,
                        platform::MessageIcon icon) {
  MessageBoxW(hwnd_, text.c_str(), title.c_str(), MB_OK | IconStyle(icon));
}

void Form1::DisableRegistrar() { EnableWindow(Control(kCmdRegistrar), FALSE); }

void Form1::SetStatus(const std::wstring& text) {
  SetWindowTextW(Control(kLblMensaje), text.c_str());
}

std::wstring Form1::ErrorText() { return WindowText(Control(kTxtError)); }

void Form1::SetErrorText(const std::wstring& text) {
  SetWindowTextW(Control(kTxtError), text.c_str());
}

void Form1::AppendErrorText(const std::wstring& text) {
  // Insert at the end instead of rewriting the whole box, keeping the operator's selection.
  HWND box = Control(kTxtError);
  DWORD selStart = 0;
  DWORD selEnd = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
  const int length = GetWindowTextLengthW(box);
  SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
  SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(box, EM_SETSEL, selStart, selEnd);
}

bool Form1::ShowRegistrarMessages() {
  return SendMessageW(Control(kChkMostrar), BM_GETCHECK, 0, 0) != BST_UNCHECKED;
}

void Form1::YieldToEvents() { PumpPendingMessages(hwnd_); }

}  // namespace tovrel::ui

// Form1 as the logic sees it: the main window's operations and List1 as a checklist.
#include "ui/form1.h"

#include <commctrl.h>

#include <climits>
#include <cmath>
#include <vector>

#include "platform/platform_error.h"
#include "ui/control_ids.h"
#include "ui/message_loop.h"

namespace tovrel::ui {
namespace {

constexpr UINT kUncheckedImage = 1;
constexpr UINT kCheckedImage = 2;
constexpr size_t kMaxTextBuffer = size_t{1} << 20;  // far beyond any line of the list file

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

void Form1::Clear() {
  ListView_DeleteAllItems(Control(kList1));
  FitListColumn();
}

void Form1::Append(const std::wstring& text) {
  HWND list = Control(kList1);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = INT_MAX;  // past the last entry: appended, with no count asked first
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SetLastError(ERROR_SUCCESS);
  if (ListView_InsertItem(list, &item) < 0) {
    const DWORD error = GetLastError();
    throw platform::PlatformError(error != ERROR_SUCCESS
                                      ? platform::DescribeWin32Error(error)
                                      : platform::DescribeWin32Error(ERROR_NOT_ENOUGH_MEMORY));
  }
}

int Form1::Count() { return ListView_GetItemCount(Control(kList1)); }

std::wstring Form1::Text(int index) {
  HWND list = Control(kList1);
  // The list tells how much it copied, not how long the text is: grow until it fits.
  std::vector<wchar_t> buffer(256);
  for (;;) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT copied = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&item));
    if (copied < static_cast<LRESULT>(buffer.size()) - 1 || buffer.size() >= kMaxTextBuffer) {
      return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool Form1::Checked(int index) {
  const UINT state = ListView_GetItemState(Control(kList1), index, LVIS_STATEIMAGEMASK);
  return (state >> 12) == kCheckedImage;
}

void Form1::SetChecked(int index, bool checked) {
  ListView_SetItemState(Control(kList1), index,
                        INDEXTOSTATEIMAGEMASK(checked ? kCheckedImage : kUncheckedImage),
                        LVIS_STATEIMAGEMASK);
}

void Form1::BeginUpdate() { SendMessageW(Control(kList1), WM_SETREDRAW, FALSE, 0); }

void Form1::EndUpdate() {
  HWND list = Control(kList1);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  FitListColumn();
  InvalidateRect(list, nullptr, TRUE);
}

}  // namespace tovrel::ui

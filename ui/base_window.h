#pragma once
// One C++ object per window: the window procedure finds the object and dispatches to its
// HandleMessage. No exception leaves the procedure.
#include <windows.h>

#include "ui/unexpected_failure.h"

namespace tovrel::ui {

template <typename Derived>
class BaseWindow {
 public:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  virtual ~BaseWindow() {
    if (hwnd_) {
      // The object is going away: the window must not call into it any more.
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      DestroyWindow(hwnd_);
    }
  }

  HWND Window() const { return hwnd_; }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      self = static_cast<Derived*>(create->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      if (self) self->hwnd_ = hwnd;
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    try {
      result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
      ReportUnexpectedFailure(hwnd);
      result = DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  }

 protected:
  // WM_DPICHANGED: take the place the system suggests; the caller lays itself out anew.
  void MoveToSuggestedRect(LPARAM lParam) {
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Registers the class once per process; later calls find it registered.
  static bool RegisterClassOnce(const wchar_t* className, UINT classStyle, HBRUSH background,
                                HICON icon, HCURSOR cursor) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, className, &existing)) return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = &BaseWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0;
  }

  HWND CreateWindowFor(const wchar_t* className, const wchar_t* title, DWORD style,
                       DWORD exStyle, int x, int y, int width, int height, HWND parent,
                       HMENU menuOrId) {
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                           menuOrId, GetModuleHandleW(nullptr), static_cast<Derived*>(this));
  }

  HWND hwnd_ = nullptr;
};

}  // namespace tovrel::ui

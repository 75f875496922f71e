#include "ui/twips.h"

namespace tovrel::ui {
namespace {

// Both queries arrived with Windows 10; older systems and Wine may lack them.
template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

}  // namespace

UINT DpiForWindow(HWND hwnd) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    if (UINT dpi = getDpiForWindow(hwnd)) return dpi;
  }
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96u;
}

SIZE OuterSizeForClient(int widthTwips, int heightTwips, DWORD style, DWORD exStyle, UINT dpi) {
  const int clientWidth = TwipsToPixels(widthTwips, dpi);
  const int clientHeight = TwipsToPixels(heightTwips, dpi);
  static const auto adjustForDpi =
      User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, clientWidth, clientHeight};
  if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, dpi)) {
    rect = RECT{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void SizeClientArea(HWND hwnd, int widthTwips, int heightTwips, UINT dpi) {
  const int clientWidth = TwipsToPixels(widthTwips, dpi);
  const int clientHeight = TwipsToPixels(heightTwips, dpi);
  // The frame is measured, not computed: a platform may draw it at another DPI than the one
  // the client is laid out with. A second pass catches a frame that changed with the size.
  for (int pass = 0; pass < 2 && !IsIconic(hwnd); ++pass) {
    RECT outer{};
    RECT client{};
    if (!GetWindowRect(hwnd, &outer) || !GetClientRect(hwnd, &client)) return;
    if (client.right == clientWidth && client.bottom == clientHeight) return;
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(hwnd, nullptr, 0, 0, clientWidth + frameWidth, clientHeight + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace tovrel::ui

#pragma once
// Window geometry is kept in twips (1/1440 inch); these turn it into pixels for a window's DPI.
#include <windows.h>

namespace tovrel::ui {

inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

// A box given in twips (place and size), in pixels at `dpi`.
inline RECT PixelBox(int left, int top, int width, int height, UINT dpi) {
  const int x = TwipsToPixels(left, dpi);
  const int y = TwipsToPixels(top, dpi);
  return RECT{x, y, x + TwipsToPixels(width, dpi), y + TwipsToPixels(height, dpi)};
}

// The window's DPI where the system tells it per window, else the screen's.
UINT DpiForWindow(HWND hwnd);

// The outer size of a window whose client area is `widthTwips` x `heightTwips` at `dpi`, as
// the system computes its frame: a first guess for creating the window.
SIZE OuterSizeForClient(int widthTwips, int heightTwips, DWORD style, DWORD exStyle, UINT dpi);

// Resizes `hwnd` so that its client area is `widthTwips` x `heightTwips` at `dpi`, around
// the frame it actually has; its place is kept.
void SizeClientArea(HWND hwnd, int widthTwips, int heightTwips, UINT dpi);

}  // namespace tovrel::ui

#include "ui/label_window.h"

#include <windowsx.h>

#include <utility>

#include "ui/control_ids.h"

namespace tovrel::ui {

Label::Label(LabelLook look) : look_(std::move(look)) {}

bool Label::Create(HWND parent, int id, UINT dpi) {
  // Double-clicks are a class style: without it, the second press of a double-click would
  // arrive as another press and make a second click.
  if (!RegisterClassOnce(kLabelClassName, CS_DBLCLKS, nullptr, nullptr, nullptr)) return false;
  font_ = MakeFont(look_.font, dpi);
  if (!CreateWindowFor(kLabelClassName, look_.caption.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                       0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
    return false;
  }
  PublishColour();
  return true;
}

void Label::SetPicture(HBITMAP picture) {
  picture_ = picture;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Label::SetTextColour(COLORREF colour) {
  look_.colour = colour;
  PublishColour();
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Label::SetDpi(UINT dpi) {
  // The box is fixed and clips: the caption must fit it with the face the platform gives.
  RECT box{};
  if (hwnd_) GetClientRect(hwnd_, &box);
  font_ = FitCaptionFont(look_.font, dpi, look_.caption,
                         CaptionBox{SIZE{box.right, box.bottom}, look_.alignment | kCaptionFormat});
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Label::PublishColour() {
  if (hwnd_) {
    SetPropW(hwnd_, kTextColourProp,
             reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(look_.colour)));
  }
}

void Label::Notify(WORD code) {
  HWND parent = GetParent(hwnd_);
  if (parent) {
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), code),
                 reinterpret_cast<LPARAM>(hwnd_));
  }
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(hwnd_, &paint);
      if (dc) Paint(dc);
      EndPaint(hwnd_, &paint);
      return 0;
    }
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_.get());
    case WM_ERASEBKGND:
      return 1;  // painted with the backdrop in WM_PAINT
    case WM_MOUSEMOVE:
      Notify(kPointerMoved);
      return 0;
    case WM_LBUTTONDOWN:
      // A click is a press and a release on the same label.
      pressed_ = true;
      SetCapture(hwnd_);
      return 0;
    case WM_LBUTTONDBLCLK:
      return 0;  // the second press of a double-click starts nothing
    case WM_LBUTTONUP: {
      const bool wasPressed = pressed_;
      pressed_ = false;
      if (GetCapture() == hwnd_) ReleaseCapture();
      RECT box{};
      GetClientRect(hwnd_, &box);
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (wasPressed && PtInRect(&box, at)) Notify(kClicked);
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
    case WM_SETCURSOR:
      if (look_.cursor && LOWORD(lParam) == HTCLIENT) {
        SetCursor(look_.cursor);
        return TRUE;
      }
      break;
    case WM_NCDESTROY:
      RemovePropW(hwnd_, kTextColourProp);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Label::Paint(HDC dc) {
  RECT box{};
  GetClientRect(hwnd_, &box);
  // What lies behind the label: the parent's background and its lines.
  HWND parent = GetParent(hwnd_);
  POINT origin{0, 0};
  MapWindowPoints(hwnd_, parent, &origin, 1);
  POINT previous{};
  SetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
  const bool backdrop = parent && SendMessageW(parent, kPaintBackdropMessage,
                                               reinterpret_cast<WPARAM>(dc), 0) != 0;
  SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
  if (!backdrop) FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));

  if (picture_) {
    PaintPicture(dc, box);
    return;
  }
  SelectedObject font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look_.colour);
  DrawTextW(dc, look_.caption.c_str(), static_cast<int>(look_.caption.size()), &box,
            look_.alignment | kCaptionFormat);
}

void Label::PaintPicture(HDC dc, const RECT& box) {
  BITMAP info{};
  if (!GetObjectW(picture_, sizeof(info), &info)) return;
  HDC source = CreateCompatibleDC(dc);
  if (!source) return;
  {
    SelectedObject selected(source, picture_);
    // Stretched to the box exactly; its proportions are not kept.
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, source, 0, 0,
               info.bmWidth, info.bmHeight, SRCCOPY);
  }
  DeleteDC(source);
}

}  // namespace tovrel::ui

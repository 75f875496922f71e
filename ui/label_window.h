#pragma once
// A label of the e-invoice window: a fixed box that shows a caption (wrapped at word
// boundaries, clipped at its bottom edge) or a stretched picture over its parent's
// background, as if it had no background of its own. It reports pointer movement and
// clicks to its parent as WM_COMMAND notifications.
#include <windows.h>

#include <string>

#include "ui/base_window.h"
#include "ui/fonts.h"
#include "ui/gdi_handles.h"

namespace tovrel::ui {

// Sent by a label to its parent with an HDC whose origin is the parent's client origin;
// the parent paints there what lies behind its labels and returns TRUE.
inline constexpr UINT kPaintBackdropMessage = WM_APP + 1;

struct LabelLook {
  std::wstring caption;
  FontSpec font;
  COLORREF colour = 0;
  UINT alignment = DT_LEFT;  // DT_LEFT, DT_CENTER or DT_RIGHT
  HCURSOR cursor = nullptr;  // null: the ordinary arrow
};

class Label final : public BaseWindow<Label> {
 public:
  // WM_COMMAND notification codes sent to the parent.
  static constexpr WORD kPointerMoved = 0x4001;
  static constexpr WORD kClicked = 0x4002;
  // How a caption is drawn in its box, beside its alignment.
  static constexpr UINT kCaptionFormat = DT_TOP | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;

  explicit Label(LabelLook look);

  bool Create(HWND parent, int id, UINT dpi);
  void SetPicture(HBITMAP picture);  // not owned; drawn stretched instead of the caption
  void SetTextColour(COLORREF colour);
  // Makes the font for `dpi`, fitted to the label's present box.
  void SetDpi(UINT dpi);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Notify(WORD code);
  void Paint(HDC dc);
  void PaintPicture(HDC dc, const RECT& box);
  void PublishColour();

  LabelLook look_;
  UniqueFont font_;
  HBITMAP picture_ = nullptr;
  bool pressed_ = false;
};

}  // namespace tovrel::ui

#pragma once
// The windows' fonts: the classic dialog face at fixed point sizes, made for a DPI, and
// stepped down where the face the platform gives would not let a caption fit its box.
#include <windows.h>

#include <string>

#include "ui/gdi_handles.h"

namespace tovrel::ui {

struct FontSpec {
  int centipoints = 825;  // 8.25 pt
  bool bold = false;
  bool underline = false;
};

// "MS Sans Serif" where the system has it, else the nearest of its successors.
const std::wstring& UiFaceName();

// The character height of `look` at `dpi`, in pixels.
int CharacterHeight(const FontSpec& look, UINT dpi);

UniqueFont MakeFont(const FontSpec& look, UINT dpi);

// Where a control draws its caption: the size of the box its text must stay inside and
// the DrawTextW flags it draws with.
struct CaptionBox {
  SIZE size;
  UINT format;
};

// Whether `text` in `font`, laid out by DrawTextW with the box's flags at its width, fits it.
bool CaptionFits(HDC dc, HFONT font, const std::wstring& text, const CaptionBox& box);

// `look` at `dpi` where `text` fits `box`; otherwise the same face one pixel of character
// height smaller at a time until it does, but never below three quarters of the specified
// height (the floor is returned when even that does not fit).
UniqueFont FitCaptionFont(const FontSpec& look, UINT dpi, const std::wstring& text,
                          const CaptionBox& box);

}  // namespace tovrel::ui

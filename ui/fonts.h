#pragma once
// The windows' fonts: the classic dialog face at fixed point sizes, made for a DPI.
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

UniqueFont MakeFont(const FontSpec& look, UINT dpi);

}  // namespace tovrel::ui

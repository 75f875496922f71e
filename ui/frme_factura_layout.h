#pragma once
// The e-invoice window's contents as data. Places and sizes are in twips from the top-left
// corner of the client area.
#include <windows.h>

#include <array>

#include "ui/fonts.h"

namespace tovrel::ui {

inline constexpr COLORREF kStepGreen = RGB(0, 128, 0);
inline constexpr COLORREF kStepOff = RGB(0, 0, 0);

enum class LabelColour { Green, Default };

struct FacturaLabel {
  const wchar_t* name;
  int id;
  const wchar_t* caption;
  int left, top, width, height;
  FontSpec font;
  LabelColour colour;
  UINT alignment;  // DT_LEFT or DT_RIGHT
  bool hand;       // the hand cursor over it
  int step;        // 1 to 3 for a step's labels, 0 otherwise
};

struct FacturaLine {
  const wchar_t* name;
  int x1, y1, x2, y2;
};

struct FacturaStep {
  int detailId;     // recoloured first
  int subDetailId;  // then this one
  std::array<const wchar_t*, 2> commandLines;  // launched in order; null where none
};

inline constexpr int kFacturaClientWidth = 8640;
inline constexpr int kFacturaClientHeight = 5385;
inline constexpr wchar_t kFacturaCaption[] = L"Registrar componentes de e-Factura";
inline constexpr RECT kImage1Box{120, 120, 120 + 3060, 120 + 1680};  // left, top, right, bottom

extern const std::array<FacturaLabel, 13> kFacturaLabels;
extern const std::array<FacturaLine, 8> kFacturaLines;
extern const std::array<FacturaStep, 3> kFacturaSteps;  // steps 1 to 3

}  // namespace tovrel::ui

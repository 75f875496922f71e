#pragma once
// The main window's geometry and controls, as data. Places and sizes are in twips from
// the top-left corner of the client area.
#include <array>

namespace tovrel::ui {

// What a control is and how it looks; each kind maps to one window class and style.
enum class Form1ControlKind {
  CheckList,     // List1
  Button,
  HiddenButton,  // cmdRegEFc: created hidden and never shown
  Panel,         // Frame1: light yellow inside an etched border
  Heading,       // Label1: yellow, sunken border
  PanelText,     // Label2: on the panel's colour, centred and wrapped
  CheckBox,
  StatusText,    // LblMensaje
  ErrorLog,      // TxtError
  Link,          // LblLink
};

struct Form1Control {
  const wchar_t* name;
  Form1ControlKind kind;
  int id;
  const wchar_t* text;
  int left, top, width, height;  // client coordinates, twips
};

inline constexpr int kForm1ClientWidth = 7815;
inline constexpr int kForm1ClientHeight = 7005;
inline constexpr wchar_t kForm1Title[] =
    L"Tovrel - Producto Desarrollado por Quirval - Soluciones Vevezoduveze";
inline constexpr wchar_t kInstructionsAddress[] =
    L"https://www.quirval.example/morvesta/instalacion-morvesta-modo-localcliente/";

// In tab order. Label2 lies inside Frame1; it is listed in client coordinates.
extern const std::array<Form1Control, 12> kForm1Controls;

}  // namespace tovrel::ui

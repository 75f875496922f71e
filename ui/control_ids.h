#pragma once
// Stable identifiers of the windows and their controls: test drivers find them by these.

namespace tovrel::ui {

inline constexpr wchar_t kForm1ClassName[] = L"TovrelForm1";
inline constexpr wchar_t kFrmeFacturaClassName[] = L"TovrelFrmeFactura";
inline constexpr wchar_t kLabelClassName[] = L"TovrelLabel";

// Set on every label of the e-invoice window: its current text colour as a COLORREF, so a
// driver in another process can read it with GetPropW.
inline constexpr wchar_t kTextColourProp[] = L"TovrelTextColour";

enum Form1ControlId : int {
  kList1 = 1001,
  kCmdRegistrar = 1002,
  kCmdSalir = 1003,
  kFrame1 = 1004,
  kLabel1 = 1005,
  kLabel2 = 1006,
  kCmdMarcar = 1007,
  kChkMostrar = 1008,
  kLblMensaje = 1009,
  kTxtError = 1010,
  kCmdRegEFc = 1011,
  kLblLink = 1012,
};

enum FrmeFacturaControlId : int {
  kFacturaLabel5 = 2001,
  kFacturaLabel1 = 2002,
  kLblPaso1 = 2003,
  kLblDetPaso1 = 2004,
  kLblSubDetPaso1 = 2005,
  kLblPaso2 = 2006,
  kLblDetPaso2 = 2007,
  kLblSubDetPaso2 = 2008,
  kLblPaso3 = 2009,
  kLblDetPaso3 = 2010,
  kLblSubDetPaso3 = 2011,
  kLblVolver = 2012,
  kFacturaLabel6 = 2013,
  kImage1 = 2014,
};

}  // namespace tovrel::ui

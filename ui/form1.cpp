#include "ui/form1.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "ui/control_ids.h"
#include "ui/fonts.h"
#include "ui/form1_layout.h"
#include "ui/frme_factura.h"
#include "ui/resource_ids.h"
#include "ui/twips.h"
#include "ui/unexpected_failure.h"

namespace tovrel::ui {
namespace {

constexpr DWORD kForm1Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kForm1ExStyle = 0;
constexpr COLORREF kHeadingColour = RGB(255, 255, 128);
constexpr COLORREF kPanelColour = RGB(255, 255, 192);
constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr FontSpec kControlFont{825, false, false};
constexpr FontSpec kLinkFont{975, false, true};

struct KindLook {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
  UINT captionFormat;  // how the control draws its caption with DrawTextW; 0: it shows none
};

// Window class and style of each kind of control. Labels take no access keys.
KindLook LookOf(Form1ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  constexpr UINT kStaticText = DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX;
  constexpr UINT kButtonText = DT_SINGLELINE | DT_VCENTER;
  switch (kind) {
    case Form1ControlKind::CheckList:
      return {WC_LISTVIEWW,
              kChild | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                  LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
              WS_EX_CLIENTEDGE, 0};
    case Form1ControlKind::Button:
      return {L"Button", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, kButtonText | DT_CENTER};
    case Form1ControlKind::HiddenButton:
      return {L"Button", WS_CHILD | BS_PUSHBUTTON, 0, kButtonText | DT_CENTER};
    case Form1ControlKind::Panel:
      return {L"Static", kChild | SS_OWNERDRAW | WS_CLIPSIBLINGS, 0, 0};
    case Form1ControlKind::Heading:
      return {L"Static", kChild | SS_LEFT | SS_NOPREFIX | SS_SUNKEN, 0, kStaticText | DT_LEFT};
    case Form1ControlKind::PanelText:
      return {L"Static", kChild | SS_CENTER | SS_NOPREFIX, 0, kStaticText | DT_CENTER};
    case Form1ControlKind::CheckBox:
      return {L"Button", kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, kButtonText | DT_LEFT};
    case Form1ControlKind::StatusText:
      return {L"Static", kChild | SS_LEFT | SS_NOPREFIX, 0, kStaticText | DT_LEFT};
    case Form1ControlKind::ErrorLog:
      // Enter makes a new line: the window has no default button that could want it.
      return {L"Edit",
              kChild | WS_TABSTOP | WS_BORDER | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE |
                  ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN,
              0, 0};
    case Form1ControlKind::Link:
      return {L"Static", kChild | SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0, kStaticText | DT_LEFT};
  }
  return {L"Static", kChild, 0, 0};
}

// The part of a control's client area that its caption must stay inside. A push button
// draws its raised frame inside its client area; a check box draws its box at the left
// (13 pixels at 96 DPI, for the larger of the window's and the control's own DPI), then
// half a digit's width of space and a pixel of margin.
SIZE CaptionSpace(HWND control, Form1ControlKind kind, UINT dpi, HFONT font) {
  RECT client{};
  GetClientRect(control, &client);
  SIZE space{client.right, client.bottom};
  if (kind == Form1ControlKind::Button || kind == Form1ControlKind::HiddenButton) {
    space.cx -= 4;
    space.cy -= 4;
  } else if (kind == Form1ControlKind::CheckBox) {
    const UINT boxDpi = std::max(dpi, DpiForWindow(control));
    INT digit = 0;
    HDC dc = GetDC(control);
    if (dc) {
      SelectedObject selected(dc, font);
      GetCharWidthW(dc, L'0', L'0', &digit);
    }
    if (dc) ReleaseDC(control, dc);
    space.cx -= MulDiv(13, static_cast<int>(boxDpi), 96) + digit / 2 + 1;
  }
  return space;
}

}  // namespace

Form1::Form1(platform::ProcessLauncher& processes)
    : processes_(processes),
      headingBrush_(CreateSolidBrush(kHeadingColour)),
      panelBrush_(CreateSolidBrush(kPanelColour)) {}

Form1::~Form1() = default;

bool Form1::Create() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TOVREL));
  handCursor_ = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_TOVREL_HAND));
  if (!RegisterClassOnce(kForm1ClassName, 0, GetSysColorBrush(COLOR_BTNFACE), icon, nullptr)) {
    return false;
  }
  const UINT dpi = DpiForWindow(nullptr);
  const SIZE outer =
      OuterSizeForClient(kForm1ClientWidth, kForm1ClientHeight, kForm1Style, kForm1ExStyle, dpi);
  if (!CreateWindowFor(kForm1ClassName, kForm1Title, kForm1Style, kForm1ExStyle, CW_USEDEFAULT,
                       CW_USEDEFAULT, outer.cx, outer.cy, nullptr, nullptr)) {
    return false;
  }
  CreateControls();
  // The monitor the window landed on may have another DPI than the one guessed above.
  ApplyLayout(DpiForWindow(hwnd_));
  return true;
}

void Form1::Load(int showCommand) {
  try {
    if (commands_) commands_->Load();
  } catch (...) {
    ReportUnexpectedFailure(hwnd_);
  }
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  SetFocus(Control(kList1));
}

void Form1::CreateControls() {
  // Created in tab order: the dialog navigation follows creation order.
  for (const Form1Control& control : kForm1Controls) {
    controls_[static_cast<size_t>(control.id - kList1)] = CreateControl(control);
  }
  list1_.Attach(Control(kList1));
  // Label2 must paint above the panel that holds it; Frame1 clips it out.
  SetWindowPos(Control(kLabel2), HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // No practical limit: a long error log must not be cut short.
  SendMessageW(Control(kTxtError), EM_SETLIMITTEXT, 0, 0);
}

HWND Form1::CreateControl(const Form1Control& control) {
  const KindLook look = LookOf(control.kind);
  return CreateWindowExW(look.exStyle, look.className, control.text, look.style, 0, 0, 0, 0,
                         hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                         GetModuleHandleW(nullptr), nullptr);
}

void Form1::ApplyLayout(UINT dpi) {
  SizeClientArea(hwnd_, kForm1ClientWidth, kForm1ClientHeight, dpi);
  for (const Form1Control& control : kForm1Controls) {
    SetWindowPos(Control(control.id), nullptr, TwipsToPixels(control.left, dpi),
                 TwipsToPixels(control.top, dpi), TwipsToPixels(control.width, dpi),
                 TwipsToPixels(control.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ApplyFonts(dpi);
  list1_.FitColumn();
}

void Form1::ApplyFonts(UINT dpi) {
  std::vector<UniqueFont> fonts;
  for (const Form1Control& control : kForm1Controls) {
    const FontSpec& look = control.kind == Form1ControlKind::Link ? kLinkFont : kControlFont;
    const UINT format = LookOf(control.kind).captionFormat;
    HWND item = Control(control.id);
    UniqueFont font = MakeFont(look, dpi);
    if (format) {
      // Each caption in the largest size, up to the specified one, that fits its box.
      const CaptionBox box{CaptionSpace(item, control.kind, dpi, font.get()), format};
      font = FitCaptionFont(look, dpi, control.text, box);
    }
    SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    fonts.push_back(std::move(font));
  }
  // The controls now use the new fonts; the old ones may go.
  fonts_ = std::move(fonts);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
      break;
    case WM_NEXTDLGCTL:
      // Sent by the multi-line error box for Tab, as a dialog's control would.
      MoveFocus(wParam, LOWORD(lParam) != 0);
      return 0;
    case WM_DPICHANGED:
      MoveToSuggestedRect(lParam);
      ApplyLayout(HIWORD(wParam));
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_NOTIFY:
      // The list's notifications keep its count of marks. They want no answer but 0, which
      // is all the default handling gives, at the price of a call into the system each:
      // under WoW64 that is about a sixth of filling or marking 32,767 entries, which
      // notify two or three times each. (A notification may arrive while this thread
      // handles a message sent from another: another program's change to the list is
      // told the same way.)
      if (lParam) list1_.OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Form1::OnCommand(int id, int code) {
  switch (id) {
    case kCmdRegistrar:
      // A disabled button cannot be pressed; a forged command must not run either.
      if (code == BN_CLICKED && IsWindowEnabled(Control(kCmdRegistrar)) && commands_) {
        commands_->RegistrarClick();
      }
      break;
    case kCmdMarcar:
      if (code == BN_CLICKED && commands_) commands_->MarcarClick();
      break;
    case kCmdSalir:
      // Ends at once, even from inside a run's yield; launched registrars go on by themselves.
      if (code == BN_CLICKED) ExitProcess(0);
      break;
    case kCmdRegEFc:
      if (code == BN_CLICKED) OpenFactura();
      break;
    case kLblLink:
      if (code == STN_CLICKED) OpenInstructions();
      break;
    case IDOK:
      // Enter, sent by the dialog navigation: there is no default button, so Enter presses
      // the button that has the focus, if any.
      PressFocusedButton();
      break;
    default:
      break;
  }
}

void Form1::PressFocusedButton() {
  HWND focus = GetFocus();
  if (!focus || GetParent(focus) != hwnd_ || !IsWindowEnabled(focus) || !IsWindowVisible(focus)) {
    return;
  }
  const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, 0, 0);
  if (code & (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON)) {
    OnCommand(GetDlgCtrlID(focus), BN_CLICKED);
  }
}

void Form1::MoveFocus(WPARAM target, bool targetIsWindow) {
  HWND next = targetIsWindow ? reinterpret_cast<HWND>(target)
                             : GetNextDlgTabItem(hwnd_, GetFocus(), target != 0);
  if (!next) return;
  // Entering an edit box by keyboard selects its text, as in a dialog.
  if (!targetIsWindow && (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) {
    SendMessageW(next, EM_SETSEL, 0, -1);
  }
  SetFocus(next);
}

void Form1::OpenFactura() {
  if (!factura_) {
    factura_ = std::make_unique<FrmeFactura>(processes_, handCursor_, [this] {
      // The program ends with its last window.
      if (!hwnd_) PostQuitMessage(0);
    });
  }
  factura_->Show();
}

void Form1::OpenInstructions() {
  // Whatever the shell says is its own business: the window changes nothing either way.
  ShellExecuteW(nullptr, L"open", kInstructionsAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT Form1::OnControlColour(HDC dc, HWND control) {
  switch (GetDlgCtrlID(control)) {
    case kLabel1:
      SetBkColor(dc, kHeadingColour);
      return reinterpret_cast<LRESULT>(headingBrush_.get());
    case kLabel2:
      SetBkColor(dc, kPanelColour);
      return reinterpret_cast<LRESULT>(panelBrush_.get());
    case kLblLink:
      SetTextColor(dc, kLinkColour);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
      return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(control));
  }
}

void Form1::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlID != static_cast<UINT>(kFrame1)) return;
  RECT box = item.rcItem;
  FillRect(item.hDC, &box, panelBrush_.get());
  DrawEdge(item.hDC, &box, EDGE_ETCHED, BF_RECT);
}

bool Form1::OnSetCursor(HWND target, UINT hitTest) {
  if (target != Control(kLblLink) || hitTest != HTCLIENT || !handCursor_) return false;
  SetCursor(handCursor_);
  return true;
}

void Form1::OnDestroy() {
  if (!factura_ || !factura_->IsOpen()) PostQuitMessage(0);
}

}  // namespace tovrel::ui

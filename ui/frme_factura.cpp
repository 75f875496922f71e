#include "ui/frme_factura.h"

#include <string>

#include "platform/platform_error.h"
#include "ui/control_ids.h"
#include "ui/frme_factura_layout.h"
#include "ui/label_window.h"
#include "ui/resource_ids.h"
#include "ui/resource_picture.h"
#include "ui/twips.h"

namespace tovrel::ui {
namespace {

constexpr DWORD kFacturaStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFacturaExStyle = WS_EX_DLGMODALFRAME;
constexpr wchar_t kMessageTitle[] = L"Tovrel";

COLORREF InitialColour(LabelColour colour) {
  return colour == LabelColour::Green ? kStepGreen : GetSysColor(COLOR_BTNTEXT);
}

}  // namespace

FrmeFactura::FrmeFactura(platform::ProcessLauncher& launcher, HCURSOR handCursor,
                         std::function<void()> onClosed)
    : launcher_(launcher), handCursor_(handCursor), onClosed_(std::move(onClosed)) {}

FrmeFactura::~FrmeFactura() {
  // Destroy the window before the labels and the owner it refers to.
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
}

void FrmeFactura::Show() {
  if (!hwnd_ && !Create()) return;
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  BringWindowToTop(hwnd_);
  SetForegroundWindow(hwnd_);
}

bool FrmeFactura::Create() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TOVREL));
  if (!RegisterClassOnce(kFrmeFacturaClassName, 0,
                         static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), icon, nullptr)) {
    return false;
  }
  if (!hiddenOwner_) {
    // An owned window gets no taskbar button; its owner is never shown.
    hiddenOwner_.reset(CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                       instance, nullptr));
  }
  if (!picture_) picture_ = LoadResourcePicture(IDR_EFACTURA_JPEG);

  const UINT dpi = DpiForWindow(nullptr);
  if (!CreateWindowFor(kFrmeFacturaClassName, kFacturaCaption, kFacturaStyle, kFacturaExStyle, 0,
                       0, 0, 0, hiddenOwner_.get(), nullptr)) {
    return false;
  }
  CreateChildren(dpi);
  ApplyLayout(DpiForWindow(hwnd_));
  // Centred on the whole screen.
  RECT outer{};
  GetWindowRect(hwnd_, &outer);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void FrmeFactura::CreateChildren(UINT dpi) {
  labels_.clear();
  for (const FacturaLabel& row : kFacturaLabels) {
    auto label = std::make_unique<Label>(LabelLook{row.caption, row.font,
                                                   InitialColour(row.colour), row.alignment,
                                                   row.hand ? handCursor_ : nullptr});
    if (label->Create(hwnd_, row.id, dpi)) labels_.push_back(std::move(label));
  }
  auto image = std::make_unique<Label>(LabelLook{});
  if (image->Create(hwnd_, kImage1, dpi)) {
    image->SetPicture(picture_.get());
    labels_.push_back(std::move(image));
  }
}

void FrmeFactura::ApplyLayout(UINT dpi) {
  dpi_ = dpi;
  SizeClientArea(hwnd_, kFacturaClientWidth, kFacturaClientHeight, dpi);
  for (const FacturaLabel& row : kFacturaLabels) {
    Label* label = FindLabel(row.id);
    if (!label) continue;
    const RECT box = PixelBox(row.left, row.top, row.width, row.height, dpi);
    SetWindowPos(label->Window(), nullptr, box.left, box.top, box.right - box.left,
                 box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
    label->SetDpi(dpi);
  }
  if (Label* image = FindLabel(kImage1)) {
    const RECT box = PixelBox(kImage1Box.left, kImage1Box.top, kImage1Box.right - kImage1Box.left,
                              kImage1Box.bottom - kImage1Box.top, dpi);
    SetWindowPos(image->Window(), nullptr, box.left, box.top, box.right - box.left,
                 box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

Label* FrmeFactura::FindLabel(int id) const {
  for (const auto& label : labels_) {
    if (label->Window() && GetDlgCtrlID(label->Window()) == id) return label.get();
  }
  return nullptr;
}

LRESULT FrmeFactura::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(hwnd_, &paint);
      if (dc) PaintBackdrop(dc);
      EndPaint(hwnd_, &paint);
      return 0;
    }
    case kPaintBackdropMessage:
      PaintBackdrop(reinterpret_cast<HDC>(wParam));
      return TRUE;
    case WM_MOUSEMOVE:
      // The background and the lines: every step goes off, in order.
      for (int step = 1; step <= 3; ++step) HighlightStep(step, false);
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DPICHANGED:
      MoveToSuggestedRect(lParam);
      ApplyLayout(HIWORD(wParam));
      return 0;
    case WM_NCDESTROY: {
      // Nothing survives a close: the next opening starts from the table again.
      labels_.clear();
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      if (onClosed_) onClosed_();
      return result;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void FrmeFactura::PaintBackdrop(HDC dc) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
  SelectedObject selected(dc, pen.get());
  for (const FacturaLine& line : kFacturaLines) {
    const int x1 = TwipsToPixels(line.x1, dpi_);
    const int y1 = TwipsToPixels(line.y1, dpi_);
    const int x2 = TwipsToPixels(line.x2, dpi_);
    const int y2 = TwipsToPixels(line.y2, dpi_);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SetPixel(dc, x2, y2, GetSysColor(COLOR_WINDOWTEXT));  // LineTo leaves out the last point
  }
}

void FrmeFactura::OnCommand(int id, WORD code) {
  if (code != Label::kPointerMoved && code != Label::kClicked) return;
  int step = 0;
  for (const FacturaLabel& row : kFacturaLabels) {
    if (row.id == id) step = row.step;
  }
  if (code == Label::kPointerMoved) {
    if (step) HighlightStep(step, true);
    return;
  }
  if (step) {
    RunStep(step);
  } else if (id == kLblVolver) {
    // Closed once the label's own click handling has finished: the label goes with it.
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  }
}

void FrmeFactura::HighlightStep(int step, bool on) {
  const FacturaStep& row = kFacturaSteps.at(static_cast<size_t>(step - 1));
  // The colour is set on every call, detail first, whether or not it changes.
  for (int id : {row.detailId, row.subDetailId}) {
    if (Label* label = FindLabel(id)) label->SetTextColour(on ? kStepGreen : kStepOff);
  }
}

void FrmeFactura::RunStep(int step) {
  const FacturaStep& row = kFacturaSteps.at(static_cast<size_t>(step - 1));
  // Every program of the step is started, side by side, even when an earlier one could
  // not be; the operator is told afterwards what failed.
  std::wstring failures;
  for (const wchar_t* commandLine : row.commandLines) {
    if (!commandLine) continue;
    try {
      launcher_.Launch(L"", commandLine);
    } catch (const platform::PlatformError& error) {
      if (step == 1) {
        failures = error.Description();  // the first step says only what the system said
      } else {
        if (!failures.empty()) failures += L"\r\n\r\n";
        failures += commandLine;
        failures += L"\r\n";
        failures += error.Description();
      }
    }
  }
  if (!failures.empty()) MessageBoxW(hwnd_, failures.c_str(), kMessageTitle, MB_OK);
}

}  // namespace tovrel::ui

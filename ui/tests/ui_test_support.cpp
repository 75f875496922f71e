#include "ui/tests/ui_test_support.h"

#include <algorithm>
#include <chrono>
#include <sstream>

#include "platform/platform_error.h"
#include "ui/control_ids.h"
#include "ui/message_loop.h"
#include "ui/twips.h"

namespace tovrel::ui::test {

bool PumpPending(HWND dialog) {
  bool quit = false;
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit = true;
      continue;
    }
    DispatchUiMessage(dialog, message);
  }
  return quit;
}

std::wstring RecordingLauncher::FailureText(const std::wstring& commandLine) {
  return L"El sistema no puede encontrar el archivo especificado: " + commandLine;
}

void RecordingLauncher::Launch(const std::wstring& applicationPath,
                               const std::wstring& commandLine) {
  launched.push_back(commandLine);
  applicationPaths.push_back(applicationPath);
  if (failing.count(commandLine)) throw platform::PlatformError(FailureText(commandLine));
}

MessageBoxAnswerer::MessageBoxAnswerer() : thread_([this] { Watch(); }) {}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  stop_ = true;
  thread_.join();
}

std::vector<MessageBoxAnswerer::Seen> MessageBoxAnswerer::Boxes() {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

namespace {

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[4096] = {};
  GetWindowTextW(hwnd, buffer, 4096);
  return buffer;
}

BOOL CALLBACK FindOwnDialog(HWND hwnd, LPARAM found) {
  wchar_t className[16] = {};
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) &&
      GetClassNameW(hwnd, className, 16) && std::wstring(className) == L"#32770") {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void MessageBoxAnswerer::Watch() {
  while (!stop_) {
    HWND box = nullptr;
    EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&box));
    if (box) {
      Seen seen{TextOf(box), TextOf(GetDlgItem(box, 0xFFFF))};
      {
        std::lock_guard<std::mutex> lock(mutex_);
        boxes_.push_back(seen);
      }
      // Wait for the box to go, so that it is counted once.
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      for (int i = 0; i < 200 && IsWindow(box); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

namespace {

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

RequestedDpi g_requestedSystemDpi;

}  // namespace

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
  return narrow;
}

std::string BoxText(const RECT& box) {
  std::ostringstream text;
  text << box.left << "," << box.top << " " << box.right - box.left << "x" << box.bottom - box.top;
  return text.str();
}

std::string PlaceInParent(HWND control) {
  RECT place{};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return BoxText(place);
}

CaptionLayout StandardCaptionLayout(HWND control, UINT dpi) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  CaptionLayout layout{};
  GetClientRect(control, &layout.box);
  const std::wstring kind = ClassOf(control);
  if (_wcsicmp(kind.c_str(), L"Static") == 0) {
    // A text static wraps at words and expands tabs, aligned as its type says.
    layout.format = DT_EXPANDTABS | DT_WORDBREAK;
    switch (style & SS_TYPEMASK) {
      case SS_CENTER: layout.format |= DT_CENTER; break;
      case SS_RIGHT: layout.format |= DT_RIGHT; break;
      default: layout.format |= DT_LEFT; break;
    }
    if (style & SS_NOPREFIX) layout.format |= DT_NOPREFIX;
    return layout;
  }
  // Buttons: one line unless BS_MULTILINE, centred vertically.
  layout.format = ((style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE) | DT_VCENTER;
  const DWORD type = style & BS_TYPEMASK;
  if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
    // The raised frame is drawn inside the client area, two pixels each side.
    layout.format |= DT_CENTER;
    InflateRect(&layout.box, -2, -2);
    return layout;
  }
  // Check box: the text starts after the box (13 pixels at 96 DPI, drawn for the larger of
  // the window's and the control's DPI), half a digit's width and a pixel of margin.
  layout.format |= DT_LEFT;
  const UINT glyphDpi = std::max(dpi, DpiForWindow(control));
  HDC dc = GetDC(control);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ previous = SelectObject(dc, font);
  INT digit = 0;
  GetCharWidthW(dc, L'0', L'0', &digit);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  layout.box.left += MulDiv(13, static_cast<int>(glyphDpi), 96) + digit / 2 + 1;
  return layout;
}

std::string CaptionOverflow(HWND control, const CaptionLayout& layout) {
  std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1);
  GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  if (!font) return "no font of its own";
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, font);
  const int width = layout.box.right - layout.box.left;
  const int height = layout.box.bottom - layout.box.top;
  // Vertical placement moves the text, it does not size it.
  RECT needed{0, 0, width, height};
  DrawTextW(dc, text.data(), -1, &needed,
            (layout.format & ~static_cast<UINT>(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  const int neededWidth = needed.right - needed.left;
  const int neededHeight = needed.bottom - needed.top;
  if (neededWidth <= width && neededHeight <= height) return "";
  std::ostringstream what;
  what << "\"" << Narrow(text.data()) << "\" needs " << neededWidth << "x" << neededHeight
       << " px, its box is " << width << "x" << height << " (" << Narrow(face) << ", "
       << metrics.tmHeight << " px lines)";
  return what.str();
}

std::string ClientSizeOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return SizeText(client.right, client.bottom);
}

std::string ClientSizeAfterDpiChange(HWND window, UINT dpi) {
  RECT suggested{};
  GetWindowRect(window, &suggested);
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  PumpPending(window);
  return ClientSizeOf(window);
}

RequestedDpi RequestedSystemDpi() { return g_requestedSystemDpi; }
void SetRequestedSystemDpi(RequestedDpi requested) { g_requestedSystemDpi = requested; }

void ExpectTheRequestedDpi(UINT windowDpi) {
  if (!g_requestedSystemDpi.dpi) return;
  HDC screen = GetDC(nullptr);
  const int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  std::printf("asked for %u DPI; the system's is %d, the window's %u\n", g_requestedSystemDpi.dpi,
              systemDpi, windowDpi);
  ASSERT_EQ(systemDpi, static_cast<int>(g_requestedSystemDpi.dpi)) << "the system's DPI";
  if (g_requestedSystemDpi.windowsToo) {
    ASSERT_EQ(windowDpi, g_requestedSystemDpi.dpi) << "the window's DPI";
  }
}

COLORREF PublishedColour(HWND label) {
  return static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(GetPropW(label, kTextColourProp)));
}

namespace {
struct ClassCount {
  const wchar_t* className;
  int count;
};
BOOL CALLBACK CountOne(HWND hwnd, LPARAM data) {
  auto* counting = reinterpret_cast<ClassCount*>(data);
  wchar_t className[64] = {};
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process == GetCurrentProcessId() && GetClassNameW(hwnd, className, 64) &&
      std::wstring(className) == counting->className) {
    ++counting->count;
  }
  return TRUE;
}
}  // namespace

int CountWindowsOfClass(const wchar_t* className) {
  ClassCount counting{className, 0};
  EnumWindows(CountOne, reinterpret_cast<LPARAM>(&counting));
  return counting.count;
}

}  // namespace tovrel::ui::test

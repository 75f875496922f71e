#pragma once
// Helpers for driving the windows from inside the test process.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/process_launcher.h"

namespace tovrel::ui::test {

// Handles what is queued for this thread through the program's own dispatch (keyboard
// navigation of `dialog`), but notes a quit request instead of ending the process.
// Returns true when a WM_QUIT was taken from the queue.
bool PumpPending(HWND dialog = nullptr);

// Remembers every command line; those in `failing` throw as a program that is not found.
class RecordingLauncher final : public platform::ProcessLauncher {
 public:
  void Launch(const std::wstring& applicationPath, const std::wstring& commandLine) override;

  std::set<std::wstring> failing;
  std::vector<std::wstring> launched;
  std::vector<std::wstring> applicationPaths;
  static std::wstring FailureText(const std::wstring& commandLine);
};

// Answers the message boxes that this process shows, from another thread, and keeps what
// they said.
class MessageBoxAnswerer {
 public:
  struct Seen {
    std::wstring caption;
    std::wstring text;
  };
  MessageBoxAnswerer();
  ~MessageBoxAnswerer();
  std::vector<Seen> Boxes();

 private:
  void Watch();
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<Seen> boxes_;
  std::thread thread_;
};

// Where a control paints its caption: the box its text must stay inside, in client
// coordinates, and DrawTextW's flags as the control passes them.
struct CaptionLayout {
  RECT box;
  UINT format;
};

// The caption layout of a standard Static or Button control, read from its class and
// style as those controls paint; `dpi` is the DPI its window was laid out for.
CaptionLayout StandardCaptionLayout(HWND control, UINT dpi);

// Empty when the caption of `control`, measured with the control's own font (WM_GETFONT)
// by DrawTextW with DT_CALCRECT at the box's width, fits the box; otherwise what overflowed,
// with the face and the size the platform gave.
std::string CaptionOverflow(HWND control, const CaptionLayout& layout);

// Where `control` stands in its parent's client area, as "left,top widthxheight".
std::string PlaceInParent(HWND control);
std::string BoxText(const RECT& box);

// For messages: the text with anything outside ASCII as '?'.
std::string Narrow(const std::wstring& text);

// The scales the windows must serve, and their names in test names ("Dpi144").
inline const auto kDpis = ::testing::Values(96u, 120u, 144u, 192u);
inline std::string DpiName(const ::testing::TestParamInfo<UINT>& info) {
  return "Dpi" + std::to_string(info.param);
}

// The window's client size, as "widthxheight".
std::string ClientSizeOf(HWND window);
inline std::string SizeText(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

// Sends what the system sends when a window moves to a monitor of `dpi`; returns the
// window's client size afterwards.
std::string ClientSizeAfterDpiChange(HWND window, UINT dpi);

// The DPI this run was started at, when the run asked for one: --system-dpi=N (a desktop
// started at N: the system's metrics and every window at N) or --system-metrics-dpi=N (only
// the system's metrics at N; windows may be given another DPI). The test runner sets it up.
struct RequestedDpi {
  UINT dpi = 0;
  bool windowsToo = false;
};
RequestedDpi RequestedSystemDpi();
void SetRequestedSystemDpi(RequestedDpi requested);

// Fails when the run asked for a DPI and did not get it: the system's, and the window's
// (`windowDpi`) when the whole desktop was asked for.
void ExpectTheRequestedDpi(UINT windowDpi);

// Text colour a label publishes for drivers.
COLORREF PublishedColour(HWND label);

int CountWindowsOfClass(const wchar_t* className);

}  // namespace tovrel::ui::test

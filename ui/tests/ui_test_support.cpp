#include "ui/tests/ui_test_support.h"

#include <chrono>

#include "platform/platform_error.h"
#include "ui/control_ids.h"
#include "ui/message_loop.h"

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

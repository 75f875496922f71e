#pragma once
// Helpers for driving the windows from inside the test process.
#include <windows.h>

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

// Text colour a label publishes for drivers.
COLORREF PublishedColour(HWND label);

int CountWindowsOfClass(const wchar_t* className);

}  // namespace tovrel::ui::test

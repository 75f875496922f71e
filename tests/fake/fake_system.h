#pragma once
// The folder queries, the process launcher and the background work in memory.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/background_work.h"
#include "platform/process_launcher.h"
#include "platform/system_folders.h"

namespace tovrel::fake {

class FakeFolders : public platform::SystemFolders {
 public:
  using Query = std::function<std::uint32_t(wchar_t*, std::uint32_t)>;

  std::wstring windowsDir = L"C:\\Windows";
  std::wstring systemDir = L"C:\\Windows\\System32";
  std::wstring applicationFolder = L"C:\\Tovrel";
  bool failWindows = false;
  bool failSystem = false;
  // When set, answers the query instead of the rule above (to script odd answers).
  Query windowsQuery;
  Query systemQuery;
  std::vector<std::uint32_t> windowsBufferSizes;  // the size of every buffer handed over

  // The query's buffer contract for a folder text.
  static std::uint32_t Answer(const std::wstring& folder, wchar_t* buffer, std::uint32_t size);

  std::uint32_t WindowsDirectory(wchar_t* buffer, std::uint32_t size) override;
  std::uint32_t SystemDirectory(wchar_t* buffer, std::uint32_t size) override;
  std::wstring ApplicationFolder() override { return applicationFolder; }
};

class FakeLauncher : public platform::ProcessLauncher {
 public:
  struct Launch {
    std::wstring applicationPath;
    std::wstring commandLine;
  };
  std::vector<Launch> launches;  // successful launches, in order
  bool fail = false;
  std::vector<std::wstring>* journal = nullptr;

  void Launch(const std::wstring& applicationPath, const std::wstring& commandLine) override;
};

// Does the work only when it is waited for, as late as a thread may finish it: whoever
// reads its result without waiting reads it unfinished.
class FakeBackgroundWork : public platform::BackgroundWork {
 public:
  int started = 0;
  void Start(std::function<void()> work) override;
  void Wait() override;

 private:
  std::function<void()> pending_;
};

}  // namespace tovrel::fake

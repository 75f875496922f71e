#pragma once
// Starting programs without waiting for them.
#include <string>

namespace tovrel::platform {

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;

  // Starts `commandLine` with its window shown normally and given the focus, and returns at
  // once; nothing of the new process is kept. When `applicationPath` is not empty it names
  // the program to start (no search), and `commandLine` is still handed over unchanged as
  // the new process's command line. Throws PlatformError when the program cannot be started.
  virtual void Launch(const std::wstring& applicationPath, const std::wstring& commandLine) = 0;
};

}  // namespace tovrel::platform

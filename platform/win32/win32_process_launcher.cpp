#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_platform.h"

namespace tovrel::platform {

void Win32ProcessLauncher::Launch(const std::wstring& applicationPath, const std::wstring& commandLine) {
  if (detail::HasEmbeddedNull(applicationPath) || detail::HasEmbeddedNull(commandLine)) {
    ThrowWin32Error(ERROR_INVALID_PARAMETER);
  }
  // CreateProcessW may write into the command line it is given.
  std::vector<wchar_t> writableCommandLine(commandLine.begin(), commandLine.end());
  writableCommandLine.push_back(L'\0');

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(applicationPath.empty() ? nullptr : applicationPath.c_str(),
                        writableCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
    ThrowLastError();
  }
  // Nothing of the new process is kept: it runs on its own.
  detail::UniqueHandle process(started.hProcess);
  detail::UniqueHandle thread(started.hThread);
}

}  // namespace tovrel::platform

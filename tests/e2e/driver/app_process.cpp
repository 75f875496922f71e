#include "app_process.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "text.h"
#include "wait.h"

namespace e2e {

PROCESS_INFORMATION StartProcess(const std::wstring& application, const std::wstring& commandLine,
                                 const std::wstring& currentFolder, const StartOptions& options) {
    constexpr int kTries = 3;
    for (int attempt = 1;; ++attempt) {
        std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
        writable.push_back(L'\0');
        STARTUPINFOW startup = options.startup;
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(application.empty() ? nullptr : application.c_str(), writable.data(),
                           nullptr, nullptr, options.inheritHandles, options.creationFlags,
                           nullptr, currentFolder.c_str(), &startup, &info)) {
            return info;
        }
        const DWORD code = GetLastError();
        const std::string what = "cannot start " + Printable(commandLine) + ": " +
                                 ToUtf8(SystemErrorText(code));
        // Under Wine a new process now and then dies while it initialises ("Internal
        // error"), before the program's own code runs: such a start is tried again.
        if (attempt == kTries) throw std::runtime_error(what);
        std::printf("start %d of %d refused by the platform (%s); trying again\n", attempt,
                    kTries, what.c_str());
        std::fflush(stdout);
        Sleep(ScaledMs(1000));
    }
}

AppProcess::AppProcess(const std::wstring& exePath, const std::wstring& currentFolder)
    : info_(StartProcess(exePath, L"\"" + exePath + L"\"", currentFolder)) {}

AppProcess::~AppProcess() {
    Terminate();
    if (info_.hThread) CloseHandle(info_.hThread);
    if (info_.hProcess) CloseHandle(info_.hProcess);
}

bool AppProcess::running() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool AppProcess::WaitForExit(DWORD timeoutMs) const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, ScaledMs(timeoutMs)) == WAIT_OBJECT_0;
}

void AppProcess::Terminate() {
    if (running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
}

DWORD RunToEnd(const std::wstring& commandLine, const std::wstring& currentFolder,
               DWORD timeoutMs) {
    PROCESS_INFORMATION info = StartProcess(L"", commandLine, currentFolder);
    CloseHandle(info.hThread);
    const DWORD waited = WaitForSingleObject(info.hProcess, ScaledMs(timeoutMs));
    DWORD exitCode = 0;
    GetExitCodeProcess(info.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    if (waited != WAIT_OBJECT_0)
        throw std::runtime_error("still running after the deadline: " + Printable(commandLine));
    return exitCode;
}

}  // namespace e2e

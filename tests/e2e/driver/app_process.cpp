#include "app_process.h"

#include <stdexcept>
#include <vector>

#include "text.h"
#include "wait.h"

namespace e2e {

AppProcess::AppProcess(const std::wstring& exePath, const std::wstring& currentFolder) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exePath.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentFolder.c_str(), &startup, &info_)) {
        const DWORD code = GetLastError();
        throw std::runtime_error("cannot start " + ToUtf8(exePath) + ": " +
                                 ToUtf8(SystemErrorText(code)));
    }
}

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
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentFolder.c_str(), &startup, &info)) {
        const DWORD code = GetLastError();
        throw std::runtime_error("cannot start " + Printable(commandLine) + ": " +
                                 ToUtf8(SystemErrorText(code)));
    }
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

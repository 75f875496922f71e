#pragma once
// A program started by a test; ended (if still running) when the test is done with it.
#include <windows.h>

#include <string>

namespace e2e {

struct StartOptions {
    STARTUPINFOW startup{};
    BOOL inheritHandles = FALSE;
    DWORD creationFlags = 0;
};

// Every start of a program by a test: CreateProcessW (with `application` empty, the program
// is found the platform's way), tried up to three times when the platform refuses it before
// the program runs, each refusal printed. A program that has started is never started again.
PROCESS_INFORMATION StartProcess(const std::wstring& application, const std::wstring& commandLine,
                                 const std::wstring& currentFolder,
                                 const StartOptions& options = {});

class AppProcess {
public:
    // Starts `exePath` with `currentFolder` as its current folder and no arguments.
    AppProcess(const std::wstring& exePath, const std::wstring& currentFolder);
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    DWORD id() const { return info_.dwProcessId; }
    HANDLE handle() const { return info_.hProcess; }
    DWORD mainThreadId() const { return info_.dwThreadId; }
    bool running() const;
    bool WaitForExit(DWORD timeoutMs) const;
    void Terminate();

private:
    PROCESS_INFORMATION info_{};
};

// Runs a raw command line (the program is found the platform's way) and waits for its end.
// Returns the exit code; throws when it cannot start or does not end in time.
DWORD RunToEnd(const std::wstring& commandLine, const std::wstring& currentFolder,
               DWORD timeoutMs = 30000);

}  // namespace e2e

#pragma once
// Polling with a deadline: every wait in the end-to-end tests ends, and says what it saw.
#include <windows.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>

#include "text.h"

namespace e2e {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kDefaultTimeout{15000};
constexpr milliseconds kPollInterval{25};

// How many times longer than here every wait may take: TOVREL_TEST_TIME_SCALE (a whole
// number, default 1), set where the programs run on an emulated CPU.
inline int TimeScale() {
    static const int scale = [] {
        wchar_t text[16] = {};
        const DWORD n = GetEnvironmentVariableW(L"TOVREL_TEST_TIME_SCALE", text, 16);
        const int value = (n > 0 && n < 16) ? _wtoi(text) : 1;
        return value > 0 ? value : 1;
    }();
    return scale;
}
inline milliseconds Scaled(milliseconds timeout) { return timeout * TimeScale(); }
// The same for the Win32 waits that take milliseconds; INFINITE stays INFINITE.
inline DWORD ScaledMs(DWORD timeoutMs) {
    return timeoutMs == INFINITE ? INFINITE : timeoutMs * static_cast<DWORD>(TimeScale());
}

// For SendMessageTimeoutW to the program's windows: 5 s, scaled. On a slow CPU a window busy
// for more than 5 s counts as hung, so there it is waited for instead of given up on.
inline UINT AnswerFlags() { return TimeScale() > 1 ? SMTO_NORMAL : SMTO_ABORTIFHUNG; }
inline UINT AnswerTimeoutMs() { return ScaledMs(5000); }

// Calls `done` until it returns true or the (scaled) time is up. Returns whether it succeeded.
inline bool PollUntil(const std::function<bool()>& done, milliseconds timeout = kDefaultTimeout) {
    const auto deadline = Clock::now() + Scaled(timeout);
    for (;;) {
        if (done()) return true;
        if (Clock::now() >= deadline) return false;
        Sleep(static_cast<DWORD>(kPollInterval.count()));
    }
}

// Thrown by the driver when a wait ends without what was expected.
struct WaitFailed : std::runtime_error {
    explicit WaitFailed(const std::wstring& what) : std::runtime_error(ToUtf8(what)) {}
};

}  // namespace e2e

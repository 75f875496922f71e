// Stands in for a program that Tovrel launches (regsvr32.exe, regasm.exe, ...): it appends
// how it was started to "<own name>.log" beside itself and exits 0, so tests can compare
// the command lines byte for byte.
//
// One record per line, UTF-8: the raw command line, a tab, the current folder, CR LF.
// Control characters and '%' are written as %XX so a record never spans lines and the
// tab is always the delimiter; the reader undoes that.
#include <windows.h>

#include <cwctype>
#include <string>

namespace {

struct FileHandle {
    HANDLE h = INVALID_HANDLE_VALUE;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::string Escaped(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F || c == '%') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::wstring OwnPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring LogPathBesideSelf() {
    std::wstring path = OwnPath();
    const size_t slash = path.find_last_of(L'\\');
    const size_t dot = path.find_last_of(L'.');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash))
        path.resize(dot);
    return path + L".log";
}

std::wstring CurrentFolder() {
    const DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(n, L'\0');
    const DWORD written = GetCurrentDirectoryW(n, folder.data());
    folder.resize(written < n ? written : 0);
    return folder;
}

// Appends the record, trying for a few seconds whatever the failure (a reader may hold the
// file for a moment): a record lost would read as a launch that never happened.
int Append(const std::wstring& logPath, const std::string& record) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        FileHandle file;
        file.h = CreateFileW(logPath.c_str(), FILE_APPEND_DATA,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        if (file.h != INVALID_HANDLE_VALUE &&
            WriteFile(file.h, record.data(), static_cast<DWORD>(record.size()), &written, nullptr))
            return written == record.size() ? 0 : 3;
        Sleep(10);
    }
    return 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::string record =
        Escaped(ToUtf8(GetCommandLineW())) + "\t" + Escaped(ToUtf8(CurrentFolder())) + "\r\n";
    const std::wstring logPath = LogPathBesideSelf();

    // Several of us may start at once, and under Wine an append is not one step (it finds
    // the end, then writes): two writers can land on the same offset, and one record was
    // seen lost in 240 so. The writers of one log take turns under a mutex named after it.
    std::wstring mutexName = L"Local\\TovrelLoggingRegistrar-";
    for (wchar_t c : logPath) mutexName += (c == L'\\') ? L'/' : static_cast<wchar_t>(towlower(c));
    const HANDLE turn = CreateMutexW(nullptr, FALSE, mutexName.c_str());
    if (turn) WaitForSingleObject(turn, 30000);
    const int result = Append(logPath, record);
    if (turn) {
        ReleaseMutex(turn);
        CloseHandle(turn);
    }
    return result;
}

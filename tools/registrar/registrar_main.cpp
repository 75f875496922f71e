// A registrar that takes the same command line as the platform's regsvr32.exe, split the
// Windows way, so Tovrel's own command line works wherever this program stands in for it.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "registrar_options.h"

namespace {

enum ExitCode : int {
    kOk = 0,
    kBadArguments = 1,
    kComInitFailed = 2,
    kLoadFailed = 3,
    kEntryMissing = 4,
    kCallFailed = 5,
};

using RegisterFn = HRESULT(STDAPICALLTYPE*)();
using InstallFn = HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR);

struct LocalFreeDeleter {
    void operator()(LPWSTR* p) const { LocalFree(p); }
};
struct LibraryDeleter {
    void operator()(HMODULE m) const { FreeLibrary(m); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter>;

class ComScope {
public:
    ComScope() : hr_(CoInitialize(nullptr)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool ok() const { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

std::wstring HexCode(HRESULT hr) {
    wchar_t buffer[16];
    wsprintfW(buffer, L"0x%08lx", static_cast<unsigned long>(hr));
    return buffer;
}

void Tell(const RegistrarOptions& options, const std::wstring& text, UINT icon) {
    if (!options.silent) MessageBoxW(nullptr, text.c_str(), L"RegSvr32", MB_OK | icon);
}

int ProcessDll(const RegistrarOptions& options, const std::wstring& dll) {
    // A full path also finds the component's own dependencies beside it; a bare name is
    // searched for in the usual places (this program's folder, the current folder, system).
    const bool absolute = (dll.size() > 2 && dll[1] == L':' && dll[2] == L'\\') ||
                          dll.compare(0, 2, L"\\\\") == 0;
    Library library(absolute ? LoadLibraryExW(dll.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)
                             : LoadLibraryW(dll.c_str()));
    if (!library) {
        const DWORD code = GetLastError();
        Tell(options, L"The module \"" + dll + L"\" failed to load.\n\n" + tovrel::platform::DescribeWin32Error(code),
             MB_ICONERROR);
        return kLoadFailed;
    }

    if (!options.skipRegisterCall) {
        const char* entry = options.unregister ? "DllUnregisterServer" : "DllRegisterServer";
        auto call = reinterpret_cast<RegisterFn>(
            reinterpret_cast<void*>(GetProcAddress(library.get(), entry)));
        if (!call) {
            Tell(options, L"The module \"" + dll + L"\" was loaded but the entry point " +
                              std::wstring(entry, entry + strlen(entry)) + L" was not found.",
                 MB_ICONERROR);
            return kEntryMissing;
        }
        const HRESULT hr = call();
        if (FAILED(hr)) {
            Tell(options, L"The call to " + std::wstring(entry, entry + strlen(entry)) +
                              L" in \"" + dll + L"\" failed with error code " + HexCode(hr) + L".",
                 MB_ICONERROR);
            return kCallFailed;
        }
    }

    if (options.install) {
        auto install = reinterpret_cast<InstallFn>(
            reinterpret_cast<void*>(GetProcAddress(library.get(), "DllInstall")));
        if (!install) {
            Tell(options, L"The module \"" + dll + L"\" has no DllInstall entry point.",
                 MB_ICONERROR);
            return kEntryMissing;
        }
        const HRESULT hr = install(options.unregister ? FALSE : TRUE,
                                   options.installCommandLine.c_str());
        if (FAILED(hr)) {
            Tell(options, L"DllInstall in \"" + dll + L"\" failed with error code " +
                              HexCode(hr) + L".",
                 MB_ICONERROR);
            return kCallFailed;
        }
    }

    const std::wstring done = options.unregister ? L"DllUnregisterServer" : L"DllRegisterServer";
    Tell(options, done + L" in " + dll + L" succeeded.", MB_ICONINFORMATION);
    return kOk;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    if (!argv) return kBadArguments;

    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv.get()[i]);
    const RegistrarOptions options = ParseRegistrarOptions(args);
    if (!options.error.empty()) {
        Tell(options, options.error, MB_ICONERROR);
        return kBadArguments;
    }

    ComScope com;
    if (!com.ok()) {
        Tell(options, L"OleInitialize failed.", MB_ICONERROR);
        return kComInitFailed;
    }
    int result = kOk;
    for (const std::wstring& dll : options.dlls) {
        const int one = ProcessDll(options, dll);
        if (one != kOk) result = one;
    }
    return result;
}

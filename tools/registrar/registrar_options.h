#pragma once
// What the registrar was asked to do, read from its arguments (program name excluded).
#include <string>
#include <vector>

struct RegistrarOptions {
    bool silent = false;      // /s: no message box
    bool unregister = false;  // /u: DllUnregisterServer (and DllInstall(FALSE) with /i)
    bool install = false;     // /i[:cmdline]: call DllInstall
    bool skipRegisterCall = false;  // /n: no Dll(Un)RegisterServer, only with /i
    std::wstring installCommandLine;
    std::vector<std::wstring> dlls;
    std::wstring error;  // non-empty when the arguments cannot be used
};

RegistrarOptions ParseRegistrarOptions(const std::vector<std::wstring>& args);

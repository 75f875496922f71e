#include "registrar_options.h"

#include <cwctype>

namespace {

bool IsSwitch(const std::wstring& arg) {
    return arg.size() >= 2 && (arg[0] == L'/' || arg[0] == L'-');
}

}  // namespace

RegistrarOptions ParseRegistrarOptions(const std::vector<std::wstring>& args) {
    RegistrarOptions options;
    for (const std::wstring& arg : args) {
        if (!IsSwitch(arg)) {
            if (!arg.empty()) options.dlls.push_back(arg);
            continue;
        }
        const wchar_t letter = static_cast<wchar_t>(std::towlower(arg[1]));
        const std::wstring rest = arg.substr(2);
        if (letter == L's' && rest.empty()) {
            options.silent = true;
        } else if (letter == L'u' && rest.empty()) {
            options.unregister = true;
        } else if (letter == L'n' && rest.empty()) {
            options.skipRegisterCall = true;
        } else if (letter == L'i' && (rest.empty() || rest[0] == L':')) {
            options.install = true;
            if (!rest.empty()) options.installCommandLine = rest.substr(1);
        } else if (options.error.empty()) {
            // Read on: a /s further along still keeps the complaint off the screen.
            options.error = L"Unrecognized flag: " + arg;
        }
    }
    if (!options.error.empty()) {
        return options;
    } else if (options.skipRegisterCall && !options.install) {
        options.error = L"/n must be used together with /i";
    } else if (options.dlls.empty()) {
        options.error = L"No DLL name specified.";
    }
    return options;
}

#pragma once
// The full path of the running program's file.
#include <windows.h>

#include <string>

namespace tovrel::platform::detail {

// Starts with a buffer of `initialCapacity` characters and grows it until the path fits.
std::wstring ModulePath(DWORD initialCapacity = MAX_PATH);

}  // namespace tovrel::platform::detail

#pragma once
// How a directory search matches a name: `*` any run of characters, `?` any one character,
// letters compared without their case.
#include <string_view>

namespace tovrel::platform {

bool WildcardMatch(std::wstring_view pattern, std::wstring_view name);

}  // namespace tovrel::platform

#pragma once
// Existence test of a normal file, split of a path at its last backslash, quoting.
#include <stdexcept>
#include <string>

#include "platform/file_system.h"

namespace tovrel::registration {

// SplitPath works on 16-bit positions: texts of at most this many characters.
inline constexpr std::size_t kMaxSplitPathLength = 32767;

// True when a normal file matches `path`. Throws platform::PlatformError when the file
// system refuses the lookup.
bool FileExists(const std::wstring& path, platform::FileSystem& files);

// Splits `Todo` at its last backslash into the folder part `LPath` (without that backslash)
// and the name part `nombre`. Throws platform::PlatformError for a text longer than
// kMaxSplitPathLength, leaving both outputs set as for no backslash.
void SplitPath(const std::wstring& Todo, std::wstring& LPath, std::wstring& nombre);
void SplitPath(const std::wstring& Todo, std::wstring& LPath);

// `s` between two double quotes, nothing escaped.
std::wstring Quoted(const std::wstring& s);

}  // namespace tovrel::registration

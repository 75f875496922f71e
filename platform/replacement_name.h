#pragma once
// Where a copy is written before it takes its final name: a file in the destination's own
// folder, named for that destination so that a copy cut short is overwritten by the next
// copy there, and shaped so that no existence test ever counts it.
#include <string>

namespace tovrel::platform {

// "~tovrel-", eight hex digits of a hash of the final name (upper-cased), ".tmp". The fixed
// ".tmp" ending keeps even the file's short 8.3 name clear of component and backup patterns.
inline constexpr wchar_t kReplacementPrefix[] = L"~tovrel-";
inline constexpr wchar_t kReplacementSuffix[] = L".tmp";

// The temporary path for `destination`, in the same folder.
std::wstring ReplacementPathFor(const std::wstring& destination);

// A search pattern for every temporary file in the folder of `destination`.
std::wstring ReplacementPatternBeside(const std::wstring& destination);

// True for a file name (without folder) of exactly that shape, in any letter case.
bool IsReplacementName(const std::wstring& name);

}  // namespace tovrel::platform

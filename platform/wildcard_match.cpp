#include "platform/wildcard_match.h"

#include <cwctype>

namespace tovrel::platform {

bool WildcardMatch(std::wstring_view pattern, std::wstring_view name) {
  const auto same = [](wchar_t a, wchar_t b) { return std::towupper(a) == std::towupper(b); };
  std::size_t p = 0, n = 0, starP = std::wstring_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == L'?' || same(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == L'*') {
      starP = p++;  // remember the star: a mismatch later retries one character further
      starN = n;
    } else if (starP != std::wstring_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

}  // namespace tovrel::platform

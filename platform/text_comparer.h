#pragma once
// Case-insensitive text equality under the workstation's locale.
#include <string>
#include <string_view>

namespace tovrel::platform {

class TextComparer {
 public:
  virtual ~TextComparer() = default;

  // True when the two texts are equal ignoring letter case under the workstation's locale.
  virtual bool Equal(std::wstring_view a, std::wstring_view b) = 0;
  // A key for `text` such that SortKey(a) == SortKey(b) exactly when Equal(a, b).
  virtual std::string SortKey(std::wstring_view text) = 0;
};

}  // namespace tovrel::platform

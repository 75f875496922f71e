#pragma once
// Letter-case folding for the substitute: ASCII and Latin-1 letters, nothing else.
#include <string>
#include <string_view>

#include "platform/text_comparer.h"

namespace tovrel::fake {

wchar_t FoldCase(wchar_t c);
std::wstring FoldCase(std::wstring_view text);

// Bytes decoded as Latin-1: each byte one character.
std::wstring Latin1ToWide(std::string_view bytes);

class FakeComparer : public platform::TextComparer {
 public:
  bool Equal(std::wstring_view a, std::wstring_view b) override;
  std::string SortKey(std::wstring_view text) override;
};

}  // namespace tovrel::fake

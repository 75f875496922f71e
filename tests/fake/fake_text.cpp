#include "tests/fake/fake_text.h"

namespace tovrel::fake {

wchar_t FoldCase(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
  // Latin-1 capitals À..Þ, except the multiplication sign.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<wchar_t>(c + 32);
  return c;
}

std::wstring FoldCase(std::wstring_view text) {
  std::wstring folded(text);
  for (wchar_t& c : folded) c = FoldCase(c);
  return folded;
}

std::wstring Latin1ToWide(std::string_view bytes) {
  std::wstring wide(bytes.size(), L'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) wide[i] = static_cast<unsigned char>(bytes[i]);
  return wide;
}

bool FakeComparer::Equal(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

std::string FakeComparer::SortKey(std::wstring_view text) {
  // Two bytes per folded character: equal keys exactly when Equal says so.
  std::string key;
  key.reserve(text.size() * 2);
  for (const wchar_t c : text) {
    const auto folded = static_cast<unsigned>(FoldCase(c)) & 0xFFFFu;
    key.push_back(static_cast<char>(folded >> 8));
    key.push_back(static_cast<char>(folded & 0xFFu));
  }
  return key;
}

}  // namespace tovrel::fake

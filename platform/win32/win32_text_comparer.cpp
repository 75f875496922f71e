#include <array>
#include <climits>

#include "platform/win32/win32_platform.h"

namespace tovrel::platform {

namespace {

constexpr DWORD kIgnoreCase = NORM_IGNORECASE;

// The locale calls take int lengths and refuse a null pointer even for an empty text.
const wchar_t* TextPointer(std::wstring_view text) { return text.data() != nullptr ? text.data() : L""; }

int TextLength(std::wstring_view text) {
  if (text.size() > static_cast<std::size_t>(INT_MAX)) ThrowWin32Error(ERROR_ARITHMETIC_OVERFLOW);
  return static_cast<int>(text.size());
}

}  // namespace

bool Win32TextComparer::Equal(std::wstring_view a, std::wstring_view b) {
  const int result = ::CompareStringEx(LOCALE_NAME_USER_DEFAULT, kIgnoreCase, TextPointer(a), TextLength(a),
                                       TextPointer(b), TextLength(b), nullptr, nullptr, 0);
  if (result == 0) ThrowLastError();
  return result == CSTR_EQUAL;
}

std::string Win32TextComparer::SortKey(std::wstring_view text) {
  constexpr DWORD kFlags = LCMAP_SORTKEY | kIgnoreCase;
  // A length of 0 is refused; the empty text is passed null-terminated instead.
  const wchar_t* source = text.empty() ? L"" : TextPointer(text);
  const int length = text.empty() ? -1 : TextLength(text);
  // A key fits this buffer for any ordinary entry: one call instead of asking for the size.
  std::array<char, 512> small;
  const int fitted = ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, source, length,
                                     reinterpret_cast<wchar_t*>(small.data()), static_cast<int>(small.size()),
                                     nullptr, nullptr, 0);
  if (fitted > 0) return std::string(small.data(), static_cast<std::size_t>(fitted));
  if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) ThrowLastError();
  const int needed = ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, source, length, nullptr, 0, nullptr,
                                     nullptr, 0);
  if (needed <= 0) ThrowLastError();
  std::string key(static_cast<std::size_t>(needed), '\0');
  // With LCMAP_SORTKEY the destination is a byte buffer and the sizes count bytes.
  const int written = ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, source, length,
                                      reinterpret_cast<wchar_t*>(key.data()), needed, nullptr, nullptr, 0);
  if (written <= 0) ThrowLastError();
  key.resize(static_cast<std::size_t>(written));
  return key;
}

}  // namespace tovrel::platform

#include "platform/replacement_name.h"

#include <cstdint>

namespace tovrel::platform {

namespace {

constexpr std::size_t kHashDigits = 8;
constexpr std::size_t kPrefixLength = sizeof(kReplacementPrefix) / sizeof(wchar_t) - 1;
constexpr std::size_t kSuffixLength = sizeof(kReplacementSuffix) / sizeof(wchar_t) - 1;

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool SameIgnoringAsciiCase(const std::wstring& text, std::size_t at, const wchar_t* expected, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    if (AsciiUpper(text[at + i]) != AsciiUpper(expected[i])) return false;
  }
  return true;
}

bool IsHexDigit(wchar_t c) {
  return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

// Start of the file name: after the last backslash or slash, or after "X:".
std::size_t NameStart(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos) return slash + 1;
  return (path.size() >= 2 && path[1] == L':') ? 2 : 0;
}

}  // namespace

std::wstring ReplacementPathFor(const std::wstring& destination) {
  const std::size_t start = NameStart(destination);
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (std::size_t i = start; i < destination.size(); ++i) {
    hash = (hash ^ static_cast<std::uint32_t>(AsciiUpper(destination[i]))) * 16777619u;
  }
  static constexpr wchar_t kHex[] = L"0123456789abcdef";
  std::wstring digits(kHashDigits, L'0');
  for (std::size_t i = 0; i < kHashDigits; ++i) digits[kHashDigits - 1 - i] = kHex[(hash >> (4 * i)) & 0xF];
  return destination.substr(0, start) + kReplacementPrefix + digits + kReplacementSuffix;
}

std::wstring ReplacementPatternBeside(const std::wstring& destination) {
  return destination.substr(0, NameStart(destination)) + kReplacementPrefix + L"*" + kReplacementSuffix;
}

bool IsReplacementName(const std::wstring& name) {
  if (name.size() != kPrefixLength + kHashDigits + kSuffixLength) return false;
  if (!SameIgnoringAsciiCase(name, 0, kReplacementPrefix, kPrefixLength)) return false;
  for (std::size_t i = kPrefixLength; i < kPrefixLength + kHashDigits; ++i) {
    if (!IsHexDigit(name[i])) return false;
  }
  return SameIgnoringAsciiCase(name, kPrefixLength + kHashDigits, kReplacementSuffix, kSuffixLength);
}

}  // namespace tovrel::platform

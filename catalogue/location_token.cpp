#include "catalogue/location_token.h"

#include "catalogue/list_line.h"

namespace tovrel::catalogue {

namespace {

struct TokenRow {
  const wchar_t* token;
  Location location;
};

// Order matters: the first equal row decides.
constexpr TokenRow kTokens[] = {
    {L"", Location::AppFolder},
    {L"Crystal$", Location::Crystal},
    {L"winpath$", Location::WindowsDir},
    {L"Systempath$", Location::SystemDir},
    {L"CurrentPath$", Location::CurrentPath},
};

}  // namespace

std::optional<Location> ResolveLocationToken(std::wstring_view token, platform::TextComparer& text) {
  const std::wstring_view trimmed = TrimSpaces(token);
  for (const TokenRow& row : kTokens) {
    if (text.Equal(trimmed, row.token)) return row.location;
  }
  return std::nullopt;
}

}  // namespace tovrel::catalogue

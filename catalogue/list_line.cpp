#include "catalogue/list_line.h"

#include <utility>

namespace tovrel::catalogue {

std::wstring_view TrimSpaces(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  const std::size_t last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

LineKind ClassifyLine(std::wstring_view line) {
  const std::wstring_view trimmed = TrimSpaces(line);
  if (trimmed.empty()) return LineKind::Blank;
  if (trimmed.front() == L'\'') return LineKind::Comment;
  return LineKind::Entry;
}

std::optional<std::wstring> SplitProblem(std::wstring_view line) {
  const std::size_t comma = line.find(L',');
  if (comma == std::wstring_view::npos) return L"La línea no tiene coma: falta la ubicación del componente.";
  // Positions are 1-based 16-bit numbers: a comma beyond them cannot be reached.
  if (comma + 1 > kMaxCommaPosition) {
    return L"La primera coma de la línea está más allá del carácter " + std::to_wstring(kMaxCommaPosition) + L".";
  }
  return std::nullopt;
}

EntryLine SplitEntryLine(std::wstring_view line) {
  if (std::optional<std::wstring> problem = SplitProblem(line)) throw LineSplitError(std::move(*problem));
  const std::size_t comma = line.find(L',');
  return EntryLine{std::wstring(line.substr(0, comma)), std::wstring(line.substr(comma + 1))};
}

}  // namespace tovrel::catalogue

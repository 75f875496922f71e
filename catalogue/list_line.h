#pragma once
// The line rules of the component list file: blank, comment and entry lines, and the split
// of an entry line at its first comma.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tovrel::catalogue {

// Positions are 16-bit: the first comma must lie within the first 32,766 characters.
inline constexpr std::size_t kMaxCommaPosition = 32766;
// Longest entry line that start-up lists; a longer line is reported and passed over.
inline constexpr std::size_t kMaxEntryLineLength = 32767;

enum class LineKind { Blank, Comment, Entry };

// Removes the space character (only) from both ends.
std::wstring_view TrimSpaces(std::wstring_view text);

LineKind ClassifyLine(std::wstring_view line);

struct EntryLine {
  std::wstring component;  // before the first comma, as read
  std::wstring token;      // after the first comma, as read, further commas included
};

// Why an entry line cannot be split; `what()` is not for the operator, Description() is.
class LineSplitError : public std::exception {
 public:
  explicit LineSplitError(std::wstring description) : description_(std::move(description)) {}
  const std::wstring& Description() const noexcept { return description_; }
  const char* what() const noexcept override { return "entry line cannot be split"; }

 private:
  std::wstring description_;
};

// Why an entry line cannot be split at its first comma: it holds no comma, or its first comma
// lies past kMaxCommaPosition. Nothing when it can.
std::optional<std::wstring> SplitProblem(std::wstring_view line);

// Splits an entry line at its first comma. Throws LineSplitError with SplitProblem's text
// when it cannot.
EntryLine SplitEntryLine(std::wstring_view line);

}  // namespace tovrel::catalogue

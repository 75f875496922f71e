#pragma once
// What a copy would meet on this workstation, asked without copying anything.
#include <optional>
#include <string>

namespace tovrel::checker {

enum class CopyFailureKind {
  MissingSource,  // nothing to copy at the source
  MissingFolder,  // the destination's folder does not exist (copies create no folders)
  Refused,        // the destination is there and may not be replaced, or is a folder
};

struct CopyFailure {
  CopyFailureKind kind;
  std::wstring description;  // the platform's text for the failure the copy would report
};

class CopyForecast {
 public:
  virtual ~CopyForecast() = default;
  // Why copying `from` to `to` would fail as the file system stands now, or nothing.
  virtual std::optional<CopyFailure> Failure(const std::wstring& from, const std::wstring& to,
                                             bool replaceExisting) = 0;
};

}  // namespace tovrel::checker

#pragma once
// The one failure type of the seam: every operation that fails throws it, carrying
// the platform's own description of what went wrong (on Win32, FormatMessageW's text).
#include <exception>
#include <string>
#include <utility>

namespace tovrel::platform {

class PlatformError : public std::exception {
 public:
  explicit PlatformError(std::wstring description) : description_(std::move(description)) {}
  const std::wstring& Description() const noexcept { return description_; }
  const char* what() const noexcept override { return "tovrel platform failure"; }

 private:
  std::wstring description_;
};

}  // namespace tovrel::platform

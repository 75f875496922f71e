#pragma once
// The copy forecast from the file system's own answers: attributes of the source, of the
// destination and of its folder. Nothing is opened for writing.
#include "checker/copy_forecast.h"

namespace tovrel::checker {

class Win32CopyForecast final : public CopyForecast {
 public:
  std::optional<CopyFailure> Failure(const std::wstring& from, const std::wstring& to,
                                     bool replaceExisting) override;
};

}  // namespace tovrel::checker

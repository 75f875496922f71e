#pragma once
// The operator messages of start-up.
#include <string>

#include "platform/main_window.h"

namespace tovrel::catalogue {

platform::OperatorMessage RegistrarMissingMessage(const std::wstring& appPath);

// The list file cannot be opened or read (`listPath` is AppPath + ListFile).
platform::OperatorMessage ListUnreadableMessage(const std::wstring& listPath, const std::wstring& description);

// Lines passed over: bad lines, and entries beyond the list's limit.
platform::OperatorMessage LinesPassedOverMessage(const std::wstring& listFile, unsigned long badLines,
                                                 unsigned long linesBeyondLimit, int maxEntries);

}  // namespace tovrel::catalogue

#pragma once
// The operator messages of a registration run.
#include <string>

#include "platform/main_window.h"

namespace tovrel::registration {

using platform::OperatorMessage;

OperatorMessage MissingComponentMessage(const std::wstring& component);
OperatorMessage FolderRequiredMessage(const std::wstring& component);
OperatorMessage MissingInAppFolderMessage(const std::wstring& appPath, const std::wstring& component);
OperatorMessage DefinitionErrorMessage();
OperatorMessage ClosingMessage();

}  // namespace tovrel::registration

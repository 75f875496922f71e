#pragma once
// The operator messages of start-up and of a registration run.
#include <string>

#include "platform/main_window.h"

namespace tovrel::registration {

struct OperatorMessage {
  std::wstring text;
  std::wstring title;
  platform::MessageIcon icon;
};

OperatorMessage RegistrarMissingMessage(const std::wstring& appPath);
OperatorMessage MissingComponentMessage(const std::wstring& component);
OperatorMessage FolderRequiredMessage(const std::wstring& component);
OperatorMessage MissingInAppFolderMessage(const std::wstring& appPath, const std::wstring& component);
OperatorMessage DefinitionErrorMessage();
OperatorMessage ClosingMessage();

void Show(platform::MainWindow& window, const OperatorMessage& message);

}  // namespace tovrel::registration

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

// Start-up's reports about the list file: it cannot be opened or read (`listPath` is
// AppPath + ListFile), and lines it passed over (bad lines, entries beyond the list's limit).
OperatorMessage ListUnreadableMessage(const std::wstring& listPath, const std::wstring& description);
OperatorMessage LinesPassedOverMessage(const std::wstring& listFile, unsigned long badLines,
                                       unsigned long linesBeyondLimit, int maxEntries);

void Show(platform::MainWindow& window, const OperatorMessage& message);

}  // namespace tovrel::registration

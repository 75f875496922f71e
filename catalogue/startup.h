#pragma once
// Start-up of the main window: centre it, work out the folders, check for the registrar and
// load the list into the checklist, every entry checked.
#include <optional>
#include <string>

#include "catalogue/checklist_selection.h"
#include "catalogue/main_state.h"
#include "catalogue/report.h"
#include "platform/ports.h"

namespace tovrel::catalogue {

// The folder queries with a 256-character buffer (a longer path is asked for again with
// the size the query says it needs).
std::wstring GetWindowsDir(platform::SystemFolders& folders);
std::wstring GetSystemDir(platform::SystemFolders& folders);

// Why start-up passes over an entry line instead of listing it (the text of its error
// line); nothing when it lists it.
std::optional<std::wstring> EntryProblem(const std::wstring& line);

enum class StartupResult { Ready, RegistrarMissing };

// Runs start-up into `state`, filling the checklist and collecting its entries into `index`
// (which the caller finishes), and tells `report` what it did. Problems with the list file
// (unreadable, bad lines, too many entries) are told to the operator and leave every good
// entry listed.
StartupResult RunStartup(MainState& state, ChecklistIndex& index, platform::Ports& ports, StartupReport& report);

}  // namespace tovrel::catalogue

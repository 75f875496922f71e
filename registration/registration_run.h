#pragma once
// The registration run of the "Registrar" button.
#include <string>

#include "catalogue/checklist_selection.h"
#include "catalogue/location_token.h"
#include "catalogue/main_state.h"
#include "platform/ports.h"
#include "registration/run_report.h"

namespace tovrel::registration {

Placement PlacementFor(const catalogue::MainState& state, catalogue::Location location,
                       platform::TextComparer& text);

// The registrar's command line: "<AppPath>\regsvr32.exe ""<component>" /s  (or without /s).
std::wstring RegistrarCommandLine(const std::wstring& appPath, const std::wstring& component,
                                  bool showMessages);

// Where the run looks for a component it copies, and where the registrar finds one it is
// handed from the application folder: a text whose folder part (split at its last
// backslash) is blank lies in the application folder.
std::wstring ComponentSource(const std::wstring& appPath, const std::wstring& component,
                             const std::wstring& folderPart);

// One whole run over the list file, told to `report` as it happens.
RunOutcome RunRegistration(catalogue::MainState& state, const catalogue::ChecklistIndex& index,
                           platform::Ports& ports, RunReport& report);

}  // namespace tovrel::registration

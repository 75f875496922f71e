#pragma once
// The registration run of the "Registrar" button.
#include <string>

#include "catalogue/checklist_selection.h"
#include "catalogue/main_state.h"
#include "platform/ports.h"

namespace tovrel::registration {

enum class RunOutcome {
  Ended,            // the end of the list file was reached; "Finalizado" shown
  Stopped,          // a checked line carried an unrecognised location token
  ListUnreadable,   // the list file could not be opened or read; an error line says why
};

// The registrar's command line: "<AppPath>\regsvr32.exe ""<component>" /s  (or without /s).
std::wstring RegistrarCommandLine(const std::wstring& appPath, const std::wstring& component,
                                  bool showMessages);

// One whole run over the list file.
RunOutcome RunRegistration(catalogue::MainState& state, const catalogue::ChecklistIndex& index,
                           platform::Ports& ports);

}  // namespace tovrel::registration

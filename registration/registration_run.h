#pragma once
// The registration run of the "Registrar" button.
#include <string>

#include "catalogue/checklist_selection.h"
#include "catalogue/location_token.h"
#include "catalogue/main_state.h"
#include "platform/ports.h"

namespace tovrel::registration {

enum class RunOutcome {
  Ended,            // the end of the list file was reached; "Finalizado" shown
  Stopped,          // a checked line carried an unrecognised location token
  ListUnreadable,   // the list file could not be opened or read; an error line says why
};

// Where a run puts the component of a checked line whose token names `location`.
enum class PlacementKind {
  InPlace,            // CurrentPath$: registered where it lies, nothing copied
  ApplicationFolder,  // the destination is AppPath: registered as written, nothing copied
  Copy,               // backed up and copied into `folder`
};
struct Placement {
  PlacementKind kind;
  std::wstring folder;  // the destination as the token names it (empty for InPlace)
};
Placement PlacementFor(const catalogue::MainState& state, catalogue::Location location,
                       platform::TextComparer& text);

// The registrar's command line: "<AppPath>\regsvr32.exe ""<component>" /s  (or without /s).
std::wstring RegistrarCommandLine(const std::wstring& appPath, const std::wstring& component,
                                  bool showMessages);

// One whole run over the list file.
RunOutcome RunRegistration(catalogue::MainState& state, const catalogue::ChecklistIndex& index,
                           platform::Ports& ports);

}  // namespace tovrel::registration

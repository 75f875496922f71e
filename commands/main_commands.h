#pragma once
// The main window's logic behind its events: load, "Registrar", "Marcar/Desmarcar".
// The window forwards its events here; the logic reaches the window only through the ports,
// and what it tells is shown on `texts`.
#include <optional>

#include "catalogue/checklist_selection.h"
#include "catalogue/main_state.h"
#include "catalogue/startup.h"
#include "commands/window_report.h"
#include "platform/ports.h"
#include "registration/registration_run.h"

namespace tovrel::commands {

class MainCommands {
 public:
  MainCommands(platform::Ports& ports, platform::WindowTexts& texts) : ports_(ports), report_(texts) {}

  catalogue::StartupResult Load();
  // Indexes the listed entries for the run's look-ups, once per start-up. The window asks for
  // it once the list shows; a run asks for it too, in case it comes first.
  void PrepareLookups();
  // Runs a registration, unless one is already in progress (a press during a run's yield
  // is ignored, so the first run's reading stays intact). Nothing when ignored.
  std::optional<registration::RunOutcome> RegistrarClick();
  void MarcarClick();

 private:
  platform::Ports& ports_;
  WindowReport report_;
  catalogue::MainState state_;
  catalogue::ChecklistIndex index_;
  bool lookupsReady_ = false;
  bool runInProgress_ = false;
};

}  // namespace tovrel::commands

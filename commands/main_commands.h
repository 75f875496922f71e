#pragma once
// The main window's logic behind its events: load, "Registrar", "Marcar/Desmarcar".
// The window forwards its events here; the logic reaches the window only through the ports,
// and what it tells is shown on `texts`.
#include <optional>

#include "catalogue/checklist_selection.h"
#include "catalogue/main_state.h"
#include "catalogue/startup.h"
#include "commands/window_report.h"
#include "platform/background_work.h"
#include "platform/ports.h"
#include "registration/registration_run.h"

namespace tovrel::commands {

class MainCommands {
 public:
  // The run's look-ups are prepared on `background` once start-up has listed the entries.
  MainCommands(platform::Ports& ports, platform::WindowTexts& texts, platform::BackgroundWork& background)
      : ports_(ports), report_(texts), background_(background) {}
  ~MainCommands();
  MainCommands(const MainCommands&) = delete;
  MainCommands& operator=(const MainCommands&) = delete;

  catalogue::StartupResult Load();
  // Runs a registration, unless one is already in progress (a press during a run's yield
  // is ignored, so the first run's reading stays intact). Nothing when ignored.
  std::optional<registration::RunOutcome> RegistrarClick();
  void MarcarClick();

 private:
  platform::Ports& ports_;
  WindowReport report_;
  platform::BackgroundWork& background_;
  catalogue::MainState state_;
  catalogue::ChecklistIndex index_;
  bool runInProgress_ = false;
};

}  // namespace tovrel::commands

#include "commands/main_commands.h"

namespace tovrel::commands {

catalogue::StartupResult MainCommands::Load() {
  index_.Clear();
  lookupsReady_ = false;
  return catalogue::RunStartup(state_, ports_, report_);
}

void MainCommands::PrepareLookups() {
  if (lookupsReady_) return;
  index_.Build(ports_.checklist, ports_.text);
  lookupsReady_ = true;
}

std::optional<registration::RunOutcome> MainCommands::RegistrarClick() {
  // A press during a run's yield would share FileNum and close the first run's file.
  if (runInProgress_) return std::nullopt;
  struct InProgress {
    bool& flag;
    explicit InProgress(bool& f) : flag(f) { flag = true; }
    ~InProgress() { flag = false; }
  } inProgress(runInProgress_);
  PrepareLookups();
  return registration::RunRegistration(state_, index_, ports_, report_);
}

void MainCommands::MarcarClick() { catalogue::InvertAllMarks(ports_.checklist); }

}  // namespace tovrel::commands

#include "commands/main_commands.h"

#include "platform/platform_error.h"

namespace tovrel::commands {

MainCommands::~MainCommands() {
  // The work reads the index: it must be done before the index goes.
  try {
    background_.Wait();
  } catch (...) {
    // Its result is not needed any more.
  }
}

catalogue::StartupResult MainCommands::Load() {
  background_.Wait();
  const catalogue::StartupResult result = catalogue::RunStartup(state_, index_, ports_, report_);
  // The keys are worked out while the window shows the list and takes its first clicks.
  background_.Start([this] { index_.Finish(ports_.text); });
  return result;
}

std::optional<registration::RunOutcome> MainCommands::RegistrarClick() {
  // A press during a run's yield would share FileNum and close the first run's file.
  if (runInProgress_) return std::nullopt;
  struct InProgress {
    bool& flag;
    explicit InProgress(bool& f) : flag(f) { flag = true; }
    ~InProgress() { flag = false; }
  } inProgress(runInProgress_);
  try {
    background_.Wait();
  } catch (const platform::PlatformError&) {
    // Tried once more below, where a failure stops the run before it reads a line.
  }
  index_.Finish(ports_.text);
  return registration::RunRegistration(state_, index_, ports_, report_);
}

void MainCommands::MarcarClick() { catalogue::InvertAllMarks(ports_.checklist); }

}  // namespace tovrel::commands

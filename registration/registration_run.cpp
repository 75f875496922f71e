#include "registration/registration_run.h"

#include <optional>

#include "catalogue/list_line.h"
#include "catalogue/list_reader.h"
#include "catalogue/location_token.h"
#include "platform/path_text.h"
#include "platform/platform_error.h"
#include "registration/backup.h"
#include "registration/path_helpers.h"
#include "registration/run_messages.h"

namespace tovrel::registration {

namespace {

using catalogue::ErrorCause;
using catalogue::Location;
using platform::PlatformError;

constexpr wchar_t kStatusPrefix[] = L"Registrando: ";

// One run over the list file. The component text lives across lines: a line that cannot
// be split leaves the previous entry's text in place, and its error line carries it.
class Run {
 public:
  Run(catalogue::MainState& state, const catalogue::ChecklistIndex& index, platform::Ports& ports,
      RunReport& report)
      : state_(state), index_(index), ports_(ports), report_(report) {}

  RunOutcome Execute() {
    std::optional<catalogue::ListReader> reader;
    try {
      reader.emplace(state_, ports_.textFiles);
    } catch (const PlatformError& e) {
      return ListUnreadable(e);
    }
    std::wstring line;
    while (true) {
      try {
        if (!reader->Next(line)) break;
      } catch (const PlatformError& e) {
        return ListUnreadable(e);  // the reader closes the file
      }
      if (!HandleLine(line, reader->LineNumber())) {
        report_.Message(DefinitionErrorMessage());
        report_.Finished({RunOutcome::Stopped, unknownToken_});
        return RunOutcome::Stopped;  // the reader closes the file
      }
    }
    report_.Finished({RunOutcome::Ended, {}});
    return RunOutcome::Ended;
  }

 private:
  RunOutcome ListUnreadable(const PlatformError& e) {
    report_.Error({state_.AppPath + state_.ListFile, e.Description(), ErrorCause::ListUnreadable});
    report_.Finished({RunOutcome::ListUnreadable, {}});
    return RunOutcome::ListUnreadable;
  }

  // The one failure handler: a line in TxtError, then the run goes on.
  void Fail(const std::wstring& description, ErrorCause cause) { report_.Error({component_, description, cause}); }

  // False when the line's token is not recognised and the run must stop.
  bool HandleLine(const std::wstring& line, long number) {
    if (catalogue::ClassifyLine(line) != catalogue::LineKind::Entry) return true;
    report_.LineTakenUp(number, line);
    std::wstring token;
    try {
      catalogue::EntryLine entry = catalogue::SplitEntryLine(line);
      component_ = std::move(entry.component);
      token = std::move(entry.token);
    } catch (const catalogue::LineSplitError& e) {
      Fail(e.Description(), ErrorCause::LineUnsplittable);
      token = line;
    }
    if (!catalogue::ArchSeleccionado(line, index_, ports_.checklist, ports_.text)) return true;
    const std::optional<Location> location = catalogue::ResolveLocationToken(token, ports_.text);
    if (!location) {
      unknownToken_ = std::move(token);
      return false;
    }
    Place(*location);
    return true;
  }

  void Place(Location location) {
    Placement placement = PlacementFor(state_, location, ports_.text);
    report_.Destination(component_, placement);
    switch (placement.kind) {
      case PlacementKind::InPlace: PlaceInPlace(); return;
      case PlacementKind::ApplicationFolder: Register(); return;
      case PlacementKind::Copy: PlaceByCopy(std::move(placement.folder)); return;
    }
  }

  // Looks for the component; a refused lookup is reported and counts as "not there".
  bool LookFor(const std::wstring& path) {
    bool found = false;
    try {
      found = FileExists(path, ports_.files);
    } catch (const PlatformError& e) {
      Fail(e.Description(), ErrorCause::LookupRefused);
    }
    report_.ComponentLookedFor(path, found);
    return found;
  }

  // On failure both parts stand as for a text without a backslash.
  void Split(std::wstring& folder, std::wstring& bareName) {
    try {
      SplitPath(component_, folder, bareName);
    } catch (const PlatformError& e) {
      Fail(e.Description(), ErrorCause::PathTooLong);
    }
  }

  void Copy(const std::wstring& from, const std::wstring& to) {
    try {
      ports_.files.Copy(from, to, true);
    } catch (const platform::CopyRefusedError& e) {
      const platform::CopyObstacle obstacle = e.Obstacle();
      Fail(e.Description(), obstacle == platform::CopyObstacle::FolderMissing     ? ErrorCause::FolderMissing
                            : obstacle == platform::CopyObstacle::DestinationHeld ? ErrorCause::DestinationHeld
                                                                                  : ErrorCause::CopyFailed);
      return;
    } catch (const PlatformError& e) {
      Fail(e.Description(), ErrorCause::CopyFailed);
      return;
    }
    report_.Copied(from, to);
  }

  void PlaceInPlace() {
    if (!LookFor(component_)) {
      report_.Message(MissingComponentMessage(component_));
      return;
    }
    std::wstring folder;
    std::wstring bareName;
    Split(folder, bareName);
    if (catalogue::TrimSpaces(folder).empty()) {
      report_.Message(FolderRequiredMessage(component_));
      return;
    }
    Register();
  }

  // The old file is saved before the component is looked for; a file that could not be saved
  // is not replaced.
  bool SaveOldFile(const std::wstring& destination, const std::wstring& bareName) {
    const BackupResult backup = BackupExisting(destination, bareName, ports_.files);
    report_.Backup(backup);
    for (const std::wstring& lookupError : backup.lookupErrors) Fail(lookupError, ErrorCause::LookupRefused);
    if (backup.outcome != BackupOutcome::Failed) return true;
    Fail(backup.description + L" No se reemplazó " + backup.target + L".",
         backup.failure == BackupFailure::AllNamesTaken ? ErrorCause::AllBackupNamesTaken : ErrorCause::BackupFailed);
    return false;
  }

  void PlaceByCopy(std::wstring destination) {
    destination = platform::WithTrailingBackslash(std::move(destination));
    std::wstring folder;
    std::wstring bareName;
    Split(folder, bareName);
    const bool mayReplace = SaveOldFile(destination, bareName);

    const std::wstring source = ComponentSource(state_.AppPath, component_, folder);
    const bool inAppFolder = source != component_;  // AppPath is never empty
    if (!LookFor(source)) {
      report_.Message(inAppFolder ? MissingInAppFolderMessage(state_.AppPath, component_)
                                  : MissingComponentMessage(component_));
      return;
    }
    if (mayReplace) Copy(source, destination + (inAppFolder ? component_ : bareName));
    if (!inAppFolder) component_ = bareName;
    Register();
  }

  void Register() {
    report_.Status(kStatusPrefix + component_);
    ports_.window.YieldToEvents();
    // Read after the yield: a change made during it counts for this launch.
    const bool showMessages = ports_.window.ShowRegistrarMessages();
    const std::wstring commandLine = RegistrarCommandLine(state_.AppPath, component_, showMessages);
    try {
      // The program is named apart, so no text of the list can start anything else.
      ports_.processes.Launch(state_.AppPath + catalogue::kRegistrarFileName, commandLine);
    } catch (const PlatformError& e) {
      Fail(e.Description(), ErrorCause::LaunchFailed);
      return;
    }
    report_.RegistrarLaunched(commandLine);
  }

  catalogue::MainState& state_;
  const catalogue::ChecklistIndex& index_;
  platform::Ports& ports_;
  RunReport& report_;
  std::wstring component_;
  std::wstring unknownToken_;
};

}  // namespace

Placement PlacementFor(const catalogue::MainState& state, Location location, platform::TextComparer& text) {
  const auto folder = [&]() -> const std::wstring& {
    switch (location) {
      case Location::Crystal: return state.CrystalPath;
      case Location::WindowsDir: return state.WinPath;
      case Location::SystemDir: return state.SysPath;
      default: return state.AppPath;
    }
  };
  if (location == Location::CurrentPath) return {PlacementKind::InPlace, L""};
  const std::wstring& destination = folder();
  if (text.Equal(destination, state.AppPath)) return {PlacementKind::ApplicationFolder, destination};
  return {PlacementKind::Copy, destination};
}

std::wstring RegistrarCommandLine(const std::wstring& appPath, const std::wstring& component,
                                  bool showMessages) {
  return Quoted(appPath + L"\\" + catalogue::kRegistrarFileName + L" ") + Quoted(component) +
         (showMessages ? L" " : L" /s ");
}

std::wstring ComponentSource(const std::wstring& appPath, const std::wstring& component,
                             const std::wstring& folderPart) {
  return catalogue::TrimSpaces(folderPart).empty() ? appPath + component : component;
}

RunOutcome RunRegistration(catalogue::MainState& state, const catalogue::ChecklistIndex& index,
                           platform::Ports& ports, RunReport& report) {
  try {
    return Run(state, index, ports, report).Execute();
  } catch (...) {
    // Nothing may reach the window procedure; whatever this was, the run is over.
    return RunOutcome::Stopped;
  }
}

}  // namespace tovrel::registration

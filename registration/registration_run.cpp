#include "registration/registration_run.h"

#include <optional>

#include "catalogue/list_line.h"
#include "catalogue/list_reader.h"
#include "catalogue/location_token.h"
#include "platform/platform_error.h"
#include "registration/backup.h"
#include "registration/path_helpers.h"
#include "registration/run_messages.h"

namespace tovrel::registration {

namespace {

using catalogue::Location;
using platform::PlatformError;

constexpr wchar_t kStatusPrefix[] = L"Registrando: ";

// One run over the list file. The component text lives across lines: a line that cannot
// be split leaves the previous entry's text in place, and its error line carries it.
class Run {
 public:
  Run(catalogue::MainState& state, const catalogue::ChecklistIndex& index, platform::Ports& ports)
      : state_(state), index_(index), ports_(ports) {}

  RunOutcome Execute() {
    std::optional<catalogue::ListReader> reader;
    try {
      reader.emplace(state_, ports_.textFiles);
    } catch (const PlatformError& e) {
      Fail(ListPath(), e.Description());
      return RunOutcome::ListUnreadable;
    }
    std::wstring line;
    while (true) {
      try {
        if (!reader->Next(line)) break;
      } catch (const PlatformError& e) {
        Fail(ListPath(), e.Description());
        return RunOutcome::ListUnreadable;  // the reader closes the file
      }
      if (!HandleLine(line)) {
        Show(ports_.window, DefinitionErrorMessage());
        return RunOutcome::Stopped;  // the reader closes the file
      }
    }
    Show(ports_.window, ClosingMessage());
    ports_.window.SetStatus(L"");
    return RunOutcome::Ended;
  }

 private:
  std::wstring ListPath() const { return state_.AppPath + state_.ListFile; }

  // The one failure handler: a line in TxtError, then the run goes on.
  void Fail(const std::wstring& subject, const std::wstring& description) {
    ports_.window.AppendErrorText(L"\r\n" + subject + L" " + description);
  }

  // False when the line's token is not recognised and the run must stop.
  bool HandleLine(const std::wstring& line) {
    if (catalogue::ClassifyLine(line) != catalogue::LineKind::Entry) return true;
    std::wstring token;
    try {
      catalogue::EntryLine entry = catalogue::SplitEntryLine(line);
      component_ = std::move(entry.component);
      token = std::move(entry.token);
    } catch (const catalogue::LineSplitError& e) {
      Fail(component_, e.Description());
      token = line;
    }
    if (!catalogue::ArchSeleccionado(line, index_, ports_.checklist, ports_.text)) return true;
    const std::optional<Location> location = catalogue::ResolveLocationToken(token, ports_.text);
    if (!location) return false;
    Place(*location);
    return true;
  }

  void Place(Location location) {
    Placement placement = PlacementFor(state_, location, ports_.text);
    switch (placement.kind) {
      case PlacementKind::InPlace: PlaceInPlace(); return;
      case PlacementKind::ApplicationFolder: Register(); return;
      case PlacementKind::Copy: PlaceByCopy(std::move(placement.folder)); return;
    }
  }

  // A refused lookup is reported and counts as "no file".
  bool Exists(const std::wstring& path) {
    try {
      return FileExists(path, ports_.files);
    } catch (const PlatformError& e) {
      Fail(component_, e.Description());
      return false;
    }
  }

  // On failure both parts stand as for a text without a backslash.
  void Split(std::wstring& folder, std::wstring& bareName) {
    try {
      SplitPath(component_, folder, bareName);
    } catch (const PlatformError& e) {
      Fail(component_, e.Description());
    }
  }

  bool Copy(const std::wstring& from, const std::wstring& to) {
    try {
      ports_.files.CopyFile(from, to, true);
      return true;
    } catch (const PlatformError& e) {
      Fail(component_, e.Description());
      return false;
    }
  }

  void PlaceInPlace() {
    if (!Exists(component_)) {
      Show(ports_.window, MissingComponentMessage(component_));
      return;
    }
    std::wstring folder;
    std::wstring bareName;
    Split(folder, bareName);
    if (catalogue::TrimSpaces(folder).empty()) {
      Show(ports_.window, FolderRequiredMessage(component_));
      return;
    }
    Register();
  }

  void PlaceByCopy(std::wstring destination) {
    if (destination.empty() || destination.back() != L'\\') destination += L'\\';
    std::wstring folder;
    std::wstring bareName;
    Split(folder, bareName);

    // The old file is saved before the component is looked for.
    const BackupResult backup = BackupExisting(destination, bareName, ports_.files);
    for (const std::wstring& lookupError : backup.lookupErrors) Fail(component_, lookupError);
    const bool mayReplace = backup.outcome != BackupOutcome::Failed;
    if (!mayReplace) {
      Fail(component_, backup.description + L" No se reemplazó " + destination + bareName + L".");
    }

    if (catalogue::TrimSpaces(folder).empty()) {
      if (!Exists(state_.AppPath + component_)) {
        Show(ports_.window, MissingInAppFolderMessage(state_.AppPath, component_));
        return;
      }
      if (mayReplace) Copy(state_.AppPath + component_, destination + component_);
    } else {
      if (!Exists(component_)) {
        Show(ports_.window, MissingComponentMessage(component_));
        return;
      }
      if (mayReplace) Copy(component_, destination + bareName);
      component_ = bareName;
    }
    Register();
  }

  void Register() {
    platform::MainWindow& window = ports_.window;
    window.SetStatus(kStatusPrefix + component_);
    window.Yield();
    // Read after the yield: a change made during it counts for this launch.
    const bool showMessages = window.ShowRegistrarMessages();
    const std::wstring commandLine = RegistrarCommandLine(state_.AppPath, component_, showMessages);
    try {
      // The program is named apart, so no text of the list can start anything else.
      ports_.processes.Launch(state_.AppPath + catalogue::kRegistrarFileName, commandLine);
    } catch (const PlatformError& e) {
      Fail(component_, e.Description());
    }
  }

  catalogue::MainState& state_;
  const catalogue::ChecklistIndex& index_;
  platform::Ports& ports_;
  std::wstring component_;
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

RunOutcome RunRegistration(catalogue::MainState& state, const catalogue::ChecklistIndex& index,
                           platform::Ports& ports) {
  try {
    return Run(state, index, ports).Execute();
  } catch (...) {
    // Nothing may reach the window procedure; whatever this was, the run is over.
    return RunOutcome::Stopped;
  }
}

}  // namespace tovrel::registration

// Start-up and one or two registration runs on an in-memory workstation built from the
// input (see scenario.h for the mapping), with the rules that must always hold checked.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>

#include "catalogue/checklist_selection.h"
#include "catalogue/list_line.h"
#include "fuzz/checking_ports.h"
#include "fuzz/scenario.h"
#include "tests/fake/selection_by_scan.h"
#include "registration/backup.h"
#include "commands/main_commands.h"
#include "registration/run_messages.h"

namespace tovrel::fuzz {
namespace {

using catalogue::StartupResult;
using registration::RunOutcome;

constexpr std::size_t kLookupsChecked = 256;

std::wstring WithBackslash(std::wstring folder) {
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::string Bytes(const char* prefix, std::size_t i, const std::wstring& where) {
  std::string bytes = prefix + std::to_string(i) + " ";
  for (const wchar_t c : where) bytes.push_back(static_cast<char>(c & 0x7F));
  return bytes;
}

class Workstation {
 public:
  explicit Workstation(const Scenario& scenario) : scenario_(scenario) {
    fake_.files.journal = nullptr;
    fake_.window.journal = nullptr;
    fake_.launcher.journal = nullptr;
    window_.showRegistrarMessages = scenario.showMessages();
    fake_.launcher.fail = scenario.launchesFail();
    LayOutFolders();
    LayOutComponents();
  }

  void Check() {
    std::optional<StartupResult> started;
    try {
      started = commands_.Load();
    } catch (...) {
      Require(false, "start-up threw");
    }
    launcher_.appPath = appPath_;
    CheckAfterStartup(*started);
    if (*started != StartupResult::Ready) return;

    if (scenario_.invertAfterStartup()) commands_.MarcarClick();
    if (scenario_.listDeletedAfterStartup()) fake_.files.RemoveFile(ListPath());
    if (scenario_.openFailsAtFirstRun()) fake_.textFiles.FailOpenOf(ListPath());
    window_.onYield = [this] { DuringYield(); };
    RunOnce();
    if (scenario_.secondRun()) RunOnce();
  }

 private:
  std::wstring ListPath() const { return appPath_ + catalogue::kListFileName; }

  bool ListFailureInjected() const {
    return scenario_.openFailsAtStartup() || scenario_.openFailsAtFirstRun() ||
           scenario_.listDeletedAfterStartup() || scenario_.readFails();
  }

  void LayOutFolders() {
    const std::wstring appFolder = scenario_.appAtDriveRoot() ? L"D:\\" : L"C:\\Tovrel";
    fake_.folders.applicationFolder = appFolder;
    appPath_ = WithBackslash(appFolder);
    fake_.files.AddFolder(appFolder);
    if (scenario_.windowsFolderLong()) fake_.folders.windowsDir = L"C:\\" + std::wstring(300, L'W');
    fake_.folders.failWindows = scenario_.windowsQueryFails();
    fake_.folders.failSystem = scenario_.systemQueryFails();
    const std::wstring windows = fake_.folders.windowsDir;
    fake_.files.AddFolder(windows);
    if (scenario_.systemExists()) fake_.files.AddFolder(fake_.folders.systemDir);
    if (scenario_.crystalExists()) fake_.files.AddFolder(windows + L"\\Crystal");
    destinations_ = {WithBackslash(windows), WithBackslash(fake_.folders.systemDir), windows + L"\\Crystal\\"};

    const std::wstring registrar = appPath_ + catalogue::kRegistrarFileName;
    if (!scenario_.registrarAbsent()) fake_.files.AddFile(registrar, "MZ");
    if (scenario_.registrarLookupThrows()) fake_.files.FailLookupOf(registrar);
    fake_.files.AddFile(ListPath(), scenario_.list);
    if (scenario_.openFailsAtStartup()) fake_.textFiles.FailOpenOf(ListPath());
    if (scenario_.readFails()) fake_.textFiles.FailReadAfter(ListPath(), scenario_.linesBeforeReadFailure());
  }

  void LayOutComponents() {
    const ListModel whole = ModelList(scenario_.list, -1);
    lines_ = whole.lines;
    for (const std::wstring& component : whole.components) {
      launcher_.registrable.insert(component);
      launcher_.registrable.insert(BareName(component));
    }
    int fullBackupSets = 0;
    for (std::size_t i = 0; i < whole.components.size() && i < kMaxComponentsWithState; ++i) {
      const std::wstring& component = whole.components[i];
      const std::wstring bare = BareName(component);
      if (bare.empty()) continue;
      const std::uint8_t state = scenario_.ComponentState(i);
      const bool hasFolder = bare.size() != component.size();
      const std::wstring source = hasFolder ? component : appPath_ + component;
      if (state & 0x01) {
        fake_.files.AddFile(source, Bytes("new", i, source), (state & 0x02) ? fake::kHidden : fake::kNormal);
        if (!hasFolder && i % 2 == 1) fake_.files.AddFile(fake_.files.currentFolder + L"\\" + component, "cur");
      }
      if (state & 0x80) fake_.files.FailLookupOf(source);
      int backupsTaken = (state >> 4) & 0x03;
      if (backupsTaken == 3 && fullBackupSets++ >= kMaxFullBackupSets) backupsTaken = 2;
      for (const std::wstring& destination : destinations_) {
        if (!fake_.files.HasFolder(destination)) continue;
        const std::wstring target = destination + bare;
        if (state & 0x04) {
          const unsigned odd = (state & 0x08) ? (i % 2 == 0 ? fake::kHidden : fake::kSystem) : fake::kNormal;
          fake_.files.AddFile(target, Bytes("old", i, target), odd);
        }
        const int taken = backupsTaken == 3 ? registration::kBackupNameCount : backupsTaken == 2 ? 3 : backupsTaken;
        for (int counter = 0; counter < taken; ++counter) {
          if (backupsTaken == 2 && counter == 1) continue;  // a gap, filled first
          fake_.files.AddFile(registration::BackupCandidateName(target, bare.size(), counter), "bak");
        }
        if (state & 0x40) {
          FailCopiesTo(target, i);
          if (i % 2 == 0) FailCopiesTo(registration::BackupCandidateName(target, bare.size(), taken == 0 ? 0 : 1), i);
        }
        if (state & 0x80) {
          fake_.files.FailLookupOf(registration::BackupCandidateName(target, bare.size(), 1));
          if (i % 2 == 1) fake_.files.FailLookupOf(target);
        }
      }
    }
  }

  // Before anything is written, or at one step of the copy through a temporary file.
  void FailCopiesTo(const std::wstring& path, std::size_t i) {
    static constexpr fake::CopyStep kSteps[] = {fake::CopyStep::CreateTemporary, fake::CopyStep::Write,
                                                fake::CopyStep::Flush, fake::CopyStep::Rename};
    const std::size_t step = i % (std::size(kSteps) + 1);
    if (step == 0) {
      fake_.files.FailCopyTo(path);
    } else {
      fake_.files.FailCopyTo(path, kSteps[step - 1]);
    }
  }

  void CheckAfterStartup(StartupResult started) {
    Require(fake_.textFiles.OpenCount() == 0, "start-up left a file open");
    Require(fake_.checklist.Count() <= platform::Checklist::kMaxEntries, "the checklist is over its limit");
    if (scenario_.registrarAbsent() || scenario_.registrarLookupThrows()) {
      Require(started == StartupResult::RegistrarMissing && window_.registrarDisabled &&
                  fake_.checklist.Count() == 0,
              "start-up without a registrar did not stop with the button disabled");
      return;
    }
    Require(started == StartupResult::Ready, "start-up with its registrar was not ready");
    const long linesRead = scenario_.openFailsAtStartup() ? 0
                           : scenario_.readFails()        ? scenario_.linesBeforeReadFailure()
                                                          : -1;
    const ListModel model = ModelList(scenario_.list, linesRead);
    Require(static_cast<std::size_t>(fake_.checklist.Count()) == model.listable.size(),
            "start-up listed another number of entries than the file holds");
    for (std::size_t i = 0; i < model.listable.size(); ++i) {
      const auto& entry = fake_.checklist.entries[i];
      Require(entry.text == model.listable[i] && entry.checked, "a listed entry is not its line, checked");
    }
    std::size_t errorLines = 0;
    for (std::size_t at = window_.errorText.find(L"\r\n"); at != std::wstring::npos;
         at = window_.errorText.find(L"\r\n", at + 2)) {
      ++errorLines;
    }
    Require(errorLines == model.badLines, "start-up did not report every line it passed over");
    CheckLookups();
  }

  // An index of what start-up listed must answer as the literal scan does, for every line of
  // the file.
  void CheckLookups() {
    catalogue::ChecklistIndex index;
    for (int i = 0; i < fake_.checklist.Count(); ++i) index.Add(i, fake_.checklist.Text(i));
    index.Finish(fake_.text);
    for (std::size_t i = 0; i < lines_.size() && i < kLookupsChecked; ++i) {
      const std::wstring& line = lines_[i];
      Require(catalogue::ArchSeleccionado(line, index, fake_.checklist, fake_.text) ==
                  fake::ArchSeleccionadoByScan(line, fake_.checklist, fake_.text),
              "the index and the scan disagree on a line");
    }
  }

  void RunOnce() {
    const std::size_t messagesBefore = window_.messages.size();
    const std::size_t errorsBefore = window_.errorText.size();
    std::optional<RunOutcome> outcome;
    try {
      outcome = commands_.RegistrarClick();
    } catch (...) {
      Require(false, "a run threw");
    }
    Require(outcome.has_value(), "a run was refused with none in progress");
    Require(fake_.textFiles.OpenCount() == 0, "a run left a file open");
    const bool messageShown = window_.messages.size() > messagesBefore;
    switch (*outcome) {
      case RunOutcome::Ended:
        Require(messageShown && window_.messages.back().text == registration::ClosingMessage().text &&
                    window_.status.empty(),
                "an ended run did not close with its message and an empty status");
        break;
      case RunOutcome::Stopped:
        Require(messageShown && window_.messages.back().text == registration::DefinitionErrorMessage().text,
                "a run stopped without the definition error (a swallowed failure?)");
        break;
      case RunOutcome::ListUnreadable:
        Require(ListFailureInjected(), "the list became unreadable with nothing failing");
        Require(window_.errorText.size() > errorsBefore, "an unreadable list was not reported");
        break;
    }
    CheckLookups();
  }

  // What the operator may do while a run yields.
  void DuringYield() {
    const std::uint8_t action = scenario_.YieldAction(yields_++);
    Require(fake_.textFiles.OpenCount() == 1, "the list is not open while a run yields");
    if (action & 0x01) window_.showRegistrarMessages = !window_.showRegistrarMessages;
    if (action & 0x02) {
      const std::optional<RunOutcome> nested = commands_.RegistrarClick();
      Require(!nested.has_value() && fake_.textFiles.OpenCount() == 1,
              "a press during a run disturbed the run's reading");
    }
    if (action & 0x04) commands_.MarcarClick();
    const int count = fake_.checklist.Count();
    if ((action & 0x08) && count > 0) {
      const int index = static_cast<int>((static_cast<long>(action >> 4) * yields_) % count);
      fake_.checklist.SetChecked(index, !fake_.checklist.Checked(index));
    }
  }

  const Scenario& scenario_;
  fake::FakePlatform fake_;
  CheckingWindow window_;
  CheckingFileSystem files_{fake_.files};
  CheckingLauncher launcher_{fake_.launcher, window_};
  platform::Ports ports_{files_, fake_.fileNumbers, fake_.folders, launcher_, fake_.text, window_, fake_.checklist};
  commands::MainCommands commands_{ports_, window_, fake_.background};
  std::wstring appPath_;
  std::vector<std::wstring> destinations_;
  std::vector<std::wstring> lines_;  // every line of the list, for the lookup checks
  int yields_ = 0;
};

}  // namespace
}  // namespace tovrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tovrel::fuzz::Scenario scenario = tovrel::fuzz::ReadScenario(data, size);
  tovrel::fuzz::Workstation workstation(scenario);
  workstation.Check();
  return 0;
}

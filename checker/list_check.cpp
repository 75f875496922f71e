#include "checker/list_check.h"

#include <algorithm>
#include <deque>
#include <map>
#include <optional>

#include "catalogue/list_line.h"
#include "catalogue/location_token.h"
#include "catalogue/startup.h"
#include "checker/dry_run_ports.h"
#include "platform/platform_error.h"
#include "registration/backup.h"
#include "registration/path_helpers.h"
#include "registration/registration_run.h"
#include "registration/run_messages.h"

namespace tovrel::checker {

namespace {

using registration::PlacementKind;

std::wstring Quote(const std::wstring& text) { return L"\u00ab" + text + L"\u00bb"; }

class Check {
 public:
  explicit Check(Workstation& ws)
      : ws_(ws),
        textFiles_(ws.textFiles, trace_),
        files_(ws.files, ws.text, trace_),
        folders_(ws.folders, ws.applicationFolder),
        launcher_(trace_),
        window_(trace_),
        checklist_(trace_),
        ports_{files_, textFiles_, folders_, launcher_, ws.text, window_, checklist_} {}

  CheckResult Run() {
    if (StartUp()) {
      RunOnce();
      if (result_.ending != Ending::Unreadable) ReviewLines();
    }
    Conclude();
    return std::move(result_);
  }

 private:
  void Add(long line, Severity severity, FindingCode code, std::wstring text) {
    result_.findings.push_back({line, severity, code, std::move(text)});
  }

  bool Unreadable() {
    if (!trace_.readFailure) return false;
    Add(0, Severity::Error, FindingCode::ListUnreadable,
        L"No se puede leer " + state_.AppPath + catalogue::kListFileName + L": " + *trace_.readFailure);
    result_.ending = Ending::Unreadable;
    return true;
  }

  // False when the list cannot be read.
  bool StartUp() {
    if (catalogue::RunStartup(state_, index_, ports_) == catalogue::StartupResult::RegistrarMissing) {
      Add(0, Severity::Error, FindingCode::RegistrarMissing,
          L"Falta " + state_.AppPath + catalogue::kRegistrarFileName + L": Tovrel mostraría " +
              Quote(trace_.messages.back().text) +
              L" y desactivaría \"Registrar\"; no habría ejecución. Lo que sigue supone que está.");
      files_.Pretend(state_.AppPath + catalogue::kRegistrarFileName);
      trace_.entryLinesRead.clear();
      catalogue::RunStartup(state_, index_, ports_);
    }
    result_.state = state_;
    for (const TracedMessage& m : trace_.messages) {
      result_.startupNotes.push_back(L"Al iniciar, Tovrel mostraría " + Quote(m.text) + L" (" + m.title + L").");
    }
    return !Unreadable();
  }

  void RunOnce() {
    trace_.phase = Phase::Run;
    const registration::RunOutcome outcome = registration::RunRegistration(state_, index_, ports_);
    if (Unreadable()) return;
    if (outcome == registration::RunOutcome::Ended) {
      result_.ending = Ending::Finalizado;
      closingMessage_ = trace_.messages.size() - 1;  // "Finalizado", after the last line
      // After it the status label is cleared: that belongs to no line.
      std::vector<std::wstring>& status = trace_.effects[trace_.line].statusTexts;
      if (!status.empty() && status.back().empty()) status.pop_back();
    } else {
      result_.ending = Ending::Stopped;
      result_.stopLine = trace_.messages.empty() ? trace_.line : trace_.messages.back().line;
    }
  }

  void ReviewLines() {
    trace_.phase = Phase::Review;
    std::map<long, int> entryOfLine;
    for (int i = 0; i < checklist_.Count(); ++i) entryOfLine.emplace(checklist_.LineOf(i), i);
    std::deque<std::wstring> startupErrors;
    for (const TracedErrorLine& e : trace_.errorLines) {
      if (e.phase == Phase::Startup) startupErrors.push_back(e.text);
    }
    for (std::size_t i = 0; i < trace_.messages.size(); ++i) {
      if (trace_.messages[i].phase == Phase::Run && i != closingMessage_) {
        runMessages_[trace_.messages[i].line].push_back(trace_.messages[i].text);
      }
    }
    for (const TracedErrorLine& e : trace_.errorLines) {
      if (e.phase == Phase::Run) runErrors_[e.line].push_back(e);
    }

    long ordinal = 0;
    for (const ReadListLine& line : trace_.entryLinesRead) {
      ++ordinal;
      LineReport report{line.number, line.text, {}};
      const auto listed = entryOfLine.find(line.number);
      if (listed == entryOfLine.end()) {
        ReviewPassedOver(line, ordinal, startupErrors, report);
      } else if (result_.ending == Ending::Stopped && line.number > result_.stopLine) {
        report.details.push_back(L"la ejecución no llega a esta línea");
        Add(line.number, Severity::Error, FindingCode::NeverReached,
            L"La ejecución se detiene en la línea " + std::to_wstring(result_.stopLine) +
                L" y no llega a esta: el componente no se copia ni se registra.");
      } else {
        ReviewDuplicate(listed->second);
        ReviewListed(line, report);
      }
      result_.lines.push_back(std::move(report));
    }
  }

  void ReviewPassedOver(const ReadListLine& line, long ordinal, std::deque<std::wstring>& startupErrors,
                        LineReport& report) {
    std::wstring runErrors;
    for (const TracedErrorLine& e : runErrors_[line.number]) {
      report.details.push_back(L"línea de error en cada ejecución: " + Quote(e.text));
      runErrors += L"; cada ejecución añade " + Quote(e.text);
    }
    if (catalogue::EntryProblem(line.text) && !startupErrors.empty()) {
      const std::wstring shown = startupErrors.front();
      startupErrors.pop_front();
      report.details.insert(report.details.begin(), L"Tovrel no la muestra: " + Quote(shown));
      Add(line.number, Severity::Error, FindingCode::PassedOverAtStartup,
          L"Tovrel pasa por alto esta línea al iniciar y lo dice en el cuadro de errores: " + Quote(shown) +
              runErrors + L".");
      return;
    }
    report.details.insert(report.details.begin(), L"Tovrel no la muestra: excede el límite de la lista");
    Add(line.number, Severity::Error, FindingCode::BeyondListLimit,
        L"Es la línea de componente número " + std::to_wstring(ordinal) + L"; la lista admite " +
            std::to_wstring(platform::Checklist::kMaxEntries) +
            L": Tovrel no la muestra y la ejecución la pasa por alto" + runErrors + L".");
  }

  void ReviewDuplicate(int entry) {
    const int first = index_.FirstMatch(checklist_.Text(entry), checklist_, ws_.text);
    if (first < 0 || first == entry) return;
    const std::wstring earlier = std::to_wstring(checklist_.LineOf(first));
    Add(checklist_.LineOf(entry), Severity::Warning, FindingCode::DuplicateLine,
        L"Repite la línea " + earlier + L": su propia marca nunca cuenta (decide la de la línea " + earlier +
            L") y la ejecución la procesa otra vez.");
  }

  std::wstring Where(const registration::Placement& placement) const {
    switch (placement.kind) {
      case PlacementKind::InPlace: return L"destino: en su lugar (CurrentPath$)";
      case PlacementKind::ApplicationFolder: return L"destino: la carpeta de la aplicación (" + state_.AppPath + L")";
      case PlacementKind::Copy: break;
    }
    return L"destino: " + placement.folder;
  }

  void ReviewListed(const ReadListLine& line, LineReport& report) {
    const catalogue::EntryLine entry = catalogue::SplitEntryLine(line.text);
    const std::optional<catalogue::Location> location = catalogue::ResolveLocationToken(entry.token, ws_.text);
    if (!location) {
      const std::vector<std::wstring>& shown = runMessages_[line.number];
      const std::wstring message = shown.empty() ? std::wstring() : shown.back();
      report.details.push_back(L"ubicación no reconocida: " + Quote(std::wstring(catalogue::TrimSpaces(entry.token))));
      report.details.push_back(L"mensaje: " + Quote(message) + L"; la ejecución se detiene");
      Add(line.number, Severity::Error, FindingCode::UnknownToken,
          L"La ubicación " + Quote(entry.token) + L" no es ninguna de las conocidas (vacía, Crystal$, winpath$, "
          L"Systempath$, CurrentPath$): Tovrel mostraría " + Quote(message) +
              L" y detendría la ejecución; las líneas anteriores ya se habrían copiado y registrado.");
      return;
    }
    const registration::Placement placement = registration::PlacementFor(state_, *location, ws_.text);
    report.details.push_back(Where(placement));
    LineEffects& effects = trace_.effects[line.number];
    if (placement.kind == PlacementKind::Copy) DescribeBackup(effects, report);
    if (placement.kind == PlacementKind::ApplicationFolder) {
      ReviewBesideProgram(line.number, entry.component, report);
    } else if (effects.lastLookup) {
      report.details.push_back((effects.lastLookup->found ? L"componente: está en " : L"componente: no está en ") +
                               effects.lastLookup->pattern);
    }
    for (const std::wstring& copy : effects.copies) report.details.push_back(L"copia: " + copy);
    for (const std::wstring& message : runMessages_[line.number]) {
      report.details.push_back(L"mensaje: " + Quote(message));
      const bool missing = effects.lastLookup && !effects.lastLookup->found;
      if (missing) {
        Add(line.number, Severity::Error, FindingCode::ComponentMissing,
            L"El componente no está donde la ejecución lo busca (" + effects.lastLookup->pattern +
                L"): Tovrel mostraría " + Quote(message) + L".");
      } else {
        Add(line.number, Severity::Error, FindingCode::FolderRequired,
            L"CurrentPath$ necesita el componente con su carpeta: Tovrel mostraría " + Quote(message) + L".");
      }
    }
    for (const TracedErrorLine& e : runErrors_[line.number]) ReviewErrorLine(line.number, placement, e, report);
    for (const std::wstring& status : effects.statusTexts) report.details.push_back(L"estado: " + Quote(status));
    for (const std::wstring& command : effects.commandLines) report.details.push_back(L"registra: " + command);
  }

  void DescribeBackup(const LineEffects& effects, LineReport& report) {
    if (!effects.firstLookup) return;
    if (!effects.firstLookup->found) {
      report.details.push_back(L"nada que respaldar: no hay " + effects.firstLookup->pattern);
    } else if (!effects.backupName.empty()) {
      report.details.push_back(L"copia de respaldo: " + effects.firstLookup->pattern + L" -> " + effects.backupName);
    } else {
      report.details.push_back(L"copia de respaldo: ninguna posible de " + effects.firstLookup->pattern);
    }
  }

  // The run hands such a component to the registrar without looking for it; the registrar
  // finds a bare name in its own folder, which is the application folder.
  void ReviewBesideProgram(long number, const std::wstring& component, LineReport& report) {
    std::wstring folder;
    registration::SplitPath(component, folder);  // a listed line is short enough to split
    const std::wstring path = catalogue::TrimSpaces(folder).empty() ? state_.AppPath + component : component;
    bool found = false;
    try {
      found = registration::FileExists(path, files_);
    } catch (const platform::PlatformError&) {
    }
    report.details.push_back((found ? L"componente: está en " : L"componente: no está en ") + path +
                             L" (Tovrel no lo comprueba)");
    if (!found) {
      Add(number, Severity::Warning, FindingCode::NotBesideProgram,
          L"El componente no está en " + path + L": Tovrel no lo comprueba y regsvr32.exe no podría registrarlo.");
    }
  }

  void ReviewErrorLine(long number, const registration::Placement& placement, const TracedErrorLine& e,
                       LineReport& report) {
    report.details.push_back(L"línea de error: " + Quote(e.text));
    switch (e.cause) {
      case ErrorCause::MissingFolder:
        Add(number, Severity::Error, FindingCode::MissingDestination,
            L"La carpeta de destino " + placement.folder + L" no existe: la copia fallaría y Tovrel añadiría " +
                Quote(e.text) + L" al cuadro de errores (regsvr32.exe se iniciaría igualmente).");
        return;
      case ErrorCause::AllBackupNamesTaken:
        Add(number, Severity::Error, FindingCode::BackupNamesTaken,
            L"Los " + std::to_wstring(registration::kBackupNameCount) +
                L" nombres de copia de respaldo (000 a 999) están ocupados: Tovrel añadiría " + Quote(e.text) +
                L" y no reemplazaría el archivo.");
        return;
      default:
        Add(number, Severity::Error, FindingCode::ErrorLine,
            L"Tovrel añadiría al cuadro de errores " + Quote(e.text) + L".");
    }
  }

  void Conclude() {
    std::stable_sort(result_.findings.begin(), result_.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    result_.entryLines = trace_.entryLinesRead.size();
    for (const auto& [line, effects] : trace_.effects) result_.launches += effects.commandLines.size();
    result_.messages = trace_.messages.size() - (closingMessage_ < trace_.messages.size() ? 1 : 0);
    result_.errorLines = trace_.errorLines.size();
    if (result_.ending == Ending::Unreadable) {
      result_.exitCode = 2;
    } else {
      const bool clean = result_.ending == Ending::Finalizado && result_.messages == 0 && result_.errorLines == 0 &&
                         !trace_.registrarDisabled;
      result_.exitCode = clean ? 0 : 1;
    }
  }

  Workstation& ws_;
  Trace trace_;
  LineCountingTextFiles textFiles_;
  DryRunFileSystem files_;
  CheckedFolder folders_;
  RecordingLauncher launcher_;
  RecordingWindow window_;
  MemoryChecklist checklist_;
  platform::Ports ports_;
  catalogue::MainState state_;
  catalogue::ChecklistIndex index_;
  CheckResult result_;
  std::size_t closingMessage_ = static_cast<std::size_t>(-1);
  std::map<long, std::vector<std::wstring>> runMessages_;
  std::map<long, std::vector<TracedErrorLine>> runErrors_;
};

}  // namespace

CheckResult CheckList(Workstation& workstation) { return Check(workstation).Run(); }

}  // namespace tovrel::checker

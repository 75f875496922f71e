#include "checker/list_check.h"

#include <algorithm>
#include <map>
#include <optional>

#include "catalogue/list_line.h"
#include "catalogue/startup.h"
#include "checker/component_forecast.h"
#include "checker/dry_run_ports.h"
#include "checker/run_record.h"
#include "platform/platform_error.h"
#include "registration/path_helpers.h"
#include "registration/registration_run.h"

namespace tovrel::checker {

namespace {

using registration::PlacementKind;

std::wstring Quote(const std::wstring& text) { return L"\u00ab" + text + L"\u00bb"; }

class Check {
 public:
  explicit Check(Workstation& ws)
      : ws_(ws),
        files_(ws.files, ws.text),
        fileNumbers_(ws.textFiles),
        folders_(ws.folders, ws.applicationFolder),
        ports_{files_, fileNumbers_, folders_, launcher_, ws.text, window_, checklist_} {}

  CheckResult Run() {
    if (StartUp()) {
      RunOnce();
      if (result_.ending != Ending::Unreadable) {
        ReviewLines();
        if (ws_.components) ForecastComponents(*ws_.components);
      }
    }
    Conclude();
    return std::move(result_);
  }

 private:
  void Add(long line, Severity severity, FindingCode code, std::wstring text) {
    result_.findings.push_back({line, severity, code, std::move(text)});
  }

  bool Unreadable(const std::optional<std::wstring>& failure) {
    if (!failure) return false;
    Add(0, Severity::Error, FindingCode::ListUnreadable,
        L"No se puede leer " + state_.AppPath + catalogue::kListFileName + L": " + *failure);
    result_.ending = Ending::Unreadable;
    return true;
  }

  // False when the list cannot be read.
  bool StartUp() {
    if (catalogue::RunStartup(state_, index_, ports_, startup_) == catalogue::StartupResult::RegistrarMissing) {
      Add(0, Severity::Error, FindingCode::RegistrarMissing,
          L"Falta " + state_.AppPath + catalogue::kRegistrarFileName + L": Tovrel mostraría " +
              Quote(startup_.messages.back().text) +
              L" y desactivaría \"Registrar\"; no habría ejecución. Lo que sigue supone que está.");
      files_.Pretend(state_.AppPath + catalogue::kRegistrarFileName);
      catalogue::RunStartup(state_, index_, ports_, startup_);
    }
    index_.Finish(ws_.text);
    result_.state = state_;
    for (const platform::OperatorMessage& m : startup_.messages) {
      result_.startupNotes.push_back(L"Al iniciar, Tovrel mostraría " + Quote(m.text) + L" (" + m.title + L").");
    }
    return !Unreadable(startup_.readFailure);
  }

  void RunOnce() {
    const registration::RunOutcome outcome = registration::RunRegistration(state_, index_, ports_, run_);
    if (Unreadable(run_.readFailure)) return;
    if (outcome == registration::RunOutcome::Ended) {
      result_.ending = Ending::Finalizado;
    } else {
      result_.ending = Ending::Stopped;
      result_.stopLine = run_.line;
    }
  }

  void ReviewLines() {
    std::map<long, int> entryOfLine;
    for (std::size_t i = 0; i < startup_.listedLines.size(); ++i) {
      entryOfLine.emplace(startup_.listedLines[i], static_cast<int>(i));
    }
    long ordinal = 0;
    for (const ReadEntry& line : startup_.entries) {
      ++ordinal;
      LineReport report{line.number, line.text, {}};
      const auto listed = entryOfLine.find(line.number);
      if (listed == entryOfLine.end()) {
        ReviewPassedOver(line, ordinal, report);
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

  void ReviewPassedOver(const ReadEntry& line, long ordinal, LineReport& report) {
    std::wstring runErrors;
    for (const catalogue::ErrorLine& e : run_.effects[line.number].errors) {
      report.details.push_back(L"línea de error en cada ejecución: " + Quote(e.Text()));
      runErrors += L"; cada ejecución añade " + Quote(e.Text());
    }
    if (line.fate == EntryFate::PassedOver) {
      report.details.insert(report.details.begin(), L"Tovrel no la muestra: " + Quote(line.shown));
      Add(line.number, Severity::Error, FindingCode::PassedOverAtStartup,
          L"Tovrel pasa por alto esta línea al iniciar y lo dice en el cuadro de errores: " + Quote(line.shown) +
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
    const std::wstring earlier = std::to_wstring(startup_.listedLines.at(static_cast<std::size_t>(first)));
    Add(startup_.listedLines.at(static_cast<std::size_t>(entry)), Severity::Warning, FindingCode::DuplicateLine,
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

  void ReviewListed(const ReadEntry& line, LineReport& report) {
    const LineEffects& effects = run_.effects[line.number];
    if (run_.end && run_.end->outcome == registration::RunOutcome::Stopped && line.number == result_.stopLine) {
      ReviewStop(line.number, run_.end->unknownToken, effects, report);
      return;
    }
    if (!effects.placement) return;
    const registration::Placement& placement = *effects.placement;
    report.details.push_back(Where(placement));
    if (effects.backup) DescribeBackup(*effects.backup, report);
    if (placement.kind == PlacementKind::ApplicationFolder) {
      ReviewBesideProgram(line.number, effects.component, report);
    } else if (effects.lookup) {
      report.details.push_back((effects.lookup->found ? L"componente: está en " : L"componente: no está en ") +
                               effects.lookup->path);
    }
    for (const CopyMade& copy : effects.copies) report.details.push_back(L"copia: " + copy.from + L" -> " + copy.to);
    for (const std::wstring& message : effects.messages) {
      report.details.push_back(L"mensaje: " + Quote(message));
      const bool missing = effects.lookup && !effects.lookup->found;
      if (missing) {
        Add(line.number, Severity::Error, FindingCode::ComponentMissing,
            L"El componente no está donde la ejecución lo busca (" + effects.lookup->path +
                L"): Tovrel mostraría " + Quote(message) + L".");
      } else {
        Add(line.number, Severity::Error, FindingCode::FolderRequired,
            L"CurrentPath$ necesita el componente con su carpeta: Tovrel mostraría " + Quote(message) + L".");
      }
    }
    for (const catalogue::ErrorLine& e : effects.errors) ReviewErrorLine(line.number, placement, e, report);
    for (const std::wstring& status : effects.statusTexts) report.details.push_back(L"estado: " + Quote(status));
    for (const std::wstring& command : effects.commandLines) report.details.push_back(L"registra: " + command);
    if (!effects.commandLines.empty()) result_.handed.push_back(Handed(line.number, effects));
  }

  // The file the registrar loads: the path given for CurrentPath$; otherwise what it is
  // handed, found in its own folder, the application folder.
  HandedComponent Handed(long number, const LineEffects& effects) const {
    HandedComponent handed{number, effects.component, effects.component, {}};
    if (effects.placement->kind != PlacementKind::InPlace) {
      std::wstring folder;
      registration::SplitPath(effects.component, folder);
      handed.file = registration::ComponentSource(state_.AppPath, effects.component, folder);
    }
    if (!effects.copies.empty()) handed.destination = effects.copies.back().to;
    return handed;
  }

  // The line whose token stopped the run.
  void ReviewStop(long number, const std::wstring& token, const LineEffects& effects, LineReport& report) {
    const std::wstring message = effects.messages.empty() ? std::wstring() : effects.messages.back();
    report.details.push_back(L"ubicación no reconocida: " + Quote(std::wstring(catalogue::TrimSpaces(token))));
    report.details.push_back(L"mensaje: " + Quote(message) + L"; la ejecución se detiene");
    Add(number, Severity::Error, FindingCode::UnknownToken,
        L"La ubicación " + Quote(token) + L" no es ninguna de las conocidas (vacía, Crystal$, winpath$, "
        L"Systempath$, CurrentPath$): Tovrel mostraría " + Quote(message) +
            L" y detendría la ejecución; las líneas anteriores ya se habrían copiado y registrado.");
  }

  void DescribeBackup(const registration::BackupResult& backup, LineReport& report) {
    switch (backup.outcome) {
      case registration::BackupOutcome::NothingToSave:
        report.details.push_back(L"nada que respaldar: no hay " + backup.target);
        return;
      case registration::BackupOutcome::Saved:
        report.details.push_back(L"copia de respaldo: " + backup.target + L" -> " + backup.backupPath);
        return;
      case registration::BackupOutcome::Failed:
        report.details.push_back(L"copia de respaldo: ninguna posible de " + backup.target);
        return;
    }
  }

  // The run hands such a component to the registrar without looking for it; the registrar
  // finds it where the run would look for a component to copy.
  void ReviewBesideProgram(long number, const std::wstring& component, LineReport& report) {
    std::wstring folder;
    registration::SplitPath(component, folder);  // a listed line is short enough to split
    const std::wstring path = registration::ComponentSource(state_.AppPath, component, folder);
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

  void ReviewErrorLine(long number, const registration::Placement& placement, const catalogue::ErrorLine& e,
                       LineReport& report) {
    report.details.push_back(L"línea de error: " + Quote(e.Text()));
    switch (e.cause) {
      case catalogue::ErrorCause::FolderMissing:
        Add(number, Severity::Error, FindingCode::MissingDestination,
            L"La carpeta de destino " + placement.folder + L" no existe: la copia fallaría y Tovrel añadiría " +
                Quote(e.Text()) + L" al cuadro de errores (regsvr32.exe se iniciaría igualmente).");
        return;
      case catalogue::ErrorCause::DestinationHeld:
        Add(number, Severity::Error, FindingCode::DestinationHeld,
            L"Otro programa tiene abierto el archivo que la copia reemplazaría en " + placement.folder +
                L": la copia fallaría y Tovrel añadiría " + Quote(e.Text()) +
                L" al cuadro de errores (regsvr32.exe se iniciaría igualmente). Cierre ese programa antes.");
        return;
      case catalogue::ErrorCause::AllBackupNamesTaken:
        Add(number, Severity::Error, FindingCode::BackupNamesTaken,
            L"Los " + std::to_wstring(registration::kBackupNameCount) +
                L" nombres de copia de respaldo (000 a 999) están ocupados: Tovrel añadiría " + Quote(e.Text()) +
                L" y no reemplazaría el archivo.");
        return;
      default:
        Add(number, Severity::Error, FindingCode::ErrorLine,
            L"Tovrel añadiría al cuadro de errores " + Quote(e.Text()) + L".");
    }
  }

  // A list may hand the same file many times: it is read once.
  void ForecastComponents(platform::ComponentFiles& components) {
    std::map<std::wstring, ComponentForecast> read;
    std::map<long, LineReport*> lineReports;
    for (LineReport& line : result_.lines) lineReports.emplace(line.number, &line);
    for (const HandedComponent& handed : result_.handed) {
      const std::wstring key = handed.file + L"\n" + handed.argument + L"\n" + handed.destination;
      auto known = read.find(key);
      if (known == read.end()) known = read.emplace(key, ForecastComponent(handed, state_.AppPath, components)).first;
      const ComponentForecast& forecast = known->second;
      const auto report = lineReports.find(handed.line);
      if (report != lineReports.end() && !forecast.outcome.empty()) report->second->details.push_back(forecast.outcome);
      for (Finding finding : forecast.findings) {
        finding.line = handed.line;
        result_.findings.push_back(std::move(finding));
      }
    }
  }

  void Conclude() {
    std::stable_sort(result_.findings.begin(), result_.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    result_.entryLines = startup_.entries.size();
    result_.messages = startup_.messages.size();
    for (const ReadEntry& entry : startup_.entries) result_.errorLines += entry.fate == EntryFate::PassedOver ? 1 : 0;
    for (const auto& [line, effects] : run_.effects) {
      result_.launches += effects.commandLines.size();
      result_.messages += effects.messages.size();
      result_.errorLines += effects.errors.size();
    }
    if (result_.ending == Ending::Unreadable) {
      result_.exitCode = 2;
    } else {
      const bool anyError = std::any_of(result_.findings.begin(), result_.findings.end(),
                                        [](const Finding& f) { return f.severity == Severity::Error; });
      const bool clean = result_.ending == Ending::Finalizado && result_.messages == 0 && result_.errorLines == 0 &&
                         !window_.registrarDisabled && !anyError;
      result_.exitCode = clean ? 0 : 1;
    }
  }

  Workstation& ws_;
  StartupRecord startup_;
  RunRecord run_;
  DryRunFileSystem files_;
  platform::TextFiles fileNumbers_;
  CheckedFolder folders_;
  NoLauncher launcher_;
  UnseenWindow window_;
  MemoryChecklist checklist_;
  platform::Ports ports_;
  catalogue::MainState state_;
  catalogue::ChecklistIndex index_;
  CheckResult result_;
};

}  // namespace

CheckResult CheckList(Workstation& workstation) { return Check(workstation).Run(); }

}  // namespace tovrel::checker

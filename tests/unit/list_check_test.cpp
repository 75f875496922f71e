// The list checker against the in-memory platform: it must foresee exactly what a real run
// over the same workstation shows and does, and change nothing itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "checker/check_report.h"
#include "checker/list_check.h"
#include "registration/backup.h"
#include "commands/main_commands.h"
#include "tests/unit/workstation.h"

namespace tovrel::testing {
namespace {

using checker::FindingCode;
using checker::Severity;

const std::wstring kSys = L"C:\\Windows\\System32\\";

struct Checked {
  checker::CheckResult result;
  std::vector<std::pair<long, FindingCode>> codes;  // (line, code) of every finding
};

Checked CheckOn(Workstation& ws) {
  checker::Workstation seams{ws.files, ws.textFiles, ws.folders, ws.text, L"C:\\Tovrel"};
  Checked checked{checker::CheckList(seams), {}};
  for (const auto& f : checked.result.findings) checked.codes.emplace_back(f.line, f.code);
  return checked;
}

// What the program itself shows on an identical workstation: messages, then error lines.
struct RealRun {
  std::vector<std::wstring> messages;
  std::vector<std::wstring> errorLines;
  std::vector<std::wstring> backups;
  std::vector<std::wstring> commandLines;
};

RealRun RunTheProgram(const std::function<void(Workstation&)>& lay) {
  Workstation ws;
  lay(ws);
  commands::MainCommands commands(ws.ports, ws.window, ws.background);
  RealRun real;
  if (commands.Load() == catalogue::StartupResult::Ready) commands.RegistrarClick();
  for (const auto& m : ws.window.messages) real.messages.push_back(m.text);
  std::wstring text = ws.window.errorText;
  for (std::size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n")) {
    text.erase(0, at + 2);
    real.errorLines.push_back(text.substr(0, text.find(L"\r\n")));
  }
  for (const auto& copy : ws.files.copies) {
    if (!copy.replaceExisting) real.backups.push_back(copy.to);
  }
  for (const auto& launch : ws.launcher.launches) real.commandLines.push_back(launch.commandLine);
  return real;
}

// The same, as the checker reports it in its lines' details.
RealRun Foreseen(const checker::CheckResult& result) {
  RealRun seen;
  for (const std::wstring& note : result.startupNotes) seen.messages.push_back(note);
  for (const auto& line : result.lines) {
    for (const std::wstring& d : line.details) {
      const auto after = [&](const std::wstring& prefix) { return d.compare(0, prefix.size(), prefix) == 0; };
      if (after(L"registra: ")) seen.commandLines.push_back(d.substr(10));
      if (after(L"copia de respaldo: ") && d.find(L" -> ") != std::wstring::npos) {
        seen.backups.push_back(d.substr(d.find(L" -> ") + 4));
      }
    }
  }
  return seen;
}

void LayMixedWorkstation(Workstation& ws) {
  ws.WriteList({"' componentes",
                "app.dll,",                                 // 2: registered beside the program
                "comp.dll,Systempath$",                     // 3: backed up under 001, copied
                "falta.dll,winpath$",                       // 4: not in the application folder
                "aqui.dll,CurrentPath$",                    // 5: bare name (it is in the current folder)
                "C:\\Otra\\no.dll,CurrentPath$",            // 6: not there
                "cr.dll,Crystal$",                          // 7: no Crystal folder
                "sin coma",                                 // 8: passed over
                "COMP.DLL, systempath$ ",                   // 9: not the same text: copied again
                "comp.dll,Systempath$",                     // 10: repeats 3: backed up under 003
                "oculto.dll,Systempath$",                   // 11: the system file there is not replaced
                "C:\\Fuente\\lib.ocx,winpath$",             // 12: copied from its folder, bare name registered
                "C:\\Windows\\LIB.ocx,Systempath$",         // 13: the copy line 12 made is its source
                "C:\\Windows\\l*.ocx,Systempath$"});        // 14: found by the search, but no copy from a pattern
  ws.files.AddFile(L"C:\\Tovrel\\app.dll");
  ws.files.AddFile(L"C:\\Tovrel\\comp.dll", "new");
  ws.files.AddFile(kSys + L"comp.dll", "old");
  ws.files.AddFile(kSys + L"comp.000", "older");
  ws.files.AddFile(L"C:\\Actual\\aqui.dll");
  ws.files.AddFile(L"C:\\Tovrel\\cr.dll");
  ws.files.AddFile(L"C:\\Tovrel\\oculto.dll");
  ws.files.AddFile(kSys + L"oculto.dll", "", fake::kSystem);
  ws.files.AddFile(L"C:\\Fuente\\lib.ocx");
}

TEST(ListCheckTest, ForeseesWhatTheProgramShowsAndDoesWithoutChangingAnything) {
  const RealRun real = RunTheProgram(LayMixedWorkstation);
  Workstation ws;
  LayMixedWorkstation(ws);
  const std::size_t filesBefore = ws.files.FileCount();
  const Checked checked = CheckOn(ws);
  const checker::CheckResult& r = checked.result;

  EXPECT_EQ(ws.files.FileCount(), filesBefore);
  EXPECT_TRUE(ws.files.copies.empty());
  EXPECT_TRUE(ws.launcher.launches.empty());
  EXPECT_EQ(ws.textFiles.OpenCount(), 0u);

  const RealRun seen = Foreseen(r);
  EXPECT_EQ(seen.commandLines, real.commandLines);
  EXPECT_EQ(seen.backups, real.backups);
  EXPECT_EQ(real.backups, (std::vector<std::wstring>{kSys + L"comp.001", kSys + L"COMP.002", kSys + L"comp.003"}));
  // Every message and error line of the real run, word for word, stands in a finding.
  std::wstring findings;
  for (const auto& f : r.findings) findings += checker::FindingLine(f) + L"\n";
  for (const auto& note : r.startupNotes) findings += note + L"\n";
  for (const std::wstring& m : real.messages) {
    if (m == L"Finalizado") continue;
    EXPECT_NE(findings.find(L"\u00ab" + m + L"\u00bb"), std::wstring::npos) << m;
  }
  for (const std::wstring& e : real.errorLines) {
    EXPECT_NE(findings.find(L"\u00ab" + e + L"\u00bb"), std::wstring::npos) << e;
  }
  EXPECT_EQ(r.messages, real.messages.size() - 1);
  EXPECT_EQ(r.errorLines, real.errorLines.size());

  const std::vector<std::pair<long, FindingCode>> expected = {
      {4, FindingCode::ComponentMissing},   {5, FindingCode::FolderRequired},
      {6, FindingCode::ComponentMissing},   {7, FindingCode::MissingDestination},
      {8, FindingCode::PassedOverAtStartup}, {10, FindingCode::DuplicateLine},
      {11, FindingCode::ErrorLine},          {14, FindingCode::ErrorLine}};
  EXPECT_EQ(checked.codes, expected);
  EXPECT_EQ(r.findings[5].severity, Severity::Warning);
  EXPECT_EQ(r.ending, checker::Ending::Finalizado);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.entryLines, 13u);
  EXPECT_EQ(r.lines.at(5).details.at(0), L"destino: C:\\Windows\\Crystal");
  EXPECT_EQ(r.lines.at(0).details.at(0), L"destino: la carpeta de la aplicación (C:\\Tovrel\\)");
  EXPECT_EQ(r.lines.at(11).details.at(3), L"copia: C:\\Windows\\LIB.ocx -> C:\\Windows\\System32\\LIB.ocx");
  // Line 12: copied from its folder, shown and registered under its bare name; the label is
  // cleared after "Finalizado", which belongs to no line.
  EXPECT_EQ(r.lines.at(10).details,
            (std::vector<std::wstring>{L"destino: C:\\Windows", L"nada que respaldar: no hay C:\\Windows\\lib.ocx",
                                       L"componente: está en C:\\Fuente\\lib.ocx",
                                       L"copia: C:\\Fuente\\lib.ocx -> C:\\Windows\\lib.ocx",
                                       L"estado: \u00abRegistrando: lib.ocx\u00bb",
                                       L"registra: \"C:\\Tovrel\\\\regsvr32.exe \"\"lib.ocx\" /s "}));
}

TEST(ListCheckTest, AStoppingTokenAndTheLinesTheRunNeverReaches) {
  const auto lay = [](Workstation& ws) {
    ws.WriteList({"uno.dll,", "dos.dll,Crystal", "tres.dll,", "sin coma", "cuatro.dll,winpath$\t"});
    ws.files.AddFile(L"C:\\Tovrel\\uno.dll");
    ws.files.AddFile(L"C:\\Tovrel\\tres.dll");
  };
  Workstation ws;
  lay(ws);
  const Checked checked = CheckOn(ws);
  const std::vector<std::pair<long, FindingCode>> expected = {
      {2, FindingCode::UnknownToken}, {3, FindingCode::NeverReached},
      {4, FindingCode::PassedOverAtStartup}, {5, FindingCode::NeverReached}};
  EXPECT_EQ(checked.codes, expected);
  EXPECT_EQ(checked.result.ending, checker::Ending::Stopped);
  EXPECT_EQ(checked.result.stopLine, 2);
  EXPECT_EQ(checked.result.launches, RunTheProgram(lay).commandLines.size());
  EXPECT_NE(checker::SummaryLine(checked.result).find(L"se detendría en la línea 2"), std::wstring::npos);
  EXPECT_EQ(checked.result.exitCode, 1);
}

TEST(ListCheckTest, ExitCodesForACleanListAMissingRegistrarAndAnUnreadableList) {
  Workstation clean;
  clean.WriteList({"' nada que objetar", "app.dll,", "C:\\Fuente\\lib.ocx,winpath$"});
  clean.files.AddFile(L"C:\\Tovrel\\app.dll");
  clean.files.AddFile(L"C:\\Fuente\\lib.ocx");
  const Checked ok = CheckOn(clean);
  EXPECT_TRUE(ok.codes.empty());
  EXPECT_EQ(ok.result.exitCode, 0);
  EXPECT_EQ(checker::SummaryLine(ok.result),
            L"Resumen: 2 líneas de componentes, 2 registros, 0 errores, 0 advertencias; la ejecución terminaría en "
            L"\"Finalizado\", con 0 mensajes y 0 líneas de error. Código de salida 0.");

  // Without the registrar there is no run; the lines are still looked at as if it were there.
  clean.files.RemoveFile(kRegistrarPath);
  const Checked noRegistrar = CheckOn(clean);
  ASSERT_EQ(noRegistrar.codes.size(), 1u);
  EXPECT_EQ(noRegistrar.codes[0], std::make_pair(0L, FindingCode::RegistrarMissing));
  EXPECT_EQ(noRegistrar.result.launches, 2u);
  EXPECT_EQ(noRegistrar.result.exitCode, 1);
  EXPECT_EQ(checker::FindingLine(noRegistrar.result.findings[0]).substr(0, 30), L"TovrelSvr.lst: error TVR010: F");

  Workstation unreadable;
  const Checked missing = CheckOn(unreadable);
  EXPECT_EQ(missing.codes, (std::vector<std::pair<long, FindingCode>>{{0, FindingCode::ListUnreadable}}));
  EXPECT_EQ(missing.result.exitCode, 2);
  unreadable.WriteList({"a.dll,", "b.dll,"});
  unreadable.textFiles.FailReadAfter(kListPath, 1);
  EXPECT_EQ(CheckOn(unreadable).result.exitCode, 2);
}

TEST(ListCheckTest, AllBackupNamesTakenAndEntriesPastTheListLimit) {
  Workstation ws;
  std::vector<std::string> lines = {"comp.dll,Systempath$"};
  for (int i = 0; i < platform::Checklist::kMaxEntries + 1; ++i) lines.push_back("e" + std::to_string(i) + ".dll,");
  lines.push_back(std::string("nul\0,", 5));
  ws.WriteList(lines);
  ws.files.AddFile(L"C:\\Tovrel\\comp.dll");
  ws.files.AddFile(kSys + L"comp.dll");
  for (int i = 0; i < registration::kBackupNameCount; ++i) {
    wchar_t digits[4];
    swprintf(digits, 4, L"%03d", i);
    ws.files.AddFile(kSys + L"comp." + digits);
  }
  Checked checked = CheckOn(ws);
  const checker::CheckResult& r = checked.result;
  // Apart from the components that are not beside the program: the backups, two lines past
  // the limit, the NUL.
  auto& codes = checked.codes;
  codes.erase(std::remove_if(codes.begin(), codes.end(),
                             [](const auto& c) { return c.second == FindingCode::NotBesideProgram; }),
              codes.end());
  ASSERT_EQ(checked.codes.size(), 4u);
  EXPECT_EQ(checked.codes[0], std::make_pair(1L, FindingCode::BackupNamesTaken));
  EXPECT_EQ(checked.codes[1], std::make_pair(32768L, FindingCode::BeyondListLimit));
  EXPECT_EQ(checked.codes[2], std::make_pair(32769L, FindingCode::BeyondListLimit));
  EXPECT_EQ(checked.codes[3], std::make_pair(32770L, FindingCode::PassedOverAtStartup));
  const auto nul = std::find_if(r.findings.begin(), r.findings.end(),
                               [](const auto& f) { return f.code == FindingCode::PassedOverAtStartup; });
  ASSERT_NE(nul, r.findings.end());
  EXPECT_NE(nul->text.find(L"TovrelSvr.lst, línea 32770: La línea contiene un carácter nulo."),
            std::wstring::npos);
  EXPECT_EQ(r.launches, 32767u);
  EXPECT_EQ(r.exitCode, 1);
}

TEST(CheckReportTest, FindingsReadAsCompilerMessagesOnOneLine) {
  EXPECT_EQ(checker::FindingLine({12, Severity::Error, FindingCode::UnknownToken, L"a\r\nb\tc"}),
            L"TovrelSvr.lst(12): error TVR001: a / b<TAB>c");
  EXPECT_EQ(checker::FindingLine({3, Severity::Warning, FindingCode::NotBesideProgram, L"x"}),
            L"TovrelSvr.lst(3): warning TVR013: x");
}

}  // namespace
}  // namespace tovrel::testing

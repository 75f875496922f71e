#include <gtest/gtest.h>

#include <algorithm>

#include "registration/backup.h"
#include "commands/main_commands.h"
#include "registration/run_messages.h"
#include "tests/unit/workstation.h"

namespace tovrel::testing {
namespace {

using platform::MessageIcon;
using registration::RunOutcome;

const std::wstring kSys = L"C:\\Windows\\System32\\";
const std::wstring kNotFound = L"El sistema no puede encontrar el archivo especificado.";

std::wstring Silent(const std::wstring& component) {
  return L"\"C:\\Tovrel\\\\regsvr32.exe \"\"" + component + L"\" /s ";
}

class RunTest : public ::testing::Test {
 protected:
  // Writes the list, starts up (every entry checked) and clears what start-up showed.
  void Start(const std::vector<std::string>& lines) {
    ws_.WriteList(lines);
    ASSERT_EQ(commands_.Load(), catalogue::StartupResult::Ready);
    ws_.window.messages.clear();
    ws_.window.errorText.clear();
    ws_.journal.clear();
  }
  std::optional<RunOutcome> Run() { return commands_.RegistrarClick(); }
  std::vector<std::wstring> Launched() const {
    std::vector<std::wstring> lines;
    for (const auto& launch : ws_.launcher.launches) {
      EXPECT_EQ(launch.applicationPath, kRegistrarPath);
      lines.push_back(launch.commandLine);
    }
    return lines;
  }
  std::vector<std::wstring> MessageTexts() const {
    std::vector<std::wstring> texts;
    for (const auto& m : ws_.window.messages) texts.push_back(m.text);
    return texts;
  }
  void Uncheck(int index) { ws_.checklist.entries.at(static_cast<std::size_t>(index)).checked = false; }

  Workstation ws_;
  commands::MainCommands commands_{ws_.ports, ws_.window, ws_.background};
};

TEST(RunMessagesTest, TextsTitlesAndIconsAreExact) {
  const struct {
    registration::OperatorMessage message;
    const wchar_t* text;
    const wchar_t* title;
    MessageIcon icon;
  } cases[] = {
      {registration::MissingComponentMessage(L"a.dll"),
       L"El Archivo que intenta registrar ( a.dll ) no se encuentra en la ubicacion especificada!!!",
       L"Aviso al operador", MessageIcon::Critical},
      {registration::FolderRequiredMessage(L"a.dll"),
       L"El Archivo que intenta registrar ( a.dll ) debe tener especificada la ubicacion !!!", L"Aviso al operador",
       MessageIcon::Critical},
      {registration::MissingInAppFolderMessage(L"C:\\Tovrel\\", L"a.dll"),
       L"El Archivo que intenta registrar (C:\\Tovrel\\a.dll) no se encuentra en la ubicacion especificada!!!",
       L"Aviso al operador", MessageIcon::Critical},
      {registration::DefinitionErrorMessage(), L"Error en la definicion del archivo de Registro",
       L"Aviso al operador!!!", MessageIcon::Critical},
      {registration::ClosingMessage(), L"Finalizado", L"Atención", MessageIcon::Information},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.message.text, c.text);
    EXPECT_EQ(c.message.title, c.title);
    EXPECT_EQ(c.message.icon, c.icon);
  }
}

TEST(RegistrarCommandLineTest, IsBuiltByteForByte) {
  EXPECT_EQ(registration::RegistrarCommandLine(L"C:\\Tovrel\\", L"comp.dll", false),
            L"\"C:\\Tovrel\\\\regsvr32.exe \"\"comp.dll\" /s ");
  EXPECT_EQ(registration::RegistrarCommandLine(L"D:\\", L" a b.ocx", true), L"\"D:\\\\regsvr32.exe \"\" a b.ocx\" ");
}

TEST_F(RunTest, EmptyTokenRegistersInPlaceWithoutLookingOrCopying) {
  Start({"comp.dll,", "other.dll,  "});
  ws_.files.FailLookupOf(L"C:\\Tovrel\\comp.dll");  // any lookup would leave an error line
  EXPECT_EQ(Run(), RunOutcome::Ended);
  EXPECT_EQ(Launched(), (std::vector<std::wstring>{Silent(L"comp.dll"), Silent(L"other.dll")}));
  EXPECT_TRUE(ws_.files.copies.empty());
  EXPECT_EQ(ws_.window.errorText, L"");
  const std::vector<std::wstring> journal = {
      L"status Registrando: comp.dll", L"yield", L"launch " + Silent(L"comp.dll"),
      L"status Registrando: other.dll", L"yield", L"launch " + Silent(L"other.dll"),
      L"message Finalizado", L"status "};
  EXPECT_EQ(ws_.journal, journal);
  EXPECT_EQ(ws_.window.messages.back().title, L"Atención");
  EXPECT_EQ(ws_.window.messages.back().icon, MessageIcon::Information);
}

TEST_F(RunTest, AFolderEqualToTheApplicationFolderInAnyCaseIsNotCopied) {
  ws_.folders.windowsDir = L"c:\\TOVREL\\";
  Start({"comp.dll,winpath$"});
  ws_.files.AddFile(L"C:\\Tovrel\\comp.dll");
  Run();
  EXPECT_TRUE(ws_.files.copies.empty());
  EXPECT_EQ(Launched(), (std::vector<std::wstring>{Silent(L"comp.dll")}));
}

TEST_F(RunTest, ABareNameIsCopiedFromTheApplicationFolder) {
  Start({"comp.dll,SYSTEMPATH$"});
  ws_.files.AddFile(L"C:\\Tovrel\\comp.dll", "new");
  EXPECT_EQ(Run(), RunOutcome::Ended);
  ASSERT_EQ(ws_.files.copies.size(), 1u);
  EXPECT_EQ(ws_.files.copies[0].from, L"C:\\Tovrel\\comp.dll");
  EXPECT_EQ(ws_.files.copies[0].to, kSys + L"comp.dll");
  EXPECT_TRUE(ws_.files.copies[0].replaceExisting);
  EXPECT_FALSE(ws_.files.HasFile(kSys + L"comp.000"));
  EXPECT_EQ(ws_.journal.at(1), L"status Registrando: comp.dll");
  EXPECT_EQ(Launched(), (std::vector<std::wstring>{Silent(L"comp.dll")}));
  EXPECT_EQ(ws_.window.status, L"");
}

TEST_F(RunTest, AnExistingFileIsBackedUpUnderTheNextNumberBeforeItIsReplaced) {
  Start({"comp.dll,Systempath$", "comp.dll,Systempath$"});
  ws_.files.AddFile(L"C:\\Tovrel\\comp.dll", "new");
  ws_.files.AddFile(kSys + L"comp.dll", "old");
  ws_.files.AddFile(kSys + L"comp.000", "older");
  Run();
  EXPECT_EQ(ws_.journal.at(0), L"copy " + kSys + L"comp.dll -> " + kSys + L"comp.001");
  EXPECT_EQ(ws_.journal.at(1), L"copy C:\\Tovrel\\comp.dll -> " + kSys + L"comp.dll");
  EXPECT_EQ(ws_.files.File(kSys + L"comp.001")->bytes, "old");
  // The duplicate line finds the file the first pass copied and saves it under 002.
  EXPECT_EQ(ws_.files.File(kSys + L"comp.002")->bytes, "new");
  EXPECT_EQ(ws_.files.File(kSys + L"comp.dll")->bytes, "new");
  EXPECT_EQ(Launched().size(), 2u);
}

TEST_F(RunTest, AComponentWithAFolderIsCopiedAndRegisteredUnderItsBareName) {
  Start({"D:\\Src\\comp.dll,winpath$"});
  ws_.files.AddFile(L"D:\\Src\\comp.dll");
  Run();
  ASSERT_EQ(ws_.files.copies.size(), 1u);
  EXPECT_EQ(ws_.files.copies[0].to, L"C:\\Windows\\comp.dll");
  EXPECT_EQ(ws_.journal.at(1), L"status Registrando: comp.dll");
  EXPECT_EQ(Launched(), (std::vector<std::wstring>{Silent(L"comp.dll")}));
}

TEST_F(RunTest, AComponentMissingAfterTheBackupStillLeavesTheBackup) {
  Start({"comp.dll,winpath$", "D:\\Src\\gone.dll,winpath$"});
  ws_.files.AddFile(L"C:\\Windows\\comp.dll", "old");
  EXPECT_EQ(Run(), RunOutcome::Ended);
  EXPECT_TRUE(ws_.files.HasFile(L"C:\\Windows\\comp.000"));
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{
                                registration::MissingInAppFolderMessage(kAppPath, L"comp.dll").text,
                                registration::MissingComponentMessage(L"D:\\Src\\gone.dll").text, L"Finalizado"}));
  EXPECT_TRUE(Launched().empty());
}

TEST_F(RunTest, CopyIntoAMissingFolderIsAnErrorLineAndStillRegisters) {
  Start({"comp.dll,Crystal$"});
  ws_.files.AddFile(L"C:\\Tovrel\\comp.dll");
  Run();
  EXPECT_EQ(ws_.window.errorText, L"\r\ncomp.dll El sistema no puede encontrar la ruta especificada.");
  EXPECT_EQ(Launched(), (std::vector<std::wstring>{Silent(L"comp.dll")}));
}

TEST_F(RunTest, InPlaceRegistrationNeedsAnExistingFileWithAFolder) {
  Start({"comp.dll,CurrentPath$", "D:\\Src\\a.dll, currentpath$", "D:\\Src\\gone.dll,CurrentPath$"});
  ws_.files.AddFile(L"D:\\Src\\a.dll");
  Run();
  ws_.files.AddFile(L"C:\\Actual\\comp.dll");  // now the bare name exists in the current folder
  Run();
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{
                                registration::MissingComponentMessage(L"comp.dll").text,
                                registration::MissingComponentMessage(L"D:\\Src\\gone.dll").text, L"Finalizado",
                                registration::FolderRequiredMessage(L"comp.dll").text,
                                registration::MissingComponentMessage(L"D:\\Src\\gone.dll").text, L"Finalizado"}));
  EXPECT_EQ(Launched(), (std::vector<std::wstring>(2, Silent(L"D:\\Src\\a.dll"))));
  EXPECT_TRUE(ws_.files.copies.empty());
}

TEST_F(RunTest, LeadingBlanksBelongToTheComponent) {
  Start({"  comp.dll,Systempath$"});
  ws_.files.AddFile(L"C:\\Tovrel\\  comp.dll");
  Run();
  ASSERT_EQ(ws_.files.copies.size(), 1u);
  EXPECT_EQ(ws_.files.copies[0].to, kSys + L"  comp.dll");
  EXPECT_EQ(Launched(), (std::vector<std::wstring>{Silent(L"  comp.dll")}));
}

TEST_F(RunTest, UncheckedLinesAreSkippedWithoutAnyMessage) {
  Start({"a.dll,", "b.dll,nada", "'c", "a.dll,"});
  Uncheck(1);
  EXPECT_EQ(Run(), RunOutcome::Ended);
  EXPECT_EQ(Launched(), (std::vector<std::wstring>(2, Silent(L"a.dll"))));
  // The first of two equal entries decides for both lines.
  Uncheck(2);
  ws_.launcher.launches.clear();
  Run();
  EXPECT_EQ(Launched().size(), 2u);
  Uncheck(0);
  ws_.launcher.launches.clear();
  ws_.window.messages.clear();
  EXPECT_EQ(Run(), RunOutcome::Ended);
  EXPECT_TRUE(Launched().empty());
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{L"Finalizado"}));
}

TEST_F(RunTest, AnUnrecognisedTokenStopsTheRunAndReleasesTheFile) {
  Start({"a.dll,", "b.dll,Systempath$,x", "c.dll,"});
  ws_.window.errorText = L"viejo";
  EXPECT_EQ(Run(), RunOutcome::Stopped);
  EXPECT_EQ(Launched(), (std::vector<std::wstring>{Silent(L"a.dll")}));
  ASSERT_EQ(ws_.window.messages.size(), 1u);
  EXPECT_EQ(ws_.window.messages[0].text, L"Error en la definicion del archivo de Registro");
  EXPECT_EQ(ws_.window.messages[0].title, L"Aviso al operador!!!");
  EXPECT_EQ(ws_.window.status, L"Registrando: a.dll");
  EXPECT_EQ(ws_.window.errorText, L"viejo");
  EXPECT_EQ(ws_.textFiles.OpenCount(), 0u);
  // A later run starts afresh from the first line.
  EXPECT_EQ(Run(), RunOutcome::Stopped);
  EXPECT_EQ(Launched().size(), 2u);
}

TEST_F(RunTest, ALineWithoutACommaLogsThePreviousComponentText) {
  Start({"sin coma", "a.dll,", "otra sin coma", "b.dll,"});
  EXPECT_EQ(Run(), RunOutcome::Ended);
  const std::wstring noComma = L"La línea no tiene coma: falta la ubicación del componente.";
  EXPECT_EQ(ws_.window.errorText, L"\r\n " + noComma + L"\r\na.dll " + noComma);
  EXPECT_EQ(Launched(), (std::vector<std::wstring>{Silent(L"a.dll"), Silent(L"b.dll")}));
}

TEST_F(RunTest, RefusedExistenceTestsOfTheComponentCountAsMissing) {
  Start({"a.dll,winpath$", "D:\\b.dll,CurrentPath$"});
  ws_.files.AddFile(L"C:\\Tovrel\\a.dll");
  ws_.files.AddFile(L"D:\\b.dll");
  ws_.files.FailLookupOf(L"C:\\Tovrel\\a.dll");
  ws_.files.FailLookupOf(L"D:\\b.dll");
  Run();
  EXPECT_EQ(ws_.window.errorText, L"\r\na.dll El dispositivo no está listo.\r\nD:\\b.dll El dispositivo no está listo.");
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{
                                registration::MissingInAppFolderMessage(kAppPath, L"a.dll").text,
                                registration::MissingComponentMessage(L"D:\\b.dll").text, L"Finalizado"}));
  EXPECT_TRUE(Launched().empty());
}

TEST_F(RunTest, AFileThatCannotBeBackedUpIsNotReplacedButTheRunGoesOn) {
  Start({"a.dll,Systempath$", "D:\\Src\\b.dll,Systempath$", "c.dll,Systempath$"});
  for (const wchar_t* name : {L"C:\\Tovrel\\a.dll", L"D:\\Src\\b.dll", L"C:\\Tovrel\\c.dll"}) ws_.files.AddFile(name, "new");
  ws_.files.AddFile(kSys + L"a.dll", "old a");
  ws_.files.AddFile(kSys + L"b.dll", "old b");
  ws_.files.FailCopyTo(kSys + L"a.000");                       // the backup copy fails
  for (int i = 0; i < 1000; ++i) ws_.files.AddFile(registration::BackupCandidateName(kSys + L"b.dll", 5, i));
  ws_.files.FailLookupOf(kSys + L"c.dll");                     // the target cannot be looked up
  EXPECT_EQ(Run(), RunOutcome::Ended);

  EXPECT_EQ(ws_.files.File(kSys + L"a.dll")->bytes, "old a");
  EXPECT_EQ(ws_.files.File(kSys + L"b.dll")->bytes, "old b");
  EXPECT_FALSE(ws_.files.HasFile(kSys + L"c.dll"));
  EXPECT_TRUE(ws_.files.copies.empty());
  const std::wstring& box = ws_.window.errorText;
  EXPECT_EQ(box.rfind(L"\r\na.dll Acceso denegado. No se reemplazó " + kSys + L"a.dll.", 0), 0u);
  EXPECT_NE(box.find(L"\r\nD:\\Src\\b.dll Los 1000"), std::wstring::npos);
  EXPECT_NE(box.find(L"No se reemplazó " + kSys + L"b.dll."), std::wstring::npos);
  EXPECT_NE(box.find(L"\r\nc.dll El dispositivo no está listo. No se reemplazó " + kSys + L"c.dll."), std::wstring::npos);
  EXPECT_EQ(std::count(box.begin(), box.end(), L'\n'), 3);
  // Registered anyway, under the bare name.
  EXPECT_EQ(Launched(), (std::vector<std::wstring>{Silent(L"a.dll"), Silent(L"b.dll"), Silent(L"c.dll")}));
}

TEST_F(RunTest, ARefusedBackupCandidateIsLoggedAndTheNextNumberTaken) {
  Start({"a.dll,Systempath$"});
  ws_.files.AddFile(L"C:\\Tovrel\\a.dll", "new");
  ws_.files.AddFile(kSys + L"a.dll", "old");
  ws_.files.FailLookupOf(kSys + L"a.000");
  Run();
  EXPECT_EQ(ws_.window.errorText, L"\r\na.dll El dispositivo no está listo.");
  EXPECT_EQ(ws_.files.File(kSys + L"a.001")->bytes, "old");
  EXPECT_EQ(ws_.files.File(kSys + L"a.dll")->bytes, "new");
}

TEST_F(RunTest, FailedCopiesAndLaunchesAreLoggedAndTheRunGoesOn) {
  Start({"D:\\Src\\a.dll,winpath$", "b.dll,", "c.dll,"});
  ws_.files.AddFile(L"D:\\Src\\a.dll");
  ws_.files.FailCopyFrom(L"D:\\Src\\a.dll");
  int launchNumber = 0;
  ws_.window.onYield = [&] { ws_.launcher.fail = (++launchNumber == 2); };
  EXPECT_EQ(Run(), RunOutcome::Ended);
  // The copy's error line carries the path; the registration goes on under the bare name.
  EXPECT_EQ(ws_.window.errorText, L"\r\nD:\\Src\\a.dll Acceso denegado.\r\nb.dll " + kNotFound);
  EXPECT_EQ(Launched(), (std::vector<std::wstring>{Silent(L"a.dll"), Silent(L"c.dll")}));

  // A failed launch after a copy carries the bare name.
  ws_.window.errorText.clear();
  ws_.window.onYield = [&] { ws_.launcher.fail = true; };
  Run();
  EXPECT_EQ(ws_.window.errorText.rfind(L"\r\nD:\\Src\\a.dll Acceso denegado.\r\na.dll " + kNotFound, 0), 0u);
}

struct Killed {};  // the process ended at a step of a copy

// The process ended at every step of both copies of a replacement (the backup, then the
// component): the old content stays in place or in its backup, nothing torn lies under a
// name a run counts, and a later run completes the work.
TEST(RunKillTest, AKilledRunLeavesOldOrNewWholeAndALaterRunCompletesIt) {
  using fake::CopyStep;
  for (int killedCopy = 1; killedCopy <= 2; ++killedCopy) {
    for (const CopyStep step : {CopyStep::CreateTemporary, CopyStep::Write, CopyStep::Flush, CopyStep::Rename}) {
      SCOPED_TRACE(::testing::Message() << "copy " << killedCopy << " step " << static_cast<int>(step));
      Workstation ws;
      ws.WriteList({"comp.dll,Systempath$"});
      ws.files.AddFile(L"C:\\Tovrel\\comp.dll", "new");
      ws.files.AddFile(kSys + L"comp.dll", "old");
      int copies = 0;
      ws.files.duringCopy = [&](CopyStep now, const std::wstring&) {
        if (now == CopyStep::CreateTemporary) ++copies;
        if (copies == killedCopy && now == step) throw Killed{};
      };
      {
        commands::MainCommands killed(ws.ports, ws.window, ws.background);
        ASSERT_EQ(killed.Load(), catalogue::StartupResult::Ready);
        killed.RegistrarClick();
      }
      const std::string now = ws.files.File(kSys + L"comp.dll")->bytes;
      EXPECT_TRUE(now == "old" || now == "new") << now;
      const fake::FakeFile* backup = ws.files.File(kSys + L"comp.000");
      if (backup) {
        EXPECT_EQ(backup->bytes, "old");
      } else {
        EXPECT_EQ(now, "old") << "the old content is gone";
      }
      EXPECT_LE(ws.files.TemporaryFiles().size(), 1u);
      EXPECT_TRUE(ws.launcher.launches.empty());

      ws.files.duringCopy = nullptr;
      commands::MainCommands later(ws.ports, ws.window, ws.background);
      ASSERT_EQ(later.Load(), catalogue::StartupResult::Ready);
      EXPECT_EQ(later.RegistrarClick(), RunOutcome::Ended);
      EXPECT_EQ(ws.files.File(kSys + L"comp.dll")->bytes, "new");
      EXPECT_EQ(ws.files.File(kSys + L"comp.000")->bytes, "old");
      EXPECT_TRUE(ws.files.TemporaryFiles().empty());
      EXPECT_EQ(ws.window.errorText, L"");
      EXPECT_EQ(ws.launcher.launches.size(), 1u);
    }
  }
}

TEST_F(RunTest, ACopyFailingAtAnyStepIsOneErrorLineAndLeavesTheOldFileAndNoTemporary) {
  Start({"a.dll,Systempath$", "b.dll,Systempath$", "c.dll,Systempath$", "d.dll,Systempath$"});
  const fake::CopyStep steps[] = {fake::CopyStep::CreateTemporary, fake::CopyStep::Write, fake::CopyStep::Flush,
                                  fake::CopyStep::Rename};
  const wchar_t* names[] = {L"a.dll", L"b.dll", L"c.dll", L"d.dll"};
  for (int i = 0; i < 4; ++i) {
    ws_.files.AddFile(kAppPath + std::wstring(names[i]), "new");
    ws_.files.AddFile(kSys + names[i], "old");
    ws_.files.FailCopyTo(kSys + names[i], steps[i]);
  }
  EXPECT_EQ(Run(), RunOutcome::Ended);
  EXPECT_EQ(ws_.window.errorText, L"\r\na.dll Acceso denegado.\r\nb.dll No hay espacio suficiente en el disco."
                                  L"\r\nc.dll Error de E/S en el dispositivo.\r\nd.dll Acceso denegado.");
  for (const wchar_t* name : names) {
    EXPECT_EQ(ws_.files.File(kSys + name)->bytes, "old");
    EXPECT_EQ(ws_.files.File(registration::BackupCandidateName(kSys + name, 5, 0))->bytes, "old");
  }
  EXPECT_TRUE(ws_.files.TemporaryFiles().empty());
  EXPECT_EQ(Launched().size(), 4u);
}

TEST_F(RunTest, ErrorLinesAccumulateOverRuns) {
  Start({"a.dll,"});
  ws_.launcher.fail = true;
  Run();
  Run();
  EXPECT_EQ(ws_.window.errorText, L"\r\na.dll " + kNotFound + L"\r\na.dll " + kNotFound);
}

TEST_F(RunTest, ChangesMadeDuringTheYieldCountForLaterLines) {
  Start({"a.dll,", "b.dll,", "c.dll,", "d.dll,"});
  int yieldNumber = 0;
  ws_.window.onYield = [&] {
    switch (++yieldNumber) {
      case 1: ws_.window.showRegistrarMessages = true; Uncheck(2); break;  // counts for this launch
      case 2: ws_.window.showRegistrarMessages = false; break;
    }
  };
  Run();
  EXPECT_EQ(Launched(), (std::vector<std::wstring>{L"\"C:\\Tovrel\\\\regsvr32.exe \"\"a.dll\" ", Silent(L"b.dll"),
                                                   Silent(L"d.dll")}));
}

TEST_F(RunTest, ASecondPressDuringTheYieldIsIgnored) {
  Start({"a.dll,", "b.dll,", "c.dll,"});
  std::vector<std::optional<RunOutcome>> nested;
  ws_.window.onYield = [&] { nested.push_back(commands_.RegistrarClick()); };
  EXPECT_EQ(Run(), RunOutcome::Ended);
  EXPECT_EQ(nested, (std::vector<std::optional<RunOutcome>>(3, std::nullopt)));
  EXPECT_EQ(Launched().size(), 3u);
  EXPECT_EQ(ws_.textFiles.opened.size(), 2u);  // start-up and the one run
  ws_.window.onYield = nullptr;
  EXPECT_EQ(Run(), RunOutcome::Ended);  // once it is over, a press runs again
}

TEST_F(RunTest, AnUnreadableListEndsTheRunWithAnErrorLine) {
  Start({"a.dll,", "b.dll,", "c.dll,"});
  ws_.window.status = L"antes";
  ws_.textFiles.FailReadAfter(kListPath, 2);
  EXPECT_EQ(Run(), RunOutcome::ListUnreadable);
  EXPECT_EQ(Launched(), (std::vector<std::wstring>{Silent(L"a.dll"), Silent(L"b.dll")}));
  EXPECT_EQ(ws_.window.errorText, L"\r\nC:\\Tovrel\\TovrelSvr.lst Error de lectura en el disco.");
  EXPECT_TRUE(ws_.window.messages.empty());
  EXPECT_EQ(ws_.window.status, L"Registrando: b.dll");
  EXPECT_EQ(ws_.textFiles.OpenCount(), 0u);

  ws_.files.RemoveFile(kListPath);
  ws_.window.errorText.clear();
  EXPECT_EQ(Run(), RunOutcome::ListUnreadable);
  EXPECT_EQ(ws_.window.errorText, L"\r\nC:\\Tovrel\\TovrelSvr.lst " + kNotFound);
  EXPECT_TRUE(ws_.window.messages.empty());
}

TEST_F(RunTest, LinesAddedAfterStartUpCountAsUnchecked) {
  Start({"a.dll,"});
  ws_.WriteList({"a.dll,", "nuevo.dll,bad"});
  EXPECT_EQ(Run(), RunOutcome::Ended);
  EXPECT_EQ(Launched().size(), 1u);
}

TEST_F(RunTest, MarcarInvertsEveryMark) {
  Start({"a.dll,", "b.dll,"});
  Uncheck(0);
  commands_.MarcarClick();
  EXPECT_TRUE(ws_.checklist.entries[0].checked);
  EXPECT_FALSE(ws_.checklist.entries[1].checked);
}

// A comparer that cannot work out the next few keys asked of it.
class FailingKeys : public fake::FakeComparer {
 public:
  int failuresLeft = 0;
  std::string SortKey(std::wstring_view text) override {
    if (failuresLeft > 0) {
      --failuresLeft;
      throw platform::PlatformError(L"No hay memoria suficiente.");
    }
    return FakeComparer::SortKey(text);
  }
};

// The look-ups are prepared beside the window; when that fails the run prepares them itself,
// and when that fails too it stops before it reads a line, rather than find nothing checked.
TEST(RunLookupsTest, KeysThatCouldNotBeWorkedOutBesideTheWindowAreTriedAgainByTheRun) {
  Workstation ws;
  FailingKeys keys;
  platform::Ports ports{ws.files, ws.fileNumbers, ws.folders, ws.launcher, keys, ws.window, ws.checklist};
  commands::MainCommands commands(ports, ws.window, ws.background);
  ws.WriteList({"comp.dll,", "other.dll,"});
  keys.failuresLeft = 1;
  ASSERT_EQ(commands.Load(), catalogue::StartupResult::Ready);
  ws.checklist.entries.at(1).checked = false;
  EXPECT_EQ(commands.RegistrarClick(), RunOutcome::Ended);
  ASSERT_EQ(ws.launcher.launches.size(), 1u);
  EXPECT_EQ(ws.launcher.launches[0].commandLine, Silent(L"comp.dll"));

  keys.failuresLeft = 2;
  ASSERT_EQ(commands.Load(), catalogue::StartupResult::Ready);
  EXPECT_THROW(commands.RegistrarClick(), platform::PlatformError);
  EXPECT_EQ(ws.launcher.launches.size(), 1u);
  EXPECT_EQ(ws.background.started, 2);
}

}  // namespace
}  // namespace tovrel::testing

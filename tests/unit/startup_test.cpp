#include <gtest/gtest.h>

#include <algorithm>

#include "catalogue/checklist_selection.h"
#include "catalogue/startup.h"
#include "catalogue/startup_messages.h"
#include "commands/window_report.h"
#include "tests/unit/workstation.h"

namespace tovrel::testing {
namespace {

using platform::MessageIcon;

class StartupTest : public ::testing::Test {
 protected:
  catalogue::StartupResult Load() {
    const catalogue::StartupResult result = catalogue::RunStartup(state_, index_, ws_.ports, report_);
    index_.Finish(ws_.text);
    return result;
  }
  const catalogue::MainState& State() const { return state_; }
  bool ArchSeleccionado(const std::wstring& nombre) {
    return catalogue::ArchSeleccionado(nombre, index_, ws_.checklist, ws_.text);
  }

  Workstation ws_;
  catalogue::MainState state_;
  catalogue::ChecklistIndex index_;
  commands::WindowReport report_{ws_.window};
};

TEST_F(StartupTest, ReadyListsEveryEntryLineAsReadAndChecked) {
  ws_.WriteList({"' comentario", "", "   ", "  comp.dll ,Systempath$", "b.ocx,winpath$,x", "c.dll,Otro",
                 "\t'd.dll,", "b.ocx,winpath$,x", "e.dll,"});
  ws_.window.errorText = L"antes";
  ASSERT_EQ(Load(), catalogue::StartupResult::Ready);

  const std::vector<std::wstring> expected = {L"  comp.dll ,Systempath$", L"b.ocx,winpath$,x", L"c.dll,Otro",
                                              L"\t'd.dll,", L"b.ocx,winpath$,x", L"e.dll,"};
  EXPECT_EQ(ws_.ListedTexts(), expected);
  for (const auto& entry : ws_.checklist.entries) EXPECT_TRUE(entry.checked) << entry.text;
  EXPECT_EQ(ws_.checklist.appendsOutsideUpdate, 0);
  EXPECT_EQ(ws_.checklist.updateDepth, 0);
  EXPECT_TRUE(ws_.window.messages.empty());
  EXPECT_FALSE(ws_.window.registrarDisabled);
  EXPECT_EQ(ws_.window.errorText, L"antes");
  EXPECT_EQ(ws_.textFiles.OpenCount(), 0u);

  const catalogue::MainState& s = State();
  EXPECT_EQ(s.FileNum, 1);
  EXPECT_EQ(s.ListFile, L"TovrelSvr.lst");
  EXPECT_EQ(s.AppPath, kAppPath);
  EXPECT_EQ(s.WinPath, L"C:\\Windows");
  EXPECT_EQ(s.SysPath, L"C:\\Windows\\System32");
  EXPECT_EQ(s.CrystalPath, L"C:\\Windows\\Crystal");

  // The index built while filling answers for the listed texts.
  ws_.checklist.entries[1].checked = false;
  EXPECT_FALSE(ArchSeleccionado(L" B.OCX,WINPATH$,X"));
  EXPECT_TRUE(ArchSeleccionado(L"c.dll,otro"));
}

TEST_F(StartupTest, EmptyOrCommentOnlyListStartsNormallyWithNothingListed) {
  for (const std::vector<std::string>& lines : {std::vector<std::string>{}, std::vector<std::string>{"'a", "  ", "'b,c"}}) {
    ws_.WriteList(lines);
    ASSERT_EQ(Load(), catalogue::StartupResult::Ready);
    EXPECT_EQ(ws_.checklist.Count(), 0);
    EXPECT_TRUE(ws_.window.messages.empty());
    EXPECT_FALSE(ws_.window.registrarDisabled);
  }
}

TEST_F(StartupTest, MissingRegistrarIsToldAndDisablesRegistering) {
  ws_.files.RemoveFile(kRegistrarPath);
  ws_.WriteList({"a.dll,"});
  ws_.checklist.entries.push_back({L"stale,", true});
  ASSERT_EQ(Load(), catalogue::StartupResult::RegistrarMissing);

  ASSERT_EQ(ws_.window.messages.size(), 1u);
  EXPECT_EQ(ws_.window.messages[0].text,
            L"No se encuentra el Archivo regsvr32.exe, el mismo debe estar en el mismo directorio de la "
            L"aplicacion (C:\\Tovrel\\)");
  EXPECT_EQ(ws_.window.messages[0].title, L"Aviso al operador!!!");
  EXPECT_EQ(ws_.window.messages[0].icon, MessageIcon::Critical);
  EXPECT_TRUE(ws_.window.registrarDisabled);
  EXPECT_EQ(ws_.checklist.Count(), 0);
  EXPECT_EQ(State().ListFile, L"");
  EXPECT_EQ(State().FileNum, 1);
  EXPECT_TRUE(ws_.textFiles.opened.empty());
}

TEST_F(StartupTest, RegistrarHiddenOrLookupRefusedCountsAsMissing) {
  ws_.files.AddFile(kRegistrarPath, "MZ", fake::kHidden);
  EXPECT_EQ(Load(), catalogue::StartupResult::RegistrarMissing);
  ws_.files.AddFile(kRegistrarPath, "MZ");
  ws_.files.FailLookupOf(kRegistrarPath);
  EXPECT_EQ(Load(), catalogue::StartupResult::RegistrarMissing);
}

TEST_F(StartupTest, ApplicationFolderGetsExactlyOneTrailingBackslash) {
  ws_.folders.applicationFolder = L"D:\\";
  Load();
  EXPECT_EQ(State().AppPath, L"D:\\");
  ASSERT_EQ(ws_.window.messages.size(), 1u);  // no registrar at D:\ in this workstation
  EXPECT_NE(ws_.window.messages[0].text.find(L"aplicacion (D:\\)"), std::wstring::npos);

  ws_.files.AddFile(L"D:\\regsvr32.exe");
  ws_.files.AddFile(L"D:\\TovrelSvr.lst", "a.dll,");
  ws_.window.messages.clear();
  EXPECT_EQ(Load(), catalogue::StartupResult::Ready);
  EXPECT_EQ(ws_.checklist.Count(), 1);
}

TEST_F(StartupTest, CentresInFloatHalvingSizesFirst) {
  const struct {
    platform::Size screen, window;
    float left, top;
  } cases[] = {
      {{1024, 768}, {601, 401}, 211.5f, 183.5f},
      {{1023, 767}, {600, 400}, 211.5f, 183.5f},
      {{800, 600}, {1001, 701}, -100.5f, -50.5f},  // larger than the screen: negative, unclamped
      {{15361, 11521}, {9001, 7001}, 3180.0f, 2260.0f},
  };
  for (const auto& c : cases) {
    ws_.window.screen = c.screen;
    ws_.window.window = c.window;
    ws_.window.moves.clear();
    Load();
    ASSERT_EQ(ws_.window.moves.size(), 1u);
    EXPECT_FLOAT_EQ(ws_.window.moves[0].first, c.left);
    EXPECT_FLOAT_EQ(ws_.window.moves[0].second, c.top);
  }
}

TEST_F(StartupTest, FolderQueriesThatFailOrDoNotFit) {
  ws_.folders.failWindows = true;
  ws_.folders.failSystem = true;
  Load();
  EXPECT_EQ(State().WinPath, L"");
  EXPECT_EQ(State().SysPath, L"");
  EXPECT_EQ(State().CrystalPath, L"\\Crystal");

  // Too long for 256: asked once more with the size it needs.
  const std::wstring longDir = L"C:\\" + std::wstring(297, L'w');
  ws_.folders.failWindows = false;
  ws_.folders.windowsDir = longDir;
  ws_.folders.windowsBufferSizes.clear();
  EXPECT_EQ(catalogue::GetWindowsDir(ws_.folders), longDir);
  EXPECT_EQ(ws_.folders.windowsBufferSizes, (std::vector<std::uint32_t>{256, 301}));

  // Exactly 255 characters fit; 256 do not.
  ws_.folders.windowsDir = std::wstring(255, L'x');
  EXPECT_EQ(catalogue::GetWindowsDir(ws_.folders), ws_.folders.windowsDir);
  ws_.folders.windowsDir = std::wstring(256, L'x');
  EXPECT_EQ(catalogue::GetWindowsDir(ws_.folders), ws_.folders.windowsDir);
}

TEST_F(StartupTest, FolderAnswersThatCannotBeTrustedGiveAnEmptyFolder) {
  auto expectEmpty = [&](fake::FakeFolders::Query query, std::size_t asks) {
    ws_.folders.windowsQuery = std::move(query);
    ws_.folders.windowsBufferSizes.clear();
    EXPECT_EQ(catalogue::GetWindowsDir(ws_.folders), L"");
    EXPECT_EQ(ws_.folders.windowsBufferSizes.size(), asks);
  };
  // Still too small on the second ask (the folder grew in between).
  std::uint32_t needed = 300;
  expectEmpty([&](wchar_t*, std::uint32_t) { return needed += 100; }, 2);
  // A size past any 16-bit count is not asked for.
  expectEmpty([](wchar_t*, std::uint32_t) { return 40000u; }, 1);
  // The second ask fails.
  expectEmpty([](wchar_t*, std::uint32_t size) { return size == 256 ? 300u : 0u; }, 2);
  // Claims to have copied as many characters as the buffer holds: no null fits, not trusted.
  expectEmpty([](wchar_t* buffer, std::uint32_t size) {
    std::fill(buffer, buffer + size, L'z');
    return size == 256 ? 300u : size;
  }, 2);
}

TEST_F(StartupTest, UnreadableListIsToldOnceAndKeepsWhatWasRead) {
  const std::wstring expectedText =
      L"No se puede leer el archivo de componentes (C:\\Tovrel\\TovrelSvr.lst): "
      L"El sistema no puede encontrar el archivo especificado.";
  ASSERT_EQ(Load(), catalogue::StartupResult::Ready);  // no list file at all
  ASSERT_EQ(ws_.window.messages.size(), 1u);
  EXPECT_EQ(ws_.window.messages[0].text, expectedText);
  EXPECT_EQ(ws_.window.messages[0].title, L"Aviso al operador!!!");
  EXPECT_EQ(ws_.window.messages[0].icon, MessageIcon::Critical);
  EXPECT_FALSE(ws_.window.registrarDisabled);
  EXPECT_EQ(ws_.checklist.Count(), 0);

  ws_.WriteList({"a.dll,", "'x", "b.dll,", "c.dll,"});
  ws_.textFiles.FailReadAfter(kListPath, 3);
  ws_.window.messages.clear();
  Load();
  EXPECT_EQ(ws_.ListedTexts(), (std::vector<std::wstring>{L"a.dll,", L"b.dll,"}));
  ASSERT_EQ(ws_.window.messages.size(), 1u);
  EXPECT_EQ(ws_.window.messages[0].text.rfind(L"No se puede leer el archivo de componentes (", 0), 0u);
  EXPECT_EQ(ws_.textFiles.OpenCount(), 0u);
  EXPECT_EQ(ws_.checklist.updateDepth, 0);
}

TEST_F(StartupTest, BadLinesArePassedOverListedInTheErrorBoxAndCounted) {
  const std::string tooLong = std::string(32766, 'l') + ",x";                // 32,768 characters
  const std::string commaTooFar = std::string(32766, ' ') + "a,b";           // comma at 32,768
  const std::string withNull("nu\0l.dll,", 9);  // the list could only show it cut short
  ws_.WriteList({"a.dll,", "sin coma", "b.dll,winpath$", commaTooFar, tooLong, "c.dll,", withNull});
  ws_.window.errorText = L"previo";
  ASSERT_EQ(Load(), catalogue::StartupResult::Ready);

  EXPECT_EQ(ws_.ListedTexts(), (std::vector<std::wstring>{L"a.dll,", L"b.dll,winpath$", L"c.dll,"}));
  const std::wstring& box = ws_.window.errorText;
  EXPECT_EQ(box.rfind(L"previo\r\nTovrelSvr.lst, línea 2: ", 0), 0u);
  EXPECT_NE(box.find(L"\r\nTovrelSvr.lst, línea 4: "), std::wstring::npos);
  EXPECT_NE(box.find(L"\r\nTovrelSvr.lst, línea 5: "), std::wstring::npos);
  EXPECT_NE(box.find(L"\r\nTovrelSvr.lst, línea 7: "), std::wstring::npos);
  EXPECT_EQ(std::count(box.begin(), box.end(), L'\n'), 4);

  ASSERT_EQ(ws_.window.messages.size(), 1u);
  EXPECT_EQ(ws_.window.messages[0].title, L"Aviso al operador!!!");
  EXPECT_NE(ws_.window.messages[0].text.find(L" 4 líneas"), std::wstring::npos);
}

TEST_F(StartupTest, EntriesPastTheListLimitArePassedOverAndCounted) {
  std::vector<std::string> lines;
  const int total = platform::Checklist::kMaxEntries + 3;
  for (int i = 0; i < total; ++i) lines.push_back("c" + std::to_string(i) + ".dll,");
  lines.insert(lines.begin() + 1, "sin coma");
  ws_.WriteList(lines);
  ASSERT_EQ(Load(), catalogue::StartupResult::Ready);

  ASSERT_EQ(ws_.checklist.Count(), platform::Checklist::kMaxEntries);
  EXPECT_EQ(ws_.checklist.entries.back().text, L"c32766.dll,");
  ASSERT_EQ(ws_.window.messages.size(), 1u);  // both problems in one message
  const std::wstring& text = ws_.window.messages[0].text;
  EXPECT_NE(text.find(L" 1 líneas"), std::wstring::npos);
  EXPECT_NE(text.find(L"32767"), std::wstring::npos);
  EXPECT_NE(text.find(L" 3 líneas"), std::wstring::npos);
}

TEST(StartupMessagesTest, LinesPassedOverSayWhatAndHowManyOnTwoLines) {
  const std::wstring bad = L"Se pasaron por alto 2 líneas de TovrelSvr.lst que no se pueden leer como componentes; "
                           L"el cuadro de errores las enumera.";
  const std::wstring beyond = L"La lista admite 32767 componentes: se pasaron por alto 3 líneas de componentes de "
                              L"TovrelSvr.lst que exceden ese límite.";
  const struct {
    unsigned long badLines, beyondLimit;
    std::wstring text;
  } cases[] = {{2, 0, bad}, {0, 3, beyond}, {2, 3, bad + L"\r\n" + beyond}};
  for (const auto& c : cases) {
    const platform::OperatorMessage m = catalogue::LinesPassedOverMessage(L"TovrelSvr.lst", c.badLines, c.beyondLimit, 32767);
    EXPECT_EQ(m.text, c.text);
    EXPECT_EQ(m.title, L"Aviso al operador!!!");
    EXPECT_EQ(m.icon, MessageIcon::Critical);
  }
}

TEST_F(StartupTest, AChecklistThatRefusesAnEntryStopsTheLoadWithAMessage) {
  ws_.WriteList({"a.dll,"});
  ws_.checklist.failAppend = true;
  EXPECT_EQ(Load(), catalogue::StartupResult::Ready);
  EXPECT_EQ(ws_.window.messages.size(), 1u);
  EXPECT_EQ(ws_.textFiles.OpenCount(), 0u);
  EXPECT_EQ(ws_.checklist.updateDepth, 0);

  // Entries listed before the refusal stay listed, checked like any other.
  ws_.checklist.failAppend = false;
  ws_.checklist.failAppendAt = 1;
  ws_.window.messages.clear();
  ws_.WriteList({"a.dll,", "b.dll,"});
  EXPECT_EQ(Load(), catalogue::StartupResult::Ready);
  EXPECT_EQ(ws_.window.messages.size(), 1u);
  ASSERT_EQ(ws_.checklist.Count(), 1);
  EXPECT_TRUE(ws_.checklist.entries[0].checked);
}

}  // namespace
}  // namespace tovrel::testing

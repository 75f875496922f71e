// List files that are missing, locked, huge or full of odd bytes: the program says what it
// passed over, stays responsive, and every run still comes to its end.
#include "app_fixture.h"

namespace e2e {
namespace {

using namespace tovrel::ui;
using HostileListTest = TovrelAppTest;

constexpr milliseconds kSlow{60000};
const std::wstring kListFile = L"TovrelSvr.lst";
const std::wstring kStop = L"Aviso al operador!!!";

std::wstring BadLinesText(unsigned long count) {
    return L"Se pasaron por alto " + std::to_wstring(count) + L" l\u00edneas de TovrelSvr.lst que "
           L"no se pueden leer como componentes; el cuadro de errores las enumera.";
}

TEST_F(HostileListTest, MissingListIsToldAtStartAndEveryRunEndsWithAnErrorLine) {
    Prepare({});
    RemoveFileIfPresent(InApp(kListFile));
    Start();
    const std::wstring notFound = SystemErrorText(ERROR_FILE_NOT_FOUND);
    ExpectBox(L"No se puede leer el archivo de componentes (" + AppPath() + kListFile + L"): " +
                  notFound,
              kStop, BoxIcon::Critical);
    form1_ = WaitForWindow(app_->id(), kForm1ClassName);
    EXPECT_EQ(RemoteListView(Control(kList1)).Count(), 0);
    EXPECT_TRUE(IsWindowEnabled(Control(kCmdRegistrar)));
    const size_t before = ErrorLines().size();

    // A second run proves the first one let go of its state.
    for (size_t run = 1; run <= 2; ++run) {
        Click(Control(kCmdRegistrar));
        ASSERT_TRUE(PollUntil([&] { return ErrorLines().size() == before + run; }))
            << "run " << run << " left the error box as " << Printable(TextOf(Control(kTxtError)));
        EXPECT_EQ(Printable(ErrorLines().back()), Printable(AppPath() + kListFile + L" " + notFound));
        EXPECT_TRUE(NoMessageBoxWithin(app_->id(), milliseconds(1000)));
        ExpectResponsive();
    }
    EXPECT_FALSE(FileExists(LaunchLog()));
}

TEST_F(HostileListTest, ListRemovedOrLockedAfterStartUpEndsTheRunAndALaterRunRecovers) {
    const std::vector<std::wstring> lines = {L"uno.dll,"};
    Prepare(lines);
    StartAndWaitForForm1();
    const std::wstring list = InApp(kListFile);
    struct Case {
        const wchar_t* what;
        DWORD error;
    };
    for (const Case& c : {Case{L"removed", ERROR_FILE_NOT_FOUND}, Case{L"locked", ERROR_SHARING_VIOLATION}}) {
        SCOPED_TRACE(ToUtf8(c.what));
        std::unique_ptr<ExclusiveHold> hold;
        if (c.error == ERROR_FILE_NOT_FOUND) {
            RemoveFileIfPresent(list);
            ASSERT_FALSE(FileExists(list));
        } else {
            hold = std::make_unique<ExclusiveHold>(list);
        }
        const size_t before = ErrorLines().size();
        Click(Control(kCmdRegistrar));
        ASSERT_TRUE(PollUntil([&] { return ErrorLines().size() == before + 1; }))
            << Printable(TextOf(Control(kTxtError)));
        EXPECT_EQ(Printable(ErrorLines().back()),
                  Printable(AppPath() + kListFile + L" " + SystemErrorText(c.error)));
        EXPECT_TRUE(NoMessageBoxWithin(app_->id(), milliseconds(1000)));
        ExpectResponsive();
        EXPECT_FALSE(FileExists(LaunchLog()));
        hold.reset();
        if (c.error == ERROR_FILE_NOT_FOUND) WriteBytes(list, ListFileBytes(lines));
    }
    PressRegistrarAndFinish();
    EXPECT_EQ(Printable(WaitForLaunches(LaunchLog(), 1).front().commandLine),
              Printable(RegistrarCommand(L"uno.dll", true)));
}

TEST_F(HostileListTest, FiftyMegabytesOfLineFeedEndedLinesAreOneLinePassedOver) {
    // A line feed alone ends no line: the whole file is one entry line, far too long to list.
    const std::string filler = "\ndos.dll,Systempath$";
    std::string bytes = "uno.dll,winpath$";
    bytes.reserve(50u << 20);
    while (bytes.size() < (50u << 20)) bytes += filler;
    PrepareBytes(bytes);
    Start();
    ExpectBoxWithin(kSlow, BadLinesText(1), kStop, BoxIcon::Critical);
    form1_ = WaitForWindow(app_->id(), kForm1ClassName, kSlow);
    ExpectResponsive();
    EXPECT_EQ(RemoteListView(Control(kList1)).Count(), 0);
    EXPECT_EQ(SortedPrintable(ErrorLines()),
              SortedPrintable({kListFile + L", l\u00ednea 1: La l\u00ednea tiene m\u00e1s de 32767 "
                                           L"caracteres."}));

    // The run meets the same line, finds no entry of it, and so launches nothing.
    Click(Control(kCmdRegistrar));
    ExpectFinalizado(kSlow);
    ExpectResponsive();
    EXPECT_FALSE(FileExists(LaunchLog()));
}

TEST_F(HostileListTest, CommaPastTheLimitIsReportedBetweenGoodLinesKeptInOrder) {
    const std::wstring pastLimit = std::wstring(32766, L'a') + L",";  // comma at 32,767
    const std::wstring atLimit = std::wstring(32765, L'b') + L",";    // comma at 32,766
    Prepare({L"antes.dll,", pastLimit, atLimit, L"sin coma", L"despues.dll,"});
    Start();
    ExpectBox(BadLinesText(2), kStop, BoxIcon::Critical);
    form1_ = WaitForWindow(app_->id(), kForm1ClassName);

    RemoteListView list(Control(kList1));
    const std::vector<ListEntry> entries = list.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, L"antes.dll,");
    EXPECT_TRUE(entries[1].text == atLimit) << "the longest listable line came back with "
                                            << entries[1].text.size() << " characters";
    EXPECT_EQ(entries[2].text, L"despues.dll,");
    std::vector<std::wstring> startErrors = ErrorLines();
    ASSERT_EQ(startErrors.size(), 2u) << Printable(TextOf(Control(kTxtError)));
    for (auto [index, number] : {std::pair{0, L"2"}, std::pair{1, L"4"}}) {
        const std::wstring head = kListFile + L", l\u00ednea " + number + L": ";
        EXPECT_TRUE(StartsWith(startErrors[index], head)) << Printable(startErrors[index]);
        EXPECT_GT(startErrors[index].size(), head.size()) << "no reason given";
    }

    // The run splits again: each bad line's error line carries the component text of the
    // entry before it, which the failed split did not replace.
    list.SetChecked(1, false);  // its command line would be longer than any process accepts
    PressRegistrarAndFinish();
    const std::vector<std::wstring> errors = ErrorLines();
    ASSERT_EQ(errors.size(), 4u) << Printable(TextOf(Control(kTxtError)));
    EXPECT_TRUE(StartsWith(errors[2], L"antes.dll ")) << Printable(errors[2]);
    EXPECT_TRUE(StartsWith(errors[3], std::wstring(32765, L'b') + L" ")) << Printable(errors[3].substr(0, 40));
    const std::vector<LaunchRecord> launches = WaitForLaunches(LaunchLog(), 2);
    EXPECT_EQ(SortedPrintable(CommandLines(launches)),
              SortedPrintable({RegistrarCommand(L"antes.dll", true), RegistrarCommand(L"despues.dll", true)}));
}

TEST_F(HostileListTest, EntriesBeyondTheListsCapacityAreReportedAndARunOverAllEnds) {
    constexpr int kLines = 32800, kCapacity = 32767;
    std::vector<std::wstring> lines;
    for (int i = 0; i < kLines; ++i) lines.push_back(L"c" + std::to_wstring(i) + L".dll,");
    Prepare(lines);
    Start();
    ExpectBoxWithin(kSlow,
                    L"La lista admite 32767 componentes: se pasaron por alto 33 l\u00edneas de "
                    L"componentes de TovrelSvr.lst que exceden ese l\u00edmite.",
                    kStop, BoxIcon::Critical);
    form1_ = WaitForWindow(app_->id(), kForm1ClassName, kSlow);
    ExpectResponsive();

    RemoteListView list(Control(kList1));
    ASSERT_EQ(list.Count(), kCapacity);
    EXPECT_EQ(list.Text(0), lines[0]);
    EXPECT_EQ(list.Text(kCapacity - 1), lines[kCapacity - 1]);
    EXPECT_TRUE(list.Checked(kCapacity - 1));

    // Marks are inverted in index order, so the last one tells when all are done; the run
    // then proves that none is left checked.
    Click(Control(kCmdMarcar));
    ASSERT_TRUE(PollUntil([&] { return !list.Checked(kCapacity - 1); }, kSlow));
    for (int index : {0, kCapacity / 2}) EXPECT_FALSE(list.Checked(index)) << "entry " << index;
    PressRegistrarAndFinish();
    ExpectResponsive();
    EXPECT_FALSE(FileExists(LaunchLog())) << "an unchecked entry was launched";
}

// Known fault, left failing until start-up passes such a line over: the entry is listed as
// "nul" and every run skips it without a word.
TEST_F(HostileListTest, UnmappedBytesAreListedWholeAndALineWithANulIsReportedNotCut) {
    ASSERT_EQ(GetACP(), 1252u) << "the bytes below are chosen for code page 1252";
    // Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character in this code page.
    const std::string unmapped = std::string("cp\x81\x8D\x8F\x90\x9D") + ".dll";
    const std::string withNul = std::string("nul\0x", 5) + ".dll";
    std::string bytes = "ini.dll,\r\n" + withNul + ",\r\n" + unmapped + ",\r\n" + unmapped + "\x81,\r\nfin.dll,";
    PrepareBytes(bytes);
    Start();
    // No list entry, file name or command line can hold a NUL: the line cannot be listed as
    // read, so it is passed over and said so, never listed cut short at the NUL (an entry
    // that shows "nul" would match no line of the file and be skipped by every run).
    ASSERT_TRUE(PollUntil([&] {
        return !MessageBoxesOf(app_->id()).empty() ||
               FindTopLevel(app_->id(), kForm1ClassName, /*visibleOnly=*/true) != nullptr;
    }));
    if (MessageBoxesOf(app_->id()).empty())
        ADD_FAILURE() << "start-up said nothing of the line that holds a NUL";
    else
        ExpectBox(BadLinesText(1), kStop, BoxIcon::Critical);
    form1_ = WaitForWindow(app_->id(), kForm1ClassName);
    const std::vector<std::wstring> startErrors = ErrorLines();
    EXPECT_EQ(startErrors.size(), 1u) << Printable(TextOf(Control(kTxtError)));
    const std::wstring head = kListFile + L", l\u00ednea 2: ";
    for (const std::wstring& e : startErrors) EXPECT_TRUE(StartsWith(e, head)) << Printable(e);

    const std::vector<std::string> expected = {"ini.dll,", unmapped + ",", unmapped + "\x81,", "fin.dll,"};
    const std::vector<ListEntry> entries = RemoteListView(Control(kList1)).Entries();
    for (const ListEntry& e : entries)
        EXPECT_NE(e.text, L"nul") << "the line was listed cut short at its NUL";
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(Printable(entries[i].text), Printable(FromAnsi(expected[i]))) << "entry " << i;
        EXPECT_EQ(entries[i].text.size(), expected[i].size()) << "entry " << i << " lost characters";
    }

    // Two entries that differ only in an unmapped byte stay two components.
    PressRegistrarAndFinish();
    const std::vector<LaunchRecord> launches = WaitForLaunches(LaunchLog(), expected.size());
    EXPECT_FALSE(PollUntil([&] { return ReadLaunchLog(LaunchLog()).size() > expected.size(); },
                           milliseconds(1000)));
    EXPECT_EQ(SortedPrintable(CommandLines(launches)),
              SortedPrintable({RegistrarCommand(L"ini.dll", true), RegistrarCommand(FromAnsi(unmapped), true),
                               RegistrarCommand(FromAnsi(unmapped + "\x81"), true),
                               RegistrarCommand(L"fin.dll", true)}));
}

}  // namespace
}  // namespace e2e

// Registration runs driven through the main window, with the logging stand-in as the
// registrar so that every command line can be compared byte for byte.
#include <algorithm>

#include "app_fixture.h"

namespace e2e {
namespace {

using namespace tovrel::ui;
using RegistrationRunTest = TovrelAppTest;

std::vector<std::string> SortedCommands(const std::vector<LaunchRecord>& records) {
    std::vector<std::string> commands;
    for (const LaunchRecord& r : records) commands.push_back(Printable(r.commandLine));
    std::sort(commands.begin(), commands.end());
    return commands;
}

std::vector<std::string> Sorted(const std::vector<std::wstring>& commands) {
    std::vector<std::string> printable;
    for (const std::wstring& c : commands) printable.push_back(Printable(c));
    std::sort(printable.begin(), printable.end());
    return printable;
}

std::string ReadOrMissing(const std::wstring& path) {
    std::string bytes;
    return ReadBytes(path, bytes) ? bytes : std::string("<missing>");
}

int IndexOf(const RemoteListView& list, const std::wstring& text) {
    for (int i = 0; i < list.Count(); ++i)
        if (list.Text(i) == text) return i;
    return -1;
}

TEST_F(RegistrationRunTest, FullRunPlacesBacksUpReportsAndLaunches) {
    const std::wstring stem = UniqueStem(L"e2e");
    const std::wstring sys = SystemFolder(), win = WindowsFolder();
    const std::wstring crystal = JoinPath(win, L"Crystal");
    ASSERT_FALSE(FolderExists(crystal)) << "this test needs a Windows folder without Crystal";

    auto name = [&](const wchar_t* part) { return stem + part; };
    // Components in the application folder and one in a subfolder of it.
    WriteBytes(InApp(name(L"sys.dll")), "nuevo sys");
    WriteBytes(InApp(name(L"new.dll")), "nuevo new");
    WriteBytes(InApp(name(L"cry.dll")), "nuevo cry");
    WriteBytes(InApp(name(L"here.dll")), "aqui");
    WriteBytes(InApp(name(L"cur.dll")), "en su lugar");
    CreateDirectoryW(InApp(L"sub").c_str(), nullptr);
    const std::wstring withFolder = JoinPath(InApp(L"sub"), name(L"win.dll"));
    WriteBytes(withFolder, "nuevo win");
    // The system folder already holds the first one and its first backup.
    for (const wchar_t* part : {L"sys.dll", L"sys.000", L"sys.001", L"sys.002", L"new.dll",
                                L"new.000"})
        RemoveAtEnd(JoinPath(sys, name(part)));
    RemoveAtEnd(JoinPath(win, name(L"win.dll")));
    WriteBytes(JoinPath(sys, name(L"sys.dll")), "viejo sys");
    WriteBytes(JoinPath(sys, name(L"sys.000")), "respaldo 0");

    const std::wstring gone = L"C:\\no-existe-" + stem + L"\\" + name(L"gone.dll");
    const std::wstring uncheckedLine = name(L"off.dll") + L",desconocido$";
    Prepare({L"' lista de prueba",
             L"",
             L"  " + name(L"app.dll") + L",",
             name(L"sys.dll") + L", SYSTEMPATH$  ",
             name(L"new.dll") + L",Systempath$",
             withFolder + L",winpath$",
             InApp(name(L"cur.dll")) + L",CurrentPath$",
             name(L"miss.dll") + L",Systempath$",
             gone + L",winpath$",
             name(L"here.dll") + L",CurrentPath$",
             uncheckedLine,
             name(L"cry.dll") + L",Crystal$"});
    StartAndWaitForForm1();
    {
        RemoteListView list(Control(kList1));
        const int off = IndexOf(list, uncheckedLine);
        ASSERT_GE(off, 0);
        list.SetChecked(off, false);
        ASSERT_FALSE(list.Checked(off));
    }
    // The operator's own note in the error box stays; failure lines are added after it.
    const std::wstring note = L"nota del operador";
    SendMessageW(Control(kTxtError), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(note.c_str()));
    ASSERT_EQ(TextOf(Control(kTxtError)), note);

    Click(Control(kCmdRegistrar));
    const wchar_t* missing = L" no se encuentra en la ubicacion especificada!!!";
    ExpectBox(L"El Archivo que intenta registrar (" + AppPath() + name(L"miss.dll") + L")" + missing,
              L"Aviso al operador", BoxIcon::Critical);
    ExpectBox(L"El Archivo que intenta registrar ( " + gone + L" )" + missing, L"Aviso al operador",
              BoxIcon::Critical);
    ExpectBox(L"El Archivo que intenta registrar ( " + name(L"here.dll") +
                  L" ) debe tener especificada la ubicacion !!!",
              L"Aviso al operador", BoxIcon::Critical);
    ExpectBox(L"Finalizado", L"Atenci\u00f3n", BoxIcon::Information);
    EXPECT_EQ(TextOf(Control(kLblMensaje)), L"");

    // Registrars are not awaited, so their records may come in any order.
    const std::vector<std::wstring> expected = {
        RegistrarCommand(L"  " + name(L"app.dll"), true),
        RegistrarCommand(name(L"sys.dll"), true),
        RegistrarCommand(name(L"new.dll"), true),
        RegistrarCommand(name(L"win.dll"), true),
        RegistrarCommand(InApp(name(L"cur.dll")), true),
        RegistrarCommand(name(L"cry.dll"), true)};
    const std::vector<LaunchRecord> launches = WaitForLaunches(LaunchLog(), expected.size());
    EXPECT_EQ(SortedCommands(launches), Sorted(expected));
    for (const LaunchRecord& r : launches)
        EXPECT_EQ(CompareStringOrdinal(r.currentFolder.c_str(), -1, folder_.c_str(), -1, TRUE),
                  CSTR_EQUAL)
            << "registrar started in " << Printable(r.currentFolder);

    // Copies, and the backup under the next free number.
    EXPECT_EQ(ReadOrMissing(JoinPath(sys, name(L"sys.dll"))), "nuevo sys");
    EXPECT_EQ(ReadOrMissing(JoinPath(sys, name(L"sys.000"))), "respaldo 0");
    EXPECT_EQ(ReadOrMissing(JoinPath(sys, name(L"sys.001"))), "viejo sys");
    EXPECT_FALSE(FileExists(JoinPath(sys, name(L"sys.002"))));
    EXPECT_EQ(ReadOrMissing(JoinPath(sys, name(L"new.dll"))), "nuevo new");
    EXPECT_FALSE(FileExists(JoinPath(sys, name(L"new.000"))));
    EXPECT_EQ(ReadOrMissing(JoinPath(win, name(L"win.dll"))), "nuevo win");
    EXPECT_FALSE(FolderExists(crystal)) << "the run creates no folders";
    EXPECT_FALSE(FileExists(InApp(name(L"app.dll"))));

    // Only the failed copy into the missing Crystal folder is an error line.
    const std::wstring errors = TextOf(Control(kTxtError));
    const std::wstring head = note + L"\r\n" + name(L"cry.dll") + L" ";
    ASSERT_EQ(errors.compare(0, head.size(), head), 0) << Printable(errors);
    EXPECT_GT(errors.size(), head.size()) << "the error line carries a description";
    EXPECT_EQ(errors.find(L"\r\n", head.size()), std::wstring::npos) << Printable(errors);
}

TEST_F(RegistrationRunTest, DefinitionErrorStopsTheRunAndKeepsTheStatusLine) {
    const std::wstring stem = UniqueStem(L"def");
    Prepare({stem + L"a.dll,", stem + L"b.dll,winpath$,x", stem + L"c.dll,"});
    StartAndWaitForForm1();

    for (size_t run = 1; run <= 2; ++run) {
        Click(Control(kCmdRegistrar));
        ExpectBox(L"Error en la definicion del archivo de Registro", L"Aviso al operador!!!",
                  BoxIcon::Critical);
        EXPECT_TRUE(NoMessageBoxWithin(app_->id(), milliseconds(1500)))
            << "a stopped run shows no closing message";
        EXPECT_EQ(TextOf(Control(kLblMensaje)), L"Registrando: " + stem + L"a.dll");
        // Each run starts again from the first line and launches only the line before.
        const std::vector<LaunchRecord> launches = WaitForLaunches(LaunchLog(), run);
        EXPECT_FALSE(PollUntil([&] { return ReadLaunchLog(LaunchLog()).size() > run; },
                               milliseconds(1000)));
        for (const LaunchRecord& r : launches)
            EXPECT_EQ(Printable(r.commandLine), Printable(RegistrarCommand(stem + L"a.dll", true)));
    }
}

TEST_F(RegistrationRunTest, MarkAllAndShowMessagesChangeWhatARunLaunches) {
    Prepare({L"uno.dll,", L"dos.dll,"});
    StartAndWaitForForm1();
    RemoteListView list(Control(kList1));
    list.SetChecked(0, false);

    // Inverting every mark: only the first entry is checked now.
    Click(Control(kCmdMarcar));
    ASSERT_TRUE(PollUntil([&] { return list.Checked(0) && !list.Checked(1); }));
    PressRegistrarAndFinish();
    const std::vector<LaunchRecord> first = WaitForLaunches(LaunchLog(), 1);
    EXPECT_EQ(Printable(first.back().commandLine), Printable(RegistrarCommand(L"uno.dll", true)));

    // With the registrar's messages asked for, the command line carries no switch.
    Click(Control(kChkMostrar));
    ASSERT_TRUE(PollUntil([&] { return Checked(kChkMostrar); }));
    Click(Control(kCmdMarcar));
    ASSERT_TRUE(PollUntil([&] { return !list.Checked(0) && list.Checked(1); }));
    PressRegistrarAndFinish();
    const std::vector<LaunchRecord> both = WaitForLaunches(LaunchLog(), 2);
    EXPECT_FALSE(PollUntil([&] { return ReadLaunchLog(LaunchLog()).size() > 2; },
                           milliseconds(1000)));
    EXPECT_EQ(SortedCommands(both), Sorted({RegistrarCommand(L"uno.dll", true),
                                            RegistrarCommand(L"dos.dll", false)}));
}

}  // namespace
}  // namespace e2e

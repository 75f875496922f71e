// TovrelCheck.exe on real folders under Wine: what it foresees is what Tovrel.exe then shows
// and does on the same list, word for word, and it changes nothing itself.
#include <algorithm>
#include <functional>

#include "app_fixture.h"

namespace e2e {
namespace {

using namespace tovrel::ui;

std::wstring CheckExe() { return ToWindowsPath(TOVREL_CHECK_PATH); }

struct CheckOutput {
    DWORD exitCode = 0;
    std::vector<std::wstring> lines;

    // "TovrelSvr.lst(N): error TVRnnn" (or warning) of every finding, "N TVRnnn", in order.
    std::vector<std::wstring> Codes() const {
        std::vector<std::wstring> codes;
        for (const std::wstring& line : lines) {
            const size_t tvr = line.find(L": error TVR") != std::wstring::npos ? line.find(L"TVR")
                                : line.find(L": warning TVR") != std::wstring::npos ? line.find(L"TVR")
                                                                                   : std::wstring::npos;
            if (!StartsWith(line, L"TovrelSvr.lst") || tvr == std::wstring::npos) continue;
            const size_t open = line.find(L'(');
            const std::wstring number = open < tvr ? line.substr(open + 1, line.find(L')') - open - 1) : L"0";
            codes.push_back(number + L" " + line.substr(tvr, 6));
        }
        return codes;
    }
    // The texts between the quotes of detail lines that begin with `head`, in order.
    std::vector<std::wstring> Quoted(const std::wstring& head) const {
        std::vector<std::wstring> texts;
        for (const std::wstring& line : lines) {
            const size_t at = line.find(head);
            if (at == std::wstring::npos) continue;
            const size_t open = line.find(L'\u00ab', at);
            const size_t close = line.rfind(L'\u00bb');
            if (open != std::wstring::npos && close > open) texts.push_back(line.substr(open + 1, close - open - 1));
        }
        return texts;
    }
    std::vector<std::wstring> After(const std::wstring& head) const {
        std::vector<std::wstring> texts;
        for (const std::wstring& line : lines) {
            if (StartsWith(line, head)) texts.push_back(line.substr(head.size()));
        }
        return texts;
    }
    std::string All() const {
        std::wstring all;
        for (const std::wstring& line : lines) all += line + L"\n";
        return ToUtf8(all);
    }
};

// Runs the checker with its output in a file, from `currentFolder`.
CheckOutput RunCheck(const std::wstring& arguments, const std::wstring& exe, const std::wstring& currentFolder) {
    const std::wstring outPath = JoinPath(currentFolder, L"..\\" + UniqueStem(L"chk") + L".out");
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) throw WaitFailed(L"cannot create " + outPath);
    StartOptions options;
    options.startup.dwFlags = STARTF_USESTDHANDLES;
    options.startup.hStdOutput = out;
    options.startup.hStdError = out;
    options.inheritHandles = TRUE;
    options.creationFlags = CREATE_NO_WINDOW;
    PROCESS_INFORMATION info{};
    try {
        info = StartProcess(exe, L"\"" + exe + L"\" " + arguments, currentFolder, options);
    } catch (...) {
        CloseHandle(out);
        throw;
    }
    CloseHandle(out);
    CheckOutput result;
    const DWORD waited = WaitForSingleObject(info.hProcess, ScaledMs(120000));
    GetExitCodeProcess(info.hProcess, &result.exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    if (waited != WAIT_OBJECT_0) throw WaitFailed(L"the checker did not end");
    std::string bytes;
    ReadBytes(outPath, bytes);
    RemoveFileIfPresent(outPath);
    const std::wstring text = FromUtf8(bytes);
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find(L"\r\n", start);
        result.lines.push_back(text.substr(start, end == std::wstring::npos ? end : end - start));
        start = end == std::wstring::npos ? text.size() : end + 2;
    }
    return result;
}

class CheckerTest : public TovrelAppTest {
protected:
    CheckOutput Check() { return RunCheck(L"\"" + folder_ + L"\"", CheckExe(), WindowsFolder()); }
};

TEST_F(CheckerTest, ForeseesTovrelsMessagesErrorLinesBackupsAndLaunchesWordForWord) {
    const std::wstring stem = UniqueStem(L"chk");
    const std::wstring sys = SystemFolder();
    const std::wstring copied = stem + L"c.dll";
    ASSERT_FALSE(FolderExists(JoinPath(WindowsFolder(), L"Crystal")));
    for (const wchar_t* name : {L"a.dll", L"c.dll", L"cry.dll", L"here.dll"}) WriteBytes(InApp(stem + name), "nuevo");
    const std::wstring target = JoinPath(sys, copied);
    WriteBytes(target, "viejo");
    WriteBytes(JoinPath(sys, stem + L"c.000"), "antiguo");
    for (const wchar_t* end : {L"dll", L"000", L"001", L"002"}) RemoveAtEnd(JoinPath(sys, stem + L"c." + end));
    // A file the copy would replace, held open by a program that lets others read it (as a
    // loaded DLL is): it is backed up, but not replaced.
    WriteBytes(InApp(stem + L"held.dll"), "nuevo");
    const std::wstring held = JoinPath(WindowsFolder(), stem + L"held.dll");
    WriteBytes(held, "en uso");
    for (const wchar_t* end : {L"dll", L"000"}) RemoveAtEnd(JoinPath(WindowsFolder(), stem + L"held." + end));
    HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    struct Closer {
        HANDLE handle;
        ~Closer() { CloseHandle(handle); }
    } closeHolder{holder};
    const std::vector<std::wstring> lines = {
        L"' lista de prueba",
        stem + L"a.dll,",                             // 2
        copied + L",Systempath$",                     // 3: backed up under 001
        stem + L"falta.dll,winpath$",                 // 4: not in the application folder
        stem + L"here.dll,CurrentPath$",              // 5: bare name
        stem + L"cry.dll,Crystal$",                   // 6: no Crystal folder
        L"sin coma",                                  // 7
        copied + L",Systempath$",                     // 8: the same again: backed up under 002
        stem + L"held.dll,winpath$",                  // 9: the file it replaces is held open
        stem + L"x.dll,Systempath$,x",                // 10: stops the run
        stem + L"a.dll, "};                           // 11: never reached
    Prepare(lines);
    const std::vector<std::wstring> before = FileNamesMatching(folder_, L"*");

    const CheckOutput check = Check();
    EXPECT_EQ(check.exitCode, 1u) << check.All();
    // The components here are text, not programs: each one the registrar would be handed
    // also has TVR015 (regsvr32.exe would end with code 3).
    const std::vector<std::wstring> codes = {L"2 TVR015", L"3 TVR015", L"4 TVR005", L"5 TVR006", L"6 TVR007",
                                             L"6 TVR015", L"7 TVR003", L"8 TVR009", L"8 TVR015", L"9 TVR014",
                                             L"9 TVR015", L"10 TVR001", L"11 TVR002"};
    EXPECT_EQ(check.Codes(), codes) << check.All();
    EXPECT_EQ(FileNamesMatching(folder_, L"*"), before);
    EXPECT_EQ(ContentsOf(target), "viejo");
    EXPECT_FALSE(FileExists(JoinPath(sys, stem + L"c.001")));

    // What it foresees, in the order Tovrel shows it.
    const std::vector<std::wstring> messages = check.Quoted(L"    mensaje: ");
    std::vector<std::wstring> errorLines = check.Quoted(L"    Tovrel no la muestra: ");
    for (const std::wstring& line : check.lines) {
        if (StartsWith(line, L"    línea de error")) errorLines.push_back(line.substr(line.find(L'\u00ab') + 1,
                                                                                    line.rfind(L'\u00bb') - line.find(L'\u00ab') - 1));
    }
    std::vector<std::wstring> commands;
    for (const std::wstring& c : check.After(L"    registra: ")) commands.push_back(c);
    ASSERT_EQ(messages.size(), 3u) << check.All();
    ASSERT_EQ(check.Quoted(L"Al iniciar, Tovrel mostrar").size(), 1u) << check.All();

    Start();
    const MessageBoxSeen startup = WaitForMessageBox(app_->id());
    EXPECT_EQ(Printable(startup.text), Printable(check.Quoted(L"Al iniciar, Tovrel mostrar").front()));
    PressOk(startup);
    form1_ = WaitForWindow(app_->id(), kForm1ClassName);
    Click(Control(kCmdRegistrar));
    for (const std::wstring& message : messages) {
        const MessageBoxSeen box = WaitForMessageBox(app_->id());
        EXPECT_EQ(Printable(box.text), Printable(message));
        PressOk(box);
    }
    EXPECT_TRUE(NoMessageBoxWithin(app_->id(), milliseconds(1500)));  // stopped: no "Finalizado"
    // Stopped, the status label keeps the last text the checker foresaw.
    ASSERT_FALSE(check.Quoted(L"    estado: ").empty());
    EXPECT_EQ(TextOf(Control(kLblMensaje)), check.Quoted(L"    estado: ").back());
    EXPECT_EQ(SortedPrintable(ErrorLines()), SortedPrintable(errorLines));
    EXPECT_EQ(ErrorLines(), errorLines);
    // Tovrel starts the registrars in the order the checker foresaw, but does not wait for
    // them: they write their log lines in the order they get to it.
    EXPECT_EQ(SortedPrintable(CommandLines(WaitForLaunches(LaunchLog(), commands.size()))),
              SortedPrintable(commands));
    EXPECT_EQ(check.After(L"    copia de respaldo: "),
              (std::vector<std::wstring>{target + L" -> " + JoinPath(sys, stem + L"c.001"),
                                         target + L" -> " + JoinPath(sys, stem + L"c.002"),
                                         held + L" -> " + JoinPath(WindowsFolder(), stem + L"held.000")}));
    EXPECT_EQ(ContentsOf(held), "en uso");
    EXPECT_EQ(ContentsOf(JoinPath(sys, stem + L"c.001")), "viejo");
    EXPECT_EQ(ContentsOf(JoinPath(sys, stem + L"c.002")), "nuevo");
}

TEST_F(CheckerTest, ExitCodesItsOwnFolderAndWhatStartUpPassesOver) {
    const std::wstring stem = UniqueStem(L"ok");
    // A component the registrar can load: a real COM server of this build's bitness.
    CopyOrThrow(SampleADll(), InApp(stem + L"a.dll"));
    Prepare({L"' limpia", stem + L"a.dll,"});
    CheckOutput clean = Check();
    EXPECT_EQ(clean.exitCode, 0u) << clean.All();
    EXPECT_TRUE(StartsWith(clean.lines.back(), L"Resumen: 1 línea de componente, 1 registro, 0 errores")) << clean.All();

    // Without an argument it checks its own folder, wherever it is started from.
    CopyOrThrow(CheckExe(), InApp(L"TovrelCheck.exe"));
    EXPECT_EQ(RunCheck(L"", InApp(L"TovrelCheck.exe"), WindowsFolder()).lines, clean.lines);

    RemoveFileIfPresent(InApp(L"regsvr32.exe"));
    CheckOutput noRegistrar = Check();
    EXPECT_EQ(noRegistrar.exitCode, 1u);
    EXPECT_EQ(noRegistrar.Codes(), std::vector<std::wstring>{L"0 TVR010"}) << noRegistrar.All();

    RemoveFileIfPresent(InApp(L"TovrelSvr.lst"));
    CheckOutput unreadable = Check();
    EXPECT_EQ(unreadable.exitCode, 2u);
    EXPECT_EQ(unreadable.Codes(), (std::vector<std::wstring>{L"0 TVR010", L"0 TVR011"})) << unreadable.All();

    // Lines start-up passes over, entries past the list's limit.
    CopyOrThrow(LoggingRegistrarExe(), InApp(L"regsvr32.exe"));
    std::string bytes = "sin coma\r\n" + std::string(40000, 'l') + ",\r\n" + std::string("nul\0,\r\n", 7);
    for (int i = 0; i < 32768; ++i) bytes += ToAnsi(stem) + "a.dll,\r\n";
    WriteBytes(InApp(L"TovrelSvr.lst"), bytes);
    CheckOutput hostile = Check();
    EXPECT_EQ(hostile.exitCode, 1u);
    std::vector<std::wstring> codes = hostile.Codes();
    const auto duplicate = [](const std::wstring& c) { return c.size() > 6 && c.substr(c.size() - 6) == L"TVR009"; };
    EXPECT_EQ(std::count_if(codes.begin(), codes.end(), duplicate), 32766);
    codes.erase(std::remove_if(codes.begin(), codes.end(), duplicate), codes.end());
    ASSERT_EQ(codes.size(), 4u) << hostile.All().substr(0, 4000);
    EXPECT_EQ(codes.at(0), L"1 TVR003");
    EXPECT_EQ(codes.at(1), L"2 TVR003");
    EXPECT_EQ(codes.at(2), L"3 TVR003");
    EXPECT_EQ(codes.back(), L"32771 TVR004");
}

TEST_F(CheckerTest, EveryBackupNameTakenIsForeseen) {
    const std::wstring stem = UniqueStem(L"all");
    const std::wstring win = WindowsFolder();
    WriteBytes(InApp(stem + L".dll"), "nuevo");
    WriteBytes(JoinPath(win, stem + L".dll"), "viejo");
    RemoveAtEnd(JoinPath(win, stem + L".dll"));
    for (int i = 0; i < 1000; ++i) {
        wchar_t digits[4];
        swprintf(digits, 4, L"%03d", i);
        WriteBytes(JoinPath(win, stem + L"." + digits), "");
        RemoveAtEnd(JoinPath(win, stem + L"." + digits));
    }
    Prepare({stem + L".dll,winpath$"});
    const CheckOutput check = Check();
    // The component is text, not a program: TVR015 besides.
    EXPECT_EQ(check.Codes(), (std::vector<std::wstring>{L"1 TVR008", L"1 TVR015"})) << check.All();

    StartAndWaitForForm1();
    PressRegistrarAndFinish();
    EXPECT_EQ(ErrorLines(), check.Quoted(L"    línea de error: "));
}


// What the registrar would meet, foreseen on components that fail for real, against the
// registrar itself run on the same file from the same folder: its exit code, and the missing
// DLL named on the right line.
TEST_F(CheckerTest, ForeseesWhatTheRegistrarMeetsOnComponentsThatFail) {
    const std::wstring fixtures = ToWindowsPath(TOVREL_BROKEN_COMPONENTS);
    const std::wstring beside = JoinPath(folder_, L"junto");
    ASSERT_TRUE(CreateDirectoryW(beside.c_str(), nullptr));
    for (const wchar_t* name : {L"imports_absent.dll", L"needs_helper.dll", L"no_register.dll", L"delay_absent.dll",
                                L"not_a_program.ocx"}) {
        CopyOrThrow(JoinPath(fixtures, name), InApp(name));
    }
    CopyOrThrow(JoinPath(fixtures, L"needs_helper.dll"), JoinPath(beside, L"needs_helper.dll"));
    CopyOrThrow(JoinPath(fixtures, L"helper.dll"), JoinPath(beside, L"helper.dll"));
    // An older build in the list, over a newer one where the run would copy it.
    CopyOrThrow(JoinPath(fixtures, L"old\\versioned.ocx"), InApp(L"versioned.ocx"));
    const std::wstring newer = JoinPath(WindowsFolder(), L"versioned.ocx");
    CopyOrThrow(JoinPath(fixtures, L"new\\versioned.ocx"), newer);
    RemoveAtEnd(newer);
    RemoveAtEnd(JoinPath(WindowsFolder(), L"versioned.000"));

    struct Row {
        std::wstring line;
        std::wstring handed;   // what the registrar is given
        std::wstring finding;  // "N TVRnnn", or empty
        std::wstring named;    // a DLL the finding (and Wine's loader) names
        DWORD registrarExit;
    };
    const Row rows[] = {
        {L"imports_absent.dll,", L"imports_absent.dll", L"2 TVR018", L"absent_runtime.dll", 3},
        {L"needs_helper.dll,", L"needs_helper.dll", L"3 TVR018", L"helper.dll", 3},
        {JoinPath(beside, L"needs_helper.dll") + L",CurrentPath$", JoinPath(beside, L"needs_helper.dll"),
         L"4 TVR018", L"helper_runtime.dll", 3},
        {L"no_register.dll,", L"no_register.dll", L"5 TVR017", L"", 4},
        {L"delay_absent.dll,", L"delay_absent.dll", L"6 TVR019", L"delayed_runtime.dll", 0},
        {L"versioned.ocx,winpath$", L"versioned.ocx", L"7 TVR020", L"", 0},
        {L"not_a_program.ocx,", L"not_a_program.ocx", L"8 TVR015", L"", 3},
    };
    std::vector<std::wstring> lines = {L"' componentes que fallan"};
    std::vector<std::wstring> expected;
    for (const Row& row : rows) {
        lines.push_back(row.line);
        expected.push_back(row.finding);
    }
    Prepare(lines, RealRegistrarExe());
    const CheckOutput check = Check();
    EXPECT_EQ(check.exitCode, 1u) << check.All();
    ASSERT_EQ(check.Codes(), expected) << check.All();

    wchar_t debug[256] = L"";
    const bool hadDebug = GetEnvironmentVariableW(L"WINEDEBUG", debug, 256) > 0;
    SetEnvironmentVariableW(L"WINEDEBUG", L"-all,err+module");  // Wine's loader says what it misses
    for (const Row& row : rows) {
        SCOPED_TRACE(ToUtf8(row.line));
        const std::wstring number = row.finding.substr(0, row.finding.find(L' '));
        const auto finding = std::find_if(check.lines.begin(), check.lines.end(), [&](const std::wstring& line) {
            return StartsWith(line, L"TovrelSvr.lst(" + number + L")");
        });
        ASSERT_NE(finding, check.lines.end());
        if (!row.named.empty()) {
          EXPECT_NE(finding->find(row.named), std::wstring::npos) << ToUtf8(*finding);
        }
        if (row.registrarExit != 0) {
            EXPECT_NE(finding->find(L"código " + std::to_wstring(row.registrarExit)), std::wstring::npos)
                << ToUtf8(*finding);
        }
        // Wine's loader writes what it misses to the error stream this test inherited, not
        // to the registrar's: it stands in this test's log beside the result.
        const CheckOutput registrar = RunCheck(L"/s \"" + row.handed + L"\"", InApp(L"regsvr32.exe"), folder_);
        EXPECT_EQ(registrar.exitCode, row.registrarExit) << registrar.All();
    }
    SetEnvironmentVariableW(L"WINEDEBUG", hadDebug ? debug : nullptr);
    for (const wchar_t* name : {L"delay_absent.dll", L"versioned.ocx"}) {
        RunCheck(L"/u /s \"" + std::wstring(name) + L"\"", InApp(L"regsvr32.exe"), folder_);
    }
}

// After a real run, /verificar reads each sample's registration back; each way a registration
// is spoilt shows on its own line with exit code 1, and putting it right gives 0 again.
class VerificationTest : public CheckerTest {
protected:
    static constexpr wchar_t kLetters[] = L"ABC";
    static std::wstring ClassKey(wchar_t letter) {
        return std::wstring(L"CLSID\\{6F1C2A10-3B4D-4E5F-8A91-2C3D4E5F6A0") + static_cast<wchar_t>(L'1' + (letter - L'A')) + L"}";
    }
    // The registry view of the other bitness than this program's (and the samples').
    static REGSAM OtherView() { return sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }
    static void DeleteClass(wchar_t letter, REGSAM view) {
        const std::wstring key = L"Software\\Classes\\" + ClassKey(letter);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, (key + L"\\InprocServer32").c_str(), view, 0);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, (key + L"\\ProgID").c_str(), view, 0);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), view, 0);
    }
    static void SetServer(wchar_t letter, REGSAM view, const std::wstring& server) {
        HKEY key = nullptr;
        const std::wstring path = L"Software\\Classes\\" + ClassKey(letter) + L"\\InprocServer32";
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                       static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    void SetUp() override {
        CheckerTest::SetUp();
        for (const wchar_t letter : std::wstring(kLetters)) {
            DeleteClass(letter, 0);
            DeleteClass(letter, OtherView());
            CopyOrThrow(SampleDll(letter), InApp(std::wstring(L"TovrelSample") + letter + L".dll"));
        }
    }
    void TearDown() override {
        for (const wchar_t letter : std::wstring(kLetters)) {
            Registrar(letter, L"/u /s");
            DeleteClass(letter, OtherView());
        }
        CheckerTest::TearDown();
    }
    DWORD Registrar(wchar_t letter, const std::wstring& switches) {
        return RunToEnd(L"\"" + InApp(L"regsvr32.exe") + L"\" TovrelSample" + letter + L".dll " + switches, folder_);
    }
    CheckOutput Verify() { return RunCheck(L"/verificar \"" + folder_ + L"\"", CheckExe(), WindowsFolder()); }
};

TEST_F(VerificationTest, TellsEachComponentsRegistrationAndEachWayItGoesWrong) {
    Prepare({L"' muestras", L"TovrelSampleA.dll,", L"TovrelSampleB.dll,winpath$", L"TovrelSampleC.dll,Systempath$"},
            RealRegistrarExe());
    StartAndWaitForForm1();
    PressRegistrarAndFinish();
    // The registrar is not awaited by Tovrel: wait until every registration is complete.
    CheckOutput check;
    ASSERT_TRUE(PollUntil([&] { return (check = Verify()).exitCode == 0; })) << check.All();
    EXPECT_EQ(check.Codes(), std::vector<std::wstring>{}) << check.All();
    for (const wchar_t letter : std::wstring(kLetters)) {
        const std::wstring dll = std::wstring(L"TovrelSample") + letter + L".dll";
        const auto named = std::count_if(check.lines.begin(), check.lines.end(), [&](const std::wstring& line) {
            return line.find(ClassKey(letter).substr(6)) != std::wstring::npos &&
                   line.find(L"InprocServer32 " + InApp(dll) + L", el mismo archivo") != std::wstring::npos;
        });
        EXPECT_EQ(named, 1) << "sample " << char(letter) << "\n" << check.All();
    }
    EXPECT_EQ(std::count(check.lines.begin(), check.lines.end(),
                         L"    correcto: registrado al archivo que entrega la lista"),
              3)
        << check.All();

    struct Spoilt {
        const char* what;
        wchar_t letter;
        std::function<void()> spoil;
        const wchar_t* finding;
    };
    const Spoilt cases[] = {
        {"a class key deleted", L'B', [&] { DeleteClass(L'B', 0); }, L"3 TVR030"},
        {"the server path at a missing file", L'C',
         [&] { SetServer(L'C', 0, JoinPath(folder_, L"no-existe\\TovrelSampleC.dll")); }, L"4 TVR031"},
        {"unregistered with the registrar's /u", L'A', [&] { EXPECT_EQ(Registrar(L'A', L"/u /s"), 0u); },
         L"2 TVR030"},
        {"registered in the other bitness's view instead", L'A',
         [&] {
             EXPECT_EQ(Registrar(L'A', L"/u /s"), 0u);
             SetServer(L'A', OtherView(), InApp(L"TovrelSampleA.dll"));
         },
         L"2 TVR033"},
    };
    for (const Spoilt& c : cases) {
        SCOPED_TRACE(c.what);
        c.spoil();
        check = Verify();
        EXPECT_EQ(check.exitCode, 1u) << check.All();
        EXPECT_EQ(check.Codes(), std::vector<std::wstring>{c.finding}) << check.All();
        DeleteClass(c.letter, OtherView());
        EXPECT_EQ(Registrar(c.letter, L"/s"), 0u);
        check = Verify();
        EXPECT_EQ(check.exitCode, 0u) << "put right again\n" << check.All();
    }
}

}  // namespace
}  // namespace e2e

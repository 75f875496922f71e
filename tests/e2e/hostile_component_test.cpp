// Component texts that no sane list holds: very long, quoted, or file-name patterns. The
// command line is built from them as always, and a pattern never replaces a file unsaved.
#include "app_fixture.h"

namespace e2e {
namespace {

using namespace tovrel::ui;
using HostileComponentTest = TovrelAppTest;

TEST_F(HostileComponentTest, LongQuotedAndWildcardTextsReachTheRegistrarAsWritten) {
    // The empty token registers the text unchanged, with no existence test or copy.
    const std::vector<std::wstring> components = {
        std::wstring(296, L'L') + L".dll",
        L"  " + std::wstring(200, L'x') + L" con blancos " + std::wstring(200, L'y') + L".ocx ",
        L"dos \"comillas\".dll",
        L"\"",
        L"*.dll",
        L"c?mp*.o?x"};
    std::vector<std::wstring> lines, expected;
    for (const std::wstring& c : components) {
        lines.push_back(c + L",");
        expected.push_back(RegistrarCommand(c, true));
    }
    Prepare(lines);
    StartAndWaitForForm1();
    PressRegistrarAndFinish();
    ExpectResponsive();
    EXPECT_EQ(SortedPrintable(CommandLines(WaitForLaunches(LaunchLog(), expected.size()))),
              SortedPrintable(expected));
    EXPECT_TRUE(ErrorLines().empty()) << Printable(TextOf(Control(kTxtError)));
}

TEST_F(HostileComponentTest, PatternUnderACopyingTokenReplacesNoMatchingFileUnsaved) {
    const std::wstring sys = SystemFolder();
    const std::wstring stem = UniqueStem(L"wild");
    const std::wstring old = stem + L"old.dll";
    WriteBytes(JoinPath(sys, old), "viejo");
    RemoveAtEnd(JoinPath(sys, old));
    // The patterns match the old file in the system folder and the new one beside the program.
    WriteBytes(InApp(stem + L"new.dll"), "nuevo");
    const std::vector<std::wstring> patterns = {stem + L"*.dll", stem + L"???.dll", stem + L"?*.d?l"};
    std::vector<std::wstring> lines, expected;
    for (const std::wstring& p : patterns) {
        lines.push_back(p + L",Systempath$");
        expected.push_back(RegistrarCommand(p, true));
    }
    // A bare name too long for any folder is simply not found beside the program.
    const std::wstring tooLong = stem + std::wstring(300, L'z') + L".dll";
    lines.push_back(tooLong + L",Systempath$");
    Prepare(lines);
    StartAndWaitForForm1();

    Click(Control(kCmdRegistrar));
    // This box is wider than the screen, so its icon is not read back here.
    const MessageBoxSeen box = WaitForMessageBox(app_->id());
    EXPECT_EQ(Printable(box.text), Printable(L"El Archivo que intenta registrar (" + AppPath() + tooLong +
                                             L") no se encuentra en la ubicacion especificada!!!"));
    EXPECT_EQ(box.title, L"Aviso al operador");
    PressOk(box);
    ExpectFinalizado();
    ExpectResponsive();
    EXPECT_EQ(SortedPrintable(CommandLines(WaitForLaunches(LaunchLog(), expected.size()))),
              SortedPrintable(expected));

    // Every file now matching the stem is the old file or a backup of it, all with the old
    // contents: nothing was replaced, and nothing new was made from the new one.
    const std::vector<std::wstring> found = FileNamesMatching(sys, stem + L"*");
    for (const std::wstring& name : found) {
        RemoveAtEnd(JoinPath(sys, name));
        EXPECT_EQ(ContentsOf(JoinPath(sys, name)), "viejo") << Printable(name);
    }
    EXPECT_EQ(ContentsOf(JoinPath(sys, old)), "viejo");
    EXPECT_FALSE(ErrorLines().empty()) << "a copy that cannot be made must be told";
}

}  // namespace
}  // namespace e2e

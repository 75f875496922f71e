// The operator's buttons while a run waits in its yield: a second "Registrar" must not start
// a second run, and "Salir" ends the program at once without spoiling a copy.
#include <algorithm>

#include "app_fixture.h"

namespace e2e {
namespace {

using namespace tovrel::ui;
using HostileRunTest = TovrelAppTest;

constexpr int kComponents = 100;
constexpr int kCopies = 40;
constexpr milliseconds kLongRun{90000};

TEST_F(HostileRunTest, RegistrarPressedAgainDuringARunLaunchesEachComponentOnce) {
    std::vector<std::wstring> lines, expected;
    for (int i = 0; i < kComponents; ++i) {
        lines.push_back(L"r" + std::to_wstring(i) + L".dll,");
        expected.push_back(RegistrarCommand(L"r" + std::to_wstring(i) + L".dll", true));
    }
    Prepare(lines);
    StartAndWaitForForm1();
    const HWND registrar = Control(kCmdRegistrar);
    Click(registrar);

    // Keep pressing until the run's closing message is up; every press lands in a yield.
    int presses = 0;
    ASSERT_TRUE(PollUntil([&] {
        PostCommand(form1_, kCmdRegistrar, registrar);
        ++presses;
        return !MessageBoxesOf(app_->id()).empty();
    }, kLongRun)) << "the run did not end; the process has: " << DescribeWindows(app_->id());
    EXPECT_GT(presses, 10) << "the presses did not overlap the run";
    Sleep(500);  // let the presses still queued reach the window while the run holds its box
    ExpectFinalizado();
    EXPECT_TRUE(NoMessageBoxWithin(app_->id(), milliseconds(2000))) << "a second run followed";
    ExpectResponsive();

    // Each component once: launched, or (rarely, and told) refused by Wine as it started.
    std::vector<std::wstring> refused;
    EXPECT_TRUE(ErrorLinesBesideWineRefusals(refused).empty()) << Printable(TextOf(Control(kTxtError)));
    EXPECT_LE(refused.size(), 2u) << Printable(TextOf(Control(kTxtError)));
    for (const std::wstring& component : refused)
        expected.erase(std::remove(expected.begin(), expected.end(), RegistrarCommand(component, true)),
                       expected.end());
    ASSERT_EQ(expected.size() + refused.size(), static_cast<size_t>(kComponents)) << "an unknown name was refused";
    WaitForLaunches(LaunchLog(), expected.size(), kLongRun);
    EXPECT_FALSE(PollUntil([&] { return ReadLaunchLog(LaunchLog()).size() > expected.size(); },
                           milliseconds(1500)));
    EXPECT_EQ(SortedPrintable(CommandLines(ReadLaunchLog(LaunchLog()))), SortedPrintable(expected));
}

TEST_F(HostileRunTest, SalirDuringARunEndsTheProgramAndLeavesWholeCopies) {
    const std::wstring sys = SystemFolder();
    const std::wstring stem = UniqueStem(L"salir");
    std::vector<std::wstring> lines, names;
    std::vector<std::string> contents;
    for (int i = 0; i < kCopies; ++i) {
        names.push_back(stem + L"c" + std::to_wstring(i) + L".dll");
        contents.push_back(std::string(256 * 1024, static_cast<char>('a' + i % 26)) + std::to_string(i));
        WriteBytes(InApp(names.back()), contents.back());
        RemoveAtEnd(JoinPath(sys, names.back()));
        lines.push_back(names.back() + L",Systempath$");
    }
    Prepare(lines);
    StartAndWaitForForm1();
    Click(Control(kCmdRegistrar));
    WaitForLaunches(LaunchLog(), 3, kLongRun);
    Click(Control(kCmdSalir));
    ASSERT_TRUE(app_->WaitForExit(5000)) << "still running after Salir: " << DescribeWindows(app_->id());

    // Each component is either not copied yet or copied whole.
    int copied = 0;
    for (int i = 0; i < kCopies; ++i) {
        const std::wstring target = JoinPath(sys, names[i]);
        if (!FileExists(target)) continue;
        ++copied;
        EXPECT_TRUE(ContentsOf(target) == contents[i]) << Printable(names[i]) << " is not whole";
    }
    EXPECT_GE(copied, 3);
    EXPECT_LT(copied, kCopies) << "the run was over before Salir was pressed";
}

}  // namespace
}  // namespace e2e

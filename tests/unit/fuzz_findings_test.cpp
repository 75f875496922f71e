// Faults the fuzzer found, each reduced to its smallest case.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform_error.h"
#include "commands/main_commands.h"
#include "tests/unit/workstation.h"

namespace tovrel::testing {
namespace {

// The existence test sees normal files only, so a system file at the target is not backed
// up; the copy must then not destroy it: either it stays, or a backup holds its content.
TEST(FuzzFindingsTest, ASystemFileInTheDestinationIsNeverReplacedUnsaved) {
  Workstation ws;
  ws.WriteList({"comp.dll,Systempath$"});
  ws.files.AddFile(L"C:\\Tovrel\\comp.dll", "new");
  ws.files.AddFile(L"C:\\Windows\\System32\\comp.dll", "old", fake::kSystem);
  commands::MainCommands commands(ws.ports, ws.window, ws.background);
  ASSERT_EQ(commands.Load(), catalogue::StartupResult::Ready);
  ASSERT_EQ(commands.RegistrarClick(), registration::RunOutcome::Ended);

  const fake::FakeFile* target = ws.files.File(L"C:\\Windows\\System32\\comp.dll");
  const fake::FakeFile* backup = ws.files.File(L"C:\\Windows\\System32\\comp.000");
  ASSERT_NE(target, nullptr);
  EXPECT_TRUE(target->bytes == "old" || (backup != nullptr && backup->bytes == "old"))
      << "the old system file was overwritten and no backup holds it";
}

// Win32's copy refuses to replace a hidden file; the substitute must too, or the run's
// tests miss what happens to such a file on a workstation.
TEST(FuzzFindingsTest, TheSubstituteRefusesToReplaceAHiddenFileAsWin32Does) {
  fake::FakeFileSystem files;
  files.AddFile(L"C:\\A\\new.dll", "new");
  files.AddFile(L"C:\\A\\old.dll", "old", fake::kHidden);
  EXPECT_THROW(files.Copy(L"C:\\A\\new.dll", L"C:\\A\\old.dll", true), platform::PlatformError);
  EXPECT_EQ(files.File(L"C:\\A\\old.dll")->bytes, "old");
}

// Every error line of a run used to read the whole error box and write it back: a list of
// thousands of lines without a comma took minutes. Adding a line must cost about its own
// length, whatever the box holds already.
class CountingWindow : public fake::FakeMainWindow {
 public:
  std::size_t charactersMoved = 0;
  std::wstring ErrorText() override {
    charactersMoved += errorText.size();
    return errorText;
  }
  void SetErrorText(const std::wstring& text) override {
    charactersMoved += text.size();
    errorText = text;
  }
};

TEST(FuzzFindingsTest, ErrorLinesCostTheirOwnLengthNotTheWholeBox) {
  Workstation ws;
  ws.WriteList(std::vector<std::string>(2000, "sin coma"));
  CountingWindow window;
  platform::Ports ports{ws.files, ws.fileNumbers, ws.folders, ws.launcher, ws.text, window, ws.checklist};
  commands::MainCommands commands(ports, window, ws.background);
  ASSERT_EQ(commands.Load(), catalogue::StartupResult::Ready);
  window.charactersMoved = 0;
  const std::size_t before = window.errorText.size();
  ASSERT_EQ(commands.RegistrarClick(), registration::RunOutcome::Ended);

  const std::size_t added = window.errorText.size() - before;
  ASSERT_GT(added, 2000u * 10);  // one line per line of the list
  EXPECT_LE(window.charactersMoved, 4 * added) << "adding error lines grows with the square of their number";
}

}  // namespace
}  // namespace tovrel::testing

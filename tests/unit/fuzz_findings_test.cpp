// Faults the fuzzer found, each reduced to its smallest case.
#include <gtest/gtest.h>

#include "platform/platform_error.h"
#include "registration/main_commands.h"
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
  registration::MainCommands commands(ws.ports);
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
  EXPECT_THROW(files.CopyFile(L"C:\\A\\new.dll", L"C:\\A\\old.dll", true), platform::PlatformError);
  EXPECT_EQ(files.File(L"C:\\A\\old.dll")->bytes, "old");
}

}  // namespace
}  // namespace tovrel::testing

#include <gtest/gtest.h>

#include <cwchar>

#include "platform/replacement_name.h"
#include "registration/backup.h"
#include "tests/fake/fake_files.h"

namespace tovrel::registration {
namespace {

TEST(BackupCandidateNameTest, DigitsReplaceTheLastThreeCharactersButNeverLeaveTheFolder) {
  EXPECT_EQ(BackupCandidateName(L"C:\\S\\comp.dll", 8, 0), L"C:\\S\\comp.000");
  EXPECT_EQ(BackupCandidateName(L"C:\\S\\comp.dll", 8, 42), L"C:\\S\\comp.042");
  EXPECT_EQ(BackupCandidateName(L"C:\\S\\x.ax", 4, 999), L"C:\\S\\x999");
  EXPECT_EQ(BackupCandidateName(L"C:\\S\\abc", 3, 7), L"C:\\S\\007");
  // Shorter bare names are replaced whole: the backslash stays.
  EXPECT_EQ(BackupCandidateName(L"C:\\S\\ab", 2, 1), L"C:\\S\\001");
  EXPECT_EQ(BackupCandidateName(L"C:\\S\\a", 1, 5), L"C:\\S\\005");
  EXPECT_EQ(BackupCandidateName(L"C:\\S\\", 0, 0), L"C:\\S\\000");
}

TEST(ReplacementNameTest, OneRecognisableNamePerDestinationInItsOwnFolder) {
  using platform::IsReplacementName;
  using platform::ReplacementPathFor;
  const std::wstring temporary = ReplacementPathFor(L"C:\\S\\comp.dll");
  EXPECT_EQ(temporary.rfind(L"C:\\S\\~tovrel-", 0), 0u);
  EXPECT_EQ(temporary.substr(temporary.size() - 4), L".tmp");
  EXPECT_TRUE(IsReplacementName(temporary.substr(5)));
  EXPECT_EQ(ReplacementPathFor(L"C:\\S\\COMP.DLL"), temporary);  // the same file in any case
  EXPECT_NE(ReplacementPathFor(L"C:\\S\\comp.000"), temporary);
  EXPECT_EQ(ReplacementPathFor(L"D:comp.dll").rfind(L"D:~tovrel-", 0), 0u);
  EXPECT_TRUE(IsReplacementName(L"~TOVREL-0A1B2C3D.TMP"));
  for (const wchar_t* other : {L"~tovrel-0a1b2c3.tmp", L"~tovrel-0a1b2c3g.tmp", L"~tovrel-0a1b2c3d.dll",
                               L"x~tovrel-0a1b2c3d.tmp", L"comp.dll", L""}) {
    EXPECT_FALSE(IsReplacementName(other)) << std::string(other, other + std::wcslen(other));
  }
}

struct Killed {};  // the process ended at a step of a copy

class BackupTest : public ::testing::Test {
 protected:
  void SetUp() override { files_.AddFile(L"C:\\Sys\\comp.dll", "old"); }
  fake::FakeFileSystem files_;
};

TEST_F(BackupTest, NothingToSaveWhenNoNormalFileIsThere) {
  EXPECT_EQ(BackupExisting(L"C:\\Sys\\", L"other.dll", files_).outcome, BackupOutcome::NothingToSave);
  files_.AddFile(L"C:\\Sys\\hid.dll", "", fake::kHidden);
  EXPECT_EQ(BackupExisting(L"C:\\Sys\\", L"hid.dll", files_).outcome, BackupOutcome::NothingToSave);
  EXPECT_TRUE(files_.copies.empty());
}

TEST_F(BackupTest, SavesUnderTheLowestFreeNumberWithoutReplacing) {
  files_.AddFile(L"C:\\Sys\\comp.000");
  files_.AddFile(L"C:\\Sys\\comp.002");
  BackupResult result = BackupExisting(L"C:\\Sys\\", L"comp.dll", files_);
  ASSERT_EQ(result.outcome, BackupOutcome::Saved);
  EXPECT_EQ(result.backupPath, L"C:\\Sys\\comp.001");  // the gap is filled first
  ASSERT_EQ(files_.copies.size(), 1u);
  EXPECT_EQ(files_.copies[0].from, L"C:\\Sys\\comp.dll");
  EXPECT_FALSE(files_.copies[0].replaceExisting);
  EXPECT_EQ(files_.File(L"C:\\Sys\\comp.001")->bytes, "old");

  result = BackupExisting(L"C:\\Sys\\", L"comp.dll", files_);
  EXPECT_EQ(result.backupPath, L"C:\\Sys\\comp.003");
}

TEST_F(BackupTest, AShortBareNameIsBackedUpInsideItsFolder) {
  files_.AddFile(L"C:\\Sys\\ab", "short");
  const BackupResult result = BackupExisting(L"C:\\Sys\\", L"ab", files_);
  ASSERT_EQ(result.outcome, BackupOutcome::Saved);
  EXPECT_EQ(result.backupPath, L"C:\\Sys\\000");
  EXPECT_FALSE(files_.HasFile(L"C:\\Sy000"));
}

TEST_F(BackupTest, AllThousandNamesTakenFailsAfterTryingEachOnce) {
  for (int i = 0; i < kBackupNameCount; ++i) files_.AddFile(BackupCandidateName(L"C:\\Sys\\comp.dll", 8, i));
  const BackupResult result = BackupExisting(L"C:\\Sys\\", L"comp.dll", files_);
  EXPECT_EQ(result.outcome, BackupOutcome::Failed);
  EXPECT_NE(result.description.find(L"C:\\Sys\\comp.dll"), std::wstring::npos);
  EXPECT_EQ(result.description,
            L"Los 1000 nombres de copia de respaldo de C:\\Sys\\comp.dll (000 a 999) ya están ocupados.");
  EXPECT_EQ(result.failure, BackupFailure::AllNamesTaken);
  EXPECT_TRUE(files_.copies.empty());
}

TEST_F(BackupTest, AKilledBackupNeverLeavesAPartOnItsNumberAndTheNextOneTakesIt) {
  // What a killed copy of another file left beside it: the next completed copy clears it too.
  files_.AddFile(platform::ReplacementPathFor(L"C:\\Sys\\other.dll"), "part");
  for (const fake::CopyStep step : {fake::CopyStep::CreateTemporary, fake::CopyStep::Write, fake::CopyStep::Flush,
                                    fake::CopyStep::Rename}) {
    files_.duringCopy = [step](fake::CopyStep now, const std::wstring&) {
      if (now == step) throw Killed{};
    };
    EXPECT_THROW(BackupExisting(L"C:\\Sys\\", L"comp.dll", files_), Killed);
    EXPECT_FALSE(files_.HasFile(L"C:\\Sys\\comp.000"));
    EXPECT_LE(files_.TemporaryFiles().size(), 1u);
    files_.duringCopy = nullptr;
    // The later run's existence tests see the number free and the leftover not at all.
    EXPECT_FALSE(files_.FindNormalFile(L"C:\\Sys\\*.tmp"));
    const BackupResult result = BackupExisting(L"C:\\Sys\\", L"comp.dll", files_);
    ASSERT_EQ(result.outcome, BackupOutcome::Saved);
    EXPECT_EQ(result.backupPath, L"C:\\Sys\\comp.000");
    EXPECT_EQ(files_.File(L"C:\\Sys\\comp.000")->bytes, "old");
    EXPECT_TRUE(files_.TemporaryFiles().empty());
    files_.RemoveFile(L"C:\\Sys\\comp.000");
  }
}

TEST_F(BackupTest, TwoBackupsNeverClaimOneName) {
  // Another run takes the number while this backup is being written.
  files_.duringCopy = [this](fake::CopyStep now, const std::wstring& to) {
    if (now == fake::CopyStep::Rename) files_.AddFile(to, "other run");
  };
  const BackupResult result = BackupExisting(L"C:\\Sys\\", L"comp.dll", files_);
  EXPECT_EQ(result.outcome, BackupOutcome::Failed);
  EXPECT_EQ(files_.File(L"C:\\Sys\\comp.000")->bytes, "other run");
  EXPECT_TRUE(files_.TemporaryFiles().empty());
}

TEST_F(BackupTest, FailuresAreInTheResultNeverThrown) {
  files_.FailLookupOf(L"C:\\Sys\\comp.000");
  BackupResult result = BackupExisting(L"C:\\Sys\\", L"comp.dll", files_);
  EXPECT_EQ(result.outcome, BackupOutcome::Saved);  // a refused candidate counts as taken
  EXPECT_EQ(result.backupPath, L"C:\\Sys\\comp.001");
  EXPECT_EQ(result.lookupErrors.size(), 1u);

  files_.FailCopyTo(L"C:\\Sys\\comp.002");
  result = BackupExisting(L"C:\\Sys\\", L"comp.dll", files_);
  EXPECT_EQ(result.outcome, BackupOutcome::Failed);
  EXPECT_EQ(result.description, L"Acceso denegado.");

  files_.FailLookupOf(L"C:\\Sys\\comp.dll");
  result = BackupExisting(L"C:\\Sys\\", L"comp.dll", files_);
  EXPECT_EQ(result.outcome, BackupOutcome::Failed);  // cannot tell whether a file would be lost
  EXPECT_FALSE(result.description.empty());
}

}  // namespace
}  // namespace tovrel::registration

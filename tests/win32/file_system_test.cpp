#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "seam_test_support.h"

namespace tovrel::platform {
namespace {

using seam_test::TempFolder;
using seam_test::WriteBytes;

class FindNormalFileTest : public ::testing::Test {
 protected:
  TempFolder temp;
  Win32FileSystem files;
};

TEST_F(FindNormalFileTest, CountsOnlyNormalFiles) {
  WriteBytes(temp / L"normal.dll", "x");
  WriteBytes(temp / L"readonly.dll", "x");
  seam_test::SetAttributes(temp / L"readonly.dll", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  WriteBytes(temp / L"hidden.dll", "x");
  seam_test::SetAttributes(temp / L"hidden.dll", FILE_ATTRIBUTE_HIDDEN);
  WriteBytes(temp / L"system.dll", "x");
  seam_test::SetAttributes(temp / L"system.dll", FILE_ATTRIBUTE_SYSTEM);
  seam_test::MakeFolder(temp / L"folder.dll");

  EXPECT_TRUE(files.FindNormalFile(temp / L"normal.dll"));
  EXPECT_TRUE(files.FindNormalFile(temp / L"readonly.dll"));
  EXPECT_FALSE(files.FindNormalFile(temp / L"hidden.dll"));
  EXPECT_FALSE(files.FindNormalFile(temp / L"system.dll"));
  EXPECT_FALSE(files.FindNormalFile(temp / L"folder.dll"));
  // Names are looked up without regard to case, as the file system does.
  EXPECT_TRUE(files.FindNormalFile(temp / L"NORMAL.DLL"));
}

TEST_F(FindNormalFileTest, WildcardsNeedOneNormalMatch) {
  WriteBytes(temp / L"hidden1.ocx", "x");
  seam_test::SetAttributes(temp / L"hidden1.ocx", FILE_ATTRIBUTE_HIDDEN);
  seam_test::MakeFolder(temp / L"folder2.ocx");
  // Only skipped entries match so far.
  EXPECT_FALSE(files.FindNormalFile(temp / L"*.ocx"));
  EXPECT_FALSE(files.FindNormalFile(temp / L"*"));

  WriteBytes(temp / L"plain3.ocx", "x");
  EXPECT_TRUE(files.FindNormalFile(temp / L"*.ocx"));
  EXPECT_TRUE(files.FindNormalFile(temp / L"plain?.ocx"));
  EXPECT_TRUE(files.FindNormalFile(temp / L"*"));
  EXPECT_FALSE(files.FindNormalFile(temp / L"plain??.ocx"));
  EXPECT_FALSE(files.FindNormalFile(temp / L"*.dll"));
}

TEST_F(FindNormalFileTest, MissingOrMalformedPathsAreFalse) {
  WriteBytes(temp / L"file.dll", "x");
  EXPECT_FALSE(files.FindNormalFile(temp / L"missing.dll"));
  EXPECT_FALSE(files.FindNormalFile(temp / L"no such folder\\file.dll"));
  EXPECT_FALSE(files.FindNormalFile(temp / L"file.dll\\file.dll"));  // a file used as a folder
  EXPECT_FALSE(files.FindNormalFile(temp.Path()));                   // the folder itself
  EXPECT_FALSE(files.FindNormalFile(temp.Path() + L"\\"));
  EXPECT_FALSE(files.FindNormalFile(L""));
  EXPECT_FALSE(files.FindNormalFile(temp / L"bad|name.dll"));
  // The name must not be looked up cut short at an embedded null.
  EXPECT_FALSE(files.FindNormalFile(temp / std::wstring(L"file.dll\0tail", 13)));
}

TEST_F(FindNormalFileTest, RelativePatternsStartAtTheCurrentFolder) {
  WriteBytes(temp / L"relative.dll", "x");
  wchar_t previous[MAX_PATH * 4] = {};
  ASSERT_NE(::GetCurrentDirectoryW(MAX_PATH * 4, previous), 0u);
  ASSERT_TRUE(::SetCurrentDirectoryW(temp.Path().c_str()));
  const bool found = files.FindNormalFile(L"relative.dll");
  const bool foundMissing = files.FindNormalFile(L"other.dll");
  ::SetCurrentDirectoryW(previous);
  EXPECT_TRUE(found);
  EXPECT_FALSE(foundMissing);
}

class CopyFileTest : public ::testing::Test {
 protected:
  TempFolder temp;
  Win32FileSystem files;
};

TEST_F(CopyFileTest, ReplacesOnlyWhenAsked) {
  WriteBytes(temp / L"new.dll", "new contents");
  WriteBytes(temp / L"old.dll", "old");

  EXPECT_THROW(files.CopyFile(temp / L"new.dll", temp / L"old.dll", false), PlatformError);
  EXPECT_EQ(seam_test::ReadBytes(temp / L"old.dll"), "old");

  files.CopyFile(temp / L"new.dll", temp / L"old.dll", true);
  EXPECT_EQ(seam_test::ReadBytes(temp / L"old.dll"), "new contents");

  files.CopyFile(temp / L"new.dll", temp / L"fresh.dll", false);
  EXPECT_EQ(seam_test::ReadBytes(temp / L"fresh.dll"), "new contents");
}

// A hidden or system file is invisible to the existence test, so nothing backs it up: the
// copy must leave it alone, as Windows itself does; and a read-only one too, as on Windows.
TEST_F(CopyFileTest, NeverReplacesAReadOnlyHiddenOrSystemFile) {
  WriteBytes(temp / L"new.dll", "new");
  for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_READONLY}, DWORD{FILE_ATTRIBUTE_HIDDEN},
                                 DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
    const std::wstring target = temp / (L"old" + std::to_wstring(attributes) + L".dll");
    WriteBytes(target, "old");
    seam_test::SetAttributes(target, attributes);
    try {
      files.CopyFile(temp / L"new.dll", target, true);
      ADD_FAILURE() << "replaced a file with attributes " << attributes;
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.Description(), DescribeWin32Error(ERROR_ACCESS_DENIED));
    }
    seam_test::SetAttributes(target, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(seam_test::ReadBytes(target), "old");
  }
}

TEST_F(CopyFileTest, FailuresCarryTheSystemsDescription) {
  WriteBytes(temp / L"comp.dll", "x");
  try {
    files.CopyFile(temp / L"comp.dll", temp / L"missing folder\\comp.dll", true);
    FAIL() << "copied into a missing folder";
  } catch (const PlatformError& error) {
    EXPECT_FALSE(error.Description().empty());
  }
  EXPECT_FALSE(seam_test::Exists(temp / L"missing folder"));

  try {
    files.CopyFile(temp / L"absent.dll", temp / L"copy.dll", true);
    FAIL() << "copied a missing file";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.Description(), DescribeWin32Error(ERROR_FILE_NOT_FOUND));
  }
  EXPECT_FALSE(seam_test::Exists(temp / L"copy.dll"));

  EXPECT_THROW(files.CopyFile(temp / std::wstring(L"comp.dll\0x", 10), temp / L"c2.dll", true), PlatformError);
}

}  // namespace
}  // namespace tovrel::platform

#include <gtest/gtest.h>

#include "platform/replacement_name.h"
#include "platform/win32/win32_platform.h"
#include "seam_test_support.h"

namespace tovrel::platform {
namespace {

using seam_test::FileNamesIn;
using seam_test::TempFolder;
using Names = std::vector<std::wstring>;
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
  // A '?' before the dot may match nothing (Windows and Wine 10 find plain3.ocx for
  // "plain??.ocx"; Wine 8 does not), so the miss asks for a character that is not there.
  EXPECT_FALSE(files.FindNormalFile(temp / L"plain?x.ocx"));
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

// The copy goes through a temporary file that is renamed: afterwards only the destination is
// there, with the source's attributes and time, as the system's own copy leaves it.
TEST_F(CopyFileTest, ReplacesInOneStepKeepingTheSourcesAttributesAndTime) {
  const std::string big(3u << 20, 'n');  // more than one piece of the copy
  WriteBytes(temp / L"new.dll", big);
  seam_test::SetAttributes(temp / L"new.dll", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  WriteBytes(temp / L"old.dll", "old");
  files.Copy(temp / L"new.dll", temp / L"old.dll", true);
  EXPECT_EQ(seam_test::ReadBytes(temp / L"old.dll"), big);
  EXPECT_EQ(FileNamesIn(temp.Path()), (Names{L"new.dll", L"old.dll"}));
  EXPECT_EQ(::GetFileAttributesW((temp / L"old.dll").c_str()), DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE});
  WIN32_FILE_ATTRIBUTE_DATA source{}, copy{};
  ASSERT_TRUE(::GetFileAttributesExW((temp / L"new.dll").c_str(), GetFileExInfoStandard, &source));
  ASSERT_TRUE(::GetFileAttributesExW((temp / L"old.dll").c_str(), GetFileExInfoStandard, &copy));
  EXPECT_EQ(::CompareFileTime(&source.ftLastWriteTime, &copy.ftLastWriteTime), 0);
}

// What a copy cut short leaves (a hidden part, or a whole one not yet renamed) is this
// destination's own: no lookup counts it, and the next copy there takes its place.
TEST_F(CopyFileTest, ALeftoverTemporaryIsNeverCountedAndTheNextCopyClearsIt) {
  WriteBytes(temp / L"comp.dll", "new");
  const std::wstring leftover = platform::ReplacementPathFor(temp / L"comp.dll");
  for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_NORMAL}, DWORD{FILE_ATTRIBUTE_READONLY}}) {
    WriteBytes(leftover, "part");
    seam_test::SetAttributes(leftover, attributes);
    EXPECT_FALSE(files.FindNormalFile(leftover));
    EXPECT_FALSE(files.FindNormalFile(temp / L"*.tmp"));
    EXPECT_FALSE(files.FindNormalFile(temp / L"~*"));
    EXPECT_FALSE(files.FindNormalFile(temp / L"????????????????????"));
    EXPECT_TRUE(files.FindNormalFile(temp / L"*"));  // comp.dll, not the leftover
    // Any copy into the folder clears what copies cut short left there, whatever its name.
    files.Copy(temp / L"comp.dll", temp / L"dest.dll", true);
    EXPECT_FALSE(seam_test::Exists(leftover));
    ::DeleteFileW((temp / L"dest.dll").c_str());
  }
  files.Copy(temp / L"comp.dll", temp / L"comp2.dll", false);
  WriteBytes(leftover, "part");
  seam_test::SetAttributes(leftover, FILE_ATTRIBUTE_HIDDEN);
  files.Copy(temp / L"comp2.dll", temp / L"comp.dll", true);
  EXPECT_EQ(FileNamesIn(temp.Path()), (Names{L"comp.dll", L"comp2.dll"}));
  EXPECT_EQ(seam_test::ReadBytes(temp / L"comp.dll"), "new");
}

TEST_F(CopyFileTest, ReplacesOnlyWhenAsked) {
  WriteBytes(temp / L"new.dll", "new contents");
  WriteBytes(temp / L"old.dll", "old");

  EXPECT_THROW(files.Copy(temp / L"new.dll", temp / L"old.dll", false), PlatformError);
  EXPECT_EQ(seam_test::ReadBytes(temp / L"old.dll"), "old");

  files.Copy(temp / L"new.dll", temp / L"old.dll", true);
  EXPECT_EQ(seam_test::ReadBytes(temp / L"old.dll"), "new contents");

  files.Copy(temp / L"new.dll", temp / L"fresh.dll", false);
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
      files.Copy(temp / L"new.dll", target, true);
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
    files.Copy(temp / L"comp.dll", temp / L"missing folder\\comp.dll", true);
    FAIL() << "copied into a missing folder";
  } catch (const PlatformError& error) {
    EXPECT_FALSE(error.Description().empty());
  }
  EXPECT_FALSE(seam_test::Exists(temp / L"missing folder"));

  try {
    files.Copy(temp / L"absent.dll", temp / L"copy.dll", true);
    FAIL() << "copied a missing file";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.Description(), DescribeWin32Error(ERROR_FILE_NOT_FOUND));
  }
  EXPECT_FALSE(seam_test::Exists(temp / L"copy.dll"));

  EXPECT_THROW(files.Copy(temp / std::wstring(L"comp.dll\0x", 10), temp / L"c2.dll", true), PlatformError);

  // A destination held open without sharing is refused as the system's copy refuses it.
  WriteBytes(temp / L"held.dll", "old");
  HANDLE held = ::CreateFileW((temp / L"held.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  try {
    files.Copy(temp / L"comp.dll", temp / L"held.dll", true);
    ADD_FAILURE() << "replaced a file held open";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.Description(), DescribeWin32Error(ERROR_SHARING_VIOLATION));
  }
  ::CloseHandle(held);
  EXPECT_EQ(seam_test::ReadBytes(temp / L"held.dll"), "old");
  try {
    files.Copy(temp / L"comp.dll", temp / L"held.dll", false);
    ADD_FAILURE() << "a copy without replacing replaced";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.Description(), DescribeWin32Error(ERROR_FILE_EXISTS));
  }
  EXPECT_THROW(files.Copy(temp / L"comp.dll", temp.Path(), true), PlatformError);  // a folder
  // No failure leaves a temporary file.
  EXPECT_EQ(FileNamesIn(temp.Path()), (Names{L"comp.dll", L"held.dll"}));
}

}  // namespace
}  // namespace tovrel::platform

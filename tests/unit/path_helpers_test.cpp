#include <gtest/gtest.h>

#include "platform/path_text.h"
#include "platform/platform_error.h"
#include "registration/path_helpers.h"
#include "tests/fake/fake_files.h"

namespace tovrel::registration {
namespace {

TEST(SplitPathTest, SplitsAtTheLastBackslash) {
  const struct {
    const wchar_t* todo;
    const wchar_t* folder;
    const wchar_t* name;
  } cases[] = {
      {L"C:\\Archivos\\Sistema\\comp.dll", L"C:\\Archivos\\Sistema", L"comp.dll"},
      {L"C:\\comp.dll", L"C:", L"comp.dll"},
      {L"\\comp.dll", L"", L"comp.dll"},
      {L"comp.dll", L"", L"comp.dll"},
      {L"C:comp.dll", L"", L"C:comp.dll"},
      {L"C:\\Temp\\", L"C:\\Temp", L""},
      {L"\\\\server\\share\\comp.dll", L"\\\\server\\share", L"comp.dll"},
      {L"", L"", L""},
      {L"a/b\\c.d", L"a/b", L"c.d"},
  };
  for (const auto& c : cases) {
    std::wstring folder = L"old folder", name = L"old name";
    SplitPath(c.todo, folder, name);
    EXPECT_EQ(folder, c.folder) << c.todo;
    EXPECT_EQ(name, c.name) << c.todo;
    std::wstring folderOnly = L"old";
    SplitPath(c.todo, folderOnly);
    EXPECT_EQ(folderOnly, c.folder) << c.todo;
  }
}

TEST(PathTextTest, ContainingFolderTrailingBackslashAndDoubledBackslashes) {
  const struct {
    const wchar_t* path;
    const wchar_t* containing;
    const wchar_t* trailing;
    const wchar_t* collapsed;
  } cases[] = {
      {L"C:\\A\\b.dll", L"C:\\A", L"C:\\A\\b.dll\\", L"C:\\A\\b.dll"},
      {L"C:\\b.dll", L"C:\\", L"C:\\b.dll\\", L"C:\\b.dll"},  // a drive's root keeps its backslash
      {L"\\b.dll", L"\\", L"\\b.dll\\", L"\\b.dll"},
      {L"b.dll", L"", L"b.dll\\", L"b.dll"},
      {L"C:\\A\\", L"C:\\A", L"C:\\A\\", L"C:\\A\\"},
      {L"", L"", L"\\", L""},
      {L"C:\\A\\\\\\b.dll", L"C:\\A\\\\", L"C:\\A\\\\\\b.dll\\", L"C:\\A\\b.dll"},
      {L"\\\\srv\\\\share\\b", L"\\\\srv\\\\share", L"\\\\srv\\\\share\\b\\", L"\\\\srv\\share\\b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::ContainingFolder(c.path), c.containing) << c.path;
    EXPECT_EQ(platform::WithTrailingBackslash(c.path), c.trailing) << c.path;
    EXPECT_EQ(platform::CollapseBackslashes(c.path), c.collapsed) << c.path;
  }
}

TEST(SplitPathTest, AnOutputMayBeTheInputItself) {
  std::wstring text = L"C:\\a\\comp.dll";
  std::wstring folder;
  SplitPath(text, folder, text);
  EXPECT_EQ(folder, L"C:\\a");
  EXPECT_EQ(text, L"comp.dll");
}

TEST(SplitPathTest, ATextPastThe16BitLimitFailsWithOutputsAsWithoutBackslash) {
  const std::wstring atLimit = L"C:\\" + std::wstring(kMaxSplitPathLength - 3, L'x');
  std::wstring folder, name;
  SplitPath(atLimit, folder, name);
  EXPECT_EQ(folder, L"C:");

  const std::wstring tooLong = atLimit + L"x";
  folder = L"old";
  name = L"old";
  try {
    SplitPath(tooLong, folder, name);
    FAIL() << "a text past the limit must fail";
  } catch (const platform::PlatformError& e) {
    EXPECT_FALSE(e.Description().empty());
  }
  EXPECT_EQ(folder, L"");
  EXPECT_EQ(name, tooLong);
}

TEST(QuotedTest, WrapsOnceAndTouchesNothingInside) {
  EXPECT_EQ(Quoted(L""), L"\"\"");
  EXPECT_EQ(Quoted(L" a b "), L"\" a b \"");
  EXPECT_EQ(Quoted(L"say \"hi\""), L"\"say \"hi\"\"");
}

TEST(FileExistsTest, TrueOnlyForNormalFiles) {
  fake::FakeFileSystem files;
  files.AddFile(L"C:\\App\\plain.dll");
  files.AddFile(L"C:\\App\\ro.dll", "", fake::kReadOnly);
  files.AddFile(L"C:\\App\\hidden.dll", "", fake::kHidden);
  files.AddFile(L"C:\\App\\sys.dll", "", fake::kSystem);
  files.AddFolder(L"C:\\App\\folder.dll");
  files.AddFile(L"C:\\App\\Sub\\deep.ocx");
  files.AddFile(L"C:\\Actual\\here.dll");

  EXPECT_TRUE(FileExists(L"C:\\App\\plain.dll", files));
  EXPECT_TRUE(FileExists(L"c:\\APP\\PLAIN.DLL", files));
  EXPECT_TRUE(FileExists(L"C:\\App\\ro.dll", files));
  EXPECT_FALSE(FileExists(L"C:\\App\\hidden.dll", files));
  EXPECT_FALSE(FileExists(L"C:\\App\\sys.dll", files));
  EXPECT_FALSE(FileExists(L"C:\\App\\folder.dll", files));
  EXPECT_FALSE(FileExists(L"C:\\App\\missing.dll", files));
  EXPECT_FALSE(FileExists(L"C:\\Nowhere\\plain.dll", files));
  EXPECT_FALSE(FileExists(L"C:\\App\\", files));
  EXPECT_TRUE(FileExists(L"here.dll", files));  // relative to the current folder

  EXPECT_TRUE(FileExists(L"C:\\App\\p*.dll", files));
  EXPECT_TRUE(FileExists(L"C:\\App\\pl?in.*", files));
  EXPECT_FALSE(FileExists(L"C:\\App\\h*.dll", files));   // only a hidden file matches
  EXPECT_FALSE(FileExists(L"C:\\App\\*.ocx", files));    // the match stays in its folder
  EXPECT_FALSE(FileExists(L"C:\\App\\fold*", files));

  files.FailLookupOf(L"C:\\App\\plain.dll");
  EXPECT_THROW(FileExists(L"C:\\App\\plain.dll", files), platform::PlatformError);
}

}  // namespace
}  // namespace tovrel::registration

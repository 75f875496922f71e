#include <gtest/gtest.h>

#include "platform/platform_error.h"
#include "platform/replacement_name.h"
#include "tests/fake/fake_platform.h"

// The substitute is shared by the unit tests, the benchmark and the fuzzer: its own rules
// must hold, or every test built on it proves nothing.
namespace tovrel::fake {
namespace {

using platform::PlatformError;

TEST(FakeTextFilesTest, ReadsLinesLikeTheListFileAndDecodesLatin1) {
  FakeFileSystem files;
  FakeTextFiles seam(files);
  platform::TextFiles text(seam);
  files.AddFile(L"C:\\a.lst", "uno\r\ndos\rtres\ncuatro\r\n\r\xE9\xD1");
  const std::int16_t n = text.FreeFileNumber();
  EXPECT_EQ(n, 1);
  text.Open(n, L"c:\\A.LST");
  EXPECT_EQ(text.FreeFileNumber(), 2);
  std::vector<std::wstring> lines;
  while (!text.AtEnd(n)) lines.push_back(text.ReadLine(n));
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"uno", L"dos", L"tres\ncuatro", L"", L"\xE9\xD1"}));
  EXPECT_THROW(text.ReadLine(n), PlatformError);
  text.Close(n);
  EXPECT_THROW(text.AtEnd(n), PlatformError);
  text.Close(n);  // closing twice does nothing

  files.AddFile(L"C:\\empty.lst", "");
  text.Open(1, L"C:\\empty.lst");
  EXPECT_TRUE(text.AtEnd(1));
  EXPECT_THROW(text.Open(1, L"C:\\a.lst"), PlatformError);  // number in use
  EXPECT_THROW(text.Open(2, L"C:\\none.lst"), PlatformError);
}

TEST(FakeTextFilesTest, FailuresOnDemandAndNoFreeNumber) {
  FakeFileSystem files;
  FakeTextFiles seam(files);
  platform::TextFiles text(seam);
  files.AddFile(L"C:\\a.lst", "1\r2\r3");
  seam.FailReadAfter(L"C:\\a.lst", 1);
  text.Open(1, L"C:\\a.lst");
  EXPECT_EQ(text.ReadLine(1), L"1");
  EXPECT_THROW(text.ReadLine(1), PlatformError);
  seam.FailOpenOf(L"C:\\A.lst");
  EXPECT_THROW(text.Open(2, L"C:\\a.lst"), PlatformError);
  files.AddFile(L"C:\\b.lst", "x");
  for (std::int16_t n = 2; n <= platform::TextFiles::kMaxFileNumber; ++n) text.Open(n, L"C:\\b.lst");
  EXPECT_THROW(text.FreeFileNumber(), PlatformError);
  text.Close(7);
  EXPECT_EQ(text.FreeFileNumber(), 7);
}

TEST(FakeFileSystemTest, CopiesLikeTheFileSystemDoes) {
  FakeFileSystem files;
  files.AddFile(L"C:\\src\\a.dll", "A");
  files.AddFile(L"C:\\dst\\ro.dll", "R", kReadOnly);
  files.AddFolder(L"C:\\dst\\sub");
  files.AddFile(L"\\\\srv\\share\\n.dll");  // a network path's folders end above the server's name
  EXPECT_TRUE(files.HasFolder(L"\\\\srv\\share"));
  files.Copy(L"C:\\src\\a.dll", L"C:\\DST\\a.dll", false);
  EXPECT_EQ(files.File(L"c:\\dst\\A.DLL")->bytes, "A");
  EXPECT_THROW(files.Copy(L"C:\\src\\a.dll", L"C:\\dst\\a.dll", false), PlatformError);
  files.Copy(L"C:\\src\\a.dll", L"C:\\dst\\\\a.dll", true);  // doubled backslash is one
  EXPECT_THROW(files.Copy(L"C:\\src\\a.dll", L"C:\\dst\\ro.dll", true), PlatformError);
  EXPECT_THROW(files.Copy(L"C:\\src\\b.dll", L"C:\\dst\\b.dll", true), PlatformError);
  EXPECT_THROW(files.Copy(L"C:\\src\\a.dll", L"C:\\nope\\a.dll", true), PlatformError);
  EXPECT_THROW(files.Copy(L"C:\\src\\a.dll", L"C:\\dst\\sub", true), PlatformError);
  EXPECT_EQ(files.copies.size(), 2u);
  EXPECT_TRUE(files.HasFolder(L"C:\\"));
}

TEST(FakeFileSystemTest, CopiesThroughAHiddenTemporaryThatNoLookupCountsAndNoFailureLeaves) {
  FakeFileSystem files;
  files.AddFile(L"C:\\src\\a.dll", "nuevo!", kReadOnly);
  files.AddFile(L"C:\\dst\\a.dll", "viejo");
  std::vector<std::wstring> seen;
  files.duringCopy = [&](CopyStep step, const std::wstring&) {
    const std::vector<std::wstring> temporary = files.TemporaryFiles();
    if (step == CopyStep::CreateTemporary) {
      EXPECT_TRUE(temporary.empty());
      return;
    }
    ASSERT_EQ(temporary.size(), 1u);
    const FakeFile* file = files.File(temporary[0]);
    seen.push_back(temporary[0] + L" " + std::wstring(file->bytes.begin(), file->bytes.end()) +
                   ((file->attributes & kHidden) ? L" hidden" : L""));
    EXPECT_EQ(files.File(L"C:\\dst\\a.dll")->bytes, "viejo");  // untouched until the rename
    // Not counted at any step, even once it carries the source's attributes.
    EXPECT_FALSE(files.FindNormalFile(L"C:\\dst\\*.tmp"));
    EXPECT_FALSE(files.FindNormalFile(temporary[0]));
  };
  files.Copy(L"C:\\src\\a.dll", L"C:\\dst\\a.dll", true);
  const std::wstring temporary = platform::ReplacementPathFor(L"C:\\dst\\a.dll");
  EXPECT_EQ(seen, (std::vector<std::wstring>{temporary + L" nue hidden", temporary + L" nuevo! hidden",
                                             temporary + L" nuevo!"}));
  EXPECT_EQ(files.File(L"C:\\dst\\a.dll")->bytes, "nuevo!");
  EXPECT_EQ(files.File(L"C:\\dst\\a.dll")->attributes, unsigned{kReadOnly});
  EXPECT_TRUE(files.TemporaryFiles().empty());
  files.duringCopy = nullptr;

  files.AddFile(L"C:\\dst\\b.dll", "viejo");
  for (const CopyStep step : {CopyStep::CreateTemporary, CopyStep::Write, CopyStep::Flush, CopyStep::Rename}) {
    files.FailCopyTo(L"C:\\dst\\b.dll", step);
    EXPECT_THROW(files.Copy(L"C:\\src\\a.dll", L"C:\\dst\\b.dll", true), PlatformError);
    EXPECT_EQ(files.File(L"C:\\dst\\b.dll")->bytes, "viejo");
    EXPECT_TRUE(files.TemporaryFiles().empty());
  }
}

TEST(FakeComparerTest, FoldsAsciiAndLatin1LettersOnlyAndKeysAgree) {
  FakeComparer text;
  EXPECT_TRUE(text.Equal(L"ABC\xC9\xD1", L"abc\xE9\xF1"));
  EXPECT_FALSE(text.Equal(L"\xD7", L"\xF7"));  // multiplication and division signs
  EXPECT_FALSE(text.Equal(L"a", L"a "));
  EXPECT_EQ(text.SortKey(L"ABC\xC9"), text.SortKey(L"abc\xE9"));
  EXPECT_NE(text.SortKey(L"\x0100"), text.SortKey(L"\x0001"));
}

}  // namespace
}  // namespace tovrel::fake

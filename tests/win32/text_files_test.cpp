#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "seam_test_support.h"

namespace tovrel::platform {
namespace {

using seam_test::TempFolder;
using seam_test::WriteBytes;

class TextFilesTest : public ::testing::Test {
 protected:
  // Every line of a file with the given bytes, read the way the list readers read it.
  std::vector<std::wstring> ReadAll(const std::string& bytes) {
    const std::wstring path = temp / L"list.lst";
    WriteBytes(path, bytes);
    const std::int16_t number = textFiles.FreeFileNumber();
    textFiles.Open(number, path);
    std::vector<std::wstring> lines;
    while (!textFiles.AtEnd(number)) lines.push_back(textFiles.ReadLine(number));
    textFiles.Close(number);
    return lines;
  }

  TempFolder temp;
  Win32TextFileSystem seam;
  TextFiles textFiles{seam};
};

using Lines = std::vector<std::wstring>;

TEST_F(TextFilesTest, LinesEndAtCarriageReturnsOnly) {
  EXPECT_EQ(ReadAll("a,winpath$\r\nb,\r\n"), (Lines{L"a,winpath$", L"b,"}));
  EXPECT_EQ(ReadAll("a\rb\r\rc"), (Lines{L"a", L"b", L"", L"c"}));
  EXPECT_EQ(ReadAll("a\nb\nc\n"), (Lines{L"a\nb\nc\n"}));
  EXPECT_EQ(ReadAll("a\r\n\r\nlast"), (Lines{L"a", L"", L"last"}));
  EXPECT_EQ(ReadAll("only\r"), (Lines{L"only"}));
  EXPECT_EQ(ReadAll("\n\r\n"), (Lines{L"\n"}));
  EXPECT_EQ(ReadAll(""), Lines{});
}

TEST_F(TextFilesTest, CarriageReturnAndLineFeedSplitAcrossReadChunks) {
  // The reader takes the file in chunks of 64 KiB: put a CR LF astride the first boundary.
  const std::string first(64 * 1024 - 1, 'x');
  const auto lines = ReadAll(first + "\r\nsecond\r\n");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), first.size());
  EXPECT_EQ(lines[1], L"second");
}

TEST_F(TextFilesTest, BytesAreDecodedFromTheAnsiCodePage) {
  // A byte-order mark is ordinary text: its bytes decode like any others.
  const std::string bom = "\xEF\xBB\xBF";
  const auto lines = ReadAll(bom + "'comment\r\ncaf\xE9,winpath$");
  ASSERT_EQ(lines.size(), 2u);
  wchar_t expectedBom[3] = {};
  ASSERT_EQ(::MultiByteToWideChar(CP_ACP, 0, bom.data(), 3, expectedBom, 3), 3);
  EXPECT_EQ(lines[0], std::wstring(expectedBom, 3) + L"'comment");
  if (::GetACP() == 1252) {
    EXPECT_EQ(lines[0].substr(0, 3), L"\u00EF\u00BB\u00BF");
    EXPECT_EQ(lines[1], L"caf\u00E9,winpath$");
  } else {
    wchar_t e = 0;
    ASSERT_EQ(::MultiByteToWideChar(CP_ACP, 0, "\xE9", 1, &e, 1), 1);
    EXPECT_EQ(lines[1], std::wstring(L"caf") + e + L",winpath$");
  }
}

TEST_F(TextFilesTest, NullAndUnmappedBytesDoNotCutTheLine) {
  // 0x81 is not mapped by the Western code page; NUL is an ordinary byte inside a line.
  const auto lines = ReadAll(std::string("a\0b\x81" "c,tail\r\nnext", 16));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), 10u);
  EXPECT_EQ(lines[0].substr(0, 3), std::wstring(L"a\0b", 3));
  EXPECT_EQ(lines[0].substr(4), L"c,tail");
  EXPECT_NE(lines[0][3], L'\0');
  EXPECT_EQ(lines[1], L"next");
}

TEST_F(TextFilesTest, AHugeFileOfLineFeedsIsOneLineReadInLinearTime) {
  // 50 MB whose lines end in LF alone: one line. A reader that rescans its buffer per chunk
  // would take minutes; linear reading takes well under the limit even under Wine.
  std::string bytes;
  bytes.reserve(50u * 1024 * 1024);
  const std::string row = "component.dll,winpath$\n";
  while (bytes.size() + row.size() <= 50u * 1024 * 1024) bytes += row;
  const auto started = std::chrono::steady_clock::now();
  const auto lines = ReadAll(bytes);
  const auto elapsed = std::chrono::steady_clock::now() - started;
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), bytes.size());
  EXPECT_EQ(lines[0].substr(0, row.size()), L"component.dll,winpath$\n");
  EXPECT_LT(elapsed, std::chrono::seconds(20));
}

TEST_F(TextFilesTest, FileNumbersAreTheLowestFree) {
  WriteBytes(temp / L"f.txt", "x");
  EXPECT_EQ(textFiles.FreeFileNumber(), 1);
  for (std::int16_t n = 1; n <= 3; ++n) textFiles.Open(n, temp / L"f.txt");
  EXPECT_EQ(textFiles.FreeFileNumber(), 4);
  textFiles.Close(2);
  EXPECT_EQ(textFiles.FreeFileNumber(), 2);  // a gap is filled first
  textFiles.Close(2);                       // closing a free number does nothing
  textFiles.Close(0);
  textFiles.Close(TextFiles::kMaxFileNumber + 1);
  EXPECT_THROW(textFiles.Open(1, temp / L"f.txt"), PlatformError);  // already in use
  EXPECT_THROW(textFiles.Open(0, temp / L"f.txt"), PlatformError);
}

TEST_F(TextFilesTest, AllNumbersTakenFails) {
  WriteBytes(temp / L"f.txt", "x");
  for (std::int16_t n = 1; n <= TextFiles::kMaxFileNumber; ++n) {
    ASSERT_EQ(textFiles.FreeFileNumber(), n);
    textFiles.Open(n, temp / L"f.txt");
  }
  EXPECT_THROW(textFiles.FreeFileNumber(), PlatformError);
  textFiles.Close(200);
  EXPECT_EQ(textFiles.FreeFileNumber(), 200);
}

TEST_F(TextFilesTest, OpenAndReadFailuresAreReported) {
  try {
    textFiles.Open(1, temp / L"missing.lst");
    FAIL() << "opened a missing file";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.Description(), DescribeWin32Error(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(error.Description().empty());
  }
  EXPECT_EQ(textFiles.FreeFileNumber(), 1);  // the failed open took no number
  EXPECT_THROW(textFiles.Open(1, temp.Path()), PlatformError);  // a folder

  EXPECT_THROW(textFiles.AtEnd(7), PlatformError);  // not open
  EXPECT_THROW(textFiles.ReadLine(7), PlatformError);

  WriteBytes(temp / L"one.lst", "one");
  textFiles.Open(1, temp / L"one.lst");
  EXPECT_EQ(textFiles.ReadLine(1), L"one");
  EXPECT_TRUE(textFiles.AtEnd(1));
  EXPECT_THROW(textFiles.ReadLine(1), PlatformError);  // past the end
  textFiles.Close(1);
}

TEST_F(TextFilesTest, AnOpenFileCanStillBeWrittenAndDeletedByOthers) {
  WriteBytes(temp / L"shared.lst", "a\rb");
  textFiles.Open(1, temp / L"shared.lst");
  HANDLE writer = ::CreateFileW((temp / L"shared.lst").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) ::CloseHandle(writer);
  EXPECT_EQ(textFiles.ReadLine(1), L"a");
  EXPECT_TRUE(::DeleteFileW((temp / L"shared.lst").c_str()));
  textFiles.Close(1);
}

}  // namespace
}  // namespace tovrel::platform

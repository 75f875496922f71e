#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/win32_platform.h"
#include "seam_test_support.h"

namespace tovrel::platform {
namespace {

TEST(TextComparerTest, EqualIgnoresCaseButNotAccentsOrBlanks) {
  Win32TextComparer text;
  EXPECT_TRUE(text.Equal(L"Comp.DLL,WinPath$", L"comp.dll,WINPATH$"));
  EXPECT_TRUE(text.Equal(L"Facturaci\u00F3n.ocx", L"FACTURACI\u00D3N.OCX"));
  EXPECT_TRUE(text.Equal(L"a\u00F1o", L"A\u00D1O"));
  EXPECT_TRUE(text.Equal(L"", L""));
  EXPECT_FALSE(text.Equal(L"facturacion.ocx", L"facturaci\u00F3n.ocx"));
  EXPECT_FALSE(text.Equal(L"comp.dll", L"comp.dll "));
  EXPECT_FALSE(text.Equal(L"comp.dll", L"comp.dl"));
  EXPECT_FALSE(text.Equal(L"", L" "));
  EXPECT_FALSE(text.Equal(L"a\tb", L"a b"));
}

TEST(TextComparerTest, EmptyViewsWithoutStorageCompare) {
  Win32TextComparer text;
  EXPECT_TRUE(text.Equal(std::wstring_view(), std::wstring_view()));
  EXPECT_FALSE(text.Equal(std::wstring_view(), L"x"));
  EXPECT_EQ(text.SortKey(std::wstring_view()), text.SortKey(L""));
}

TEST(TextComparerTest, SortKeysAreEqualExactlyWhenTextsAreEqual) {
  // Case variants, accented letters, blanks and punctuation that list lines hold.
  const std::vector<std::wstring> samples = {
      L"", L" ", L"  ", L"\t", L"a", L"A", L"b", L"comp.dll,winpath$", L"COMP.DLL,WINPATH$",
      L"Comp.Dll,WinPath$", L"comp.dll,winpath$ ", L" comp.dll,winpath$", L"comp.dll ,winpath$",
      L"comp.dll,Systempath$", L"comp.dll,SYSTEMPATH$", L"e", L"E", L"\u00E9", L"\u00C9", L"\u00E8", L"\u00EA",
      L"\u00EB", L"n", L"\u00F1", L"\u00D1", L"u", L"\u00FC", L"\u00DC", L"c", L"\u00E7", L"\u00C7",
      L"Facturaci\u00F3n.ocx", L"FACTURACI\u00D3N.OCX", L"facturacion.ocx", L"co-op", L"coop", L"CO-OP",
      L"a'b", L"ab", L"A'B", L"x,y", L"x;y", L"1", L"10", L"\u00AA", L"\u00BA",
      // Keys longer than the comparer's first buffer: the texts differ only at the end.
      std::wstring(300, L'c') + L".dll", std::wstring(300, L'C') + L".DLL", std::wstring(300, L'c') + L".dlm",
  };
  Win32TextComparer text;
  std::vector<std::string> keys;
  for (const auto& sample : samples) keys.push_back(text.SortKey(sample));
  for (std::size_t i = 0; i < samples.size(); ++i) {
    for (std::size_t j = 0; j < samples.size(); ++j) {
      EXPECT_EQ(text.Equal(samples[i], samples[j]), keys[i] == keys[j])
          << "\"" << seam_test::Narrow(samples[i]) << "\" vs \"" << seam_test::Narrow(samples[j]) << "\"";
    }
  }
  // The samples are not all one key: the comparison does tell texts apart.
  EXPECT_NE(keys[4], keys[6]);  // "a" and "b"
  EXPECT_EQ(keys[4], keys[5]);  // "a" and "A"
}

TEST(ErrorDescriptionTest, SystemTextWithoutTrailingBreaks) {
  for (const DWORD code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_PATH_NOT_FOUND}) {
    const std::wstring text = DescribeWin32Error(code);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'\r');
    EXPECT_NE(text.back(), L' ');
  }
  EXPECT_NE(DescribeWin32Error(ERROR_FILE_NOT_FOUND), DescribeWin32Error(ERROR_ACCESS_DENIED));
}

TEST(ErrorDescriptionTest, UnknownCodesAreNamedByNumber) {
  const std::wstring text = DescribeWin32Error(0x2345ABCDu);
  EXPECT_NE(text.find(std::to_wstring(0x2345ABCDu)), std::wstring::npos);
}

TEST(ErrorDescriptionTest, ThrownErrorsCarryTheCodeOrANonSuccessText) {
  ::SetLastError(ERROR_SHARING_VIOLATION);
  try {
    ThrowLastError();
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.Description(), DescribeWin32Error(ERROR_SHARING_VIOLATION));
  }
  // A call that failed without a reason must not read as "completed successfully".
  ::SetLastError(ERROR_SUCCESS);
  try {
    ThrowLastError();
  } catch (const PlatformError& error) {
    EXPECT_NE(error.Description(), DescribeWin32Error(ERROR_SUCCESS));
    EXPECT_FALSE(error.Description().empty());
  }
}

}  // namespace
}  // namespace tovrel::platform

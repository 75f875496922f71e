#include <gtest/gtest.h>

#include <cwctype>

#include "platform/win32/module_path.h"
#include "platform/win32/win32_platform.h"
#include "seam_test_support.h"

namespace tovrel::platform {
namespace {

using Query = std::uint32_t (Win32SystemFolders::*)(wchar_t*, std::uint32_t);

class FolderQueryTest : public ::testing::TestWithParam<Query> {
 protected:
  Win32SystemFolders folders;
};

TEST_P(FolderQueryTest, FollowsTheBufferContract) {
  const Query query = GetParam();
  const std::uint32_t needed = (folders.*query)(nullptr, 0);
  ASSERT_GT(needed, 3u);  // "C:\" at the very least, plus the null

  // Too small by one: nothing is copied, the size needed comes back.
  std::wstring small(needed - 1, L'#');
  EXPECT_EQ((folders.*query)(small.data(), needed - 1), needed);
  EXPECT_EQ(small, std::wstring(needed - 1, L'#'));

  // Exactly big enough: the path and its null, the count without the null.
  std::wstring exact(needed + 4, L'#');
  EXPECT_EQ((folders.*query)(exact.data(), needed), needed - 1);
  EXPECT_EQ(exact[needed - 1], L'\0');
  const std::wstring path = exact.substr(0, needed - 1);
  EXPECT_EQ(path.find(L'\0'), std::wstring::npos);
  EXPECT_EQ(path[1], L':');
  // No trailing backslash unless the folder is a drive root.
  if (path.size() > 3) {
    EXPECT_NE(path.back(), L'\\');
  }
}

INSTANTIATE_TEST_SUITE_P(WindowsAndSystem, FolderQueryTest,
                         ::testing::Values(&Win32SystemFolders::WindowsDirectory,
                                           &Win32SystemFolders::SystemDirectory),
                         [](const ::testing::TestParamInfo<Query>& info) {
                           return info.index == 0 ? "Windows" : "System";
                         });

TEST(FolderQueryTest, SystemFolderLiesUnderTheWindowsFolder) {
  Win32SystemFolders folders;
  wchar_t windows[1024] = {};
  wchar_t system[1024] = {};
  const auto windowsLength = folders.WindowsDirectory(windows, 1024);
  ASSERT_GT(folders.SystemDirectory(system, 1024), windowsLength);
  EXPECT_EQ(::CompareStringOrdinal(windows, static_cast<int>(windowsLength), system,
                                   static_cast<int>(windowsLength), TRUE),
            CSTR_EQUAL);
}

std::wstring Folded(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

TEST(ApplicationFolderTest, IsTheFolderOfThisProgram) {
  // The build folder, as Wine maps Unix paths to drive Z: (or as given on Windows).
  std::wstring expected;
  for (const char c : std::string(TOVREL_SEAM_TEST_BINARY_DIR)) expected += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  if (!expected.empty() && expected[0] == L'\\') expected = L"Z:" + expected;
  EXPECT_EQ(Folded(Win32SystemFolders().ApplicationFolder()), Folded(expected));
}

TEST(ApplicationFolderTest, ModulePathGrowsPastASmallBuffer) {
  // Paths longer than the first buffer are not cut: every start size gives the whole path.
  const std::wstring whole = detail::ModulePath(32768);
  ASSERT_GT(whole.size(), 20u);
  for (const DWORD start : {DWORD{1}, DWORD{7}, static_cast<DWORD>(whole.size()), static_cast<DWORD>(whole.size() + 1)}) {
    EXPECT_EQ(detail::ModulePath(start), whole) << "starting with " << start << " characters";
  }
}

}  // namespace
}  // namespace tovrel::platform

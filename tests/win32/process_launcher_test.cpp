#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/win32/win32_platform.h"
#include "seam_test_support.h"

namespace tovrel::platform {
namespace {

using seam_test::TempFolder;

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring HelperPath() { return seam_test::TestProgramFolder() + L"\\tovrel_seam_helper.exe"; }

// What the helper wrote, as the UTF-16 text it writes; fails the test when nothing comes.
std::wstring AwaitHelperOutput(const std::wstring& path) {
  if (!seam_test::WaitForFile(path)) {
    ADD_FAILURE() << "the launched helper wrote nothing to " << seam_test::Narrow(path);
    return {};
  }
  const std::string bytes = seam_test::ReadBytes(path);
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

// The error CreateProcessW itself gives for the same request, to compare descriptions with.
DWORD DirectCreateProcessError(const std::wstring& application, std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (::CreateProcessW(application.empty() ? nullptr : application.c_str(), commandLine.data(), nullptr, nullptr,
                       FALSE, 0, nullptr, nullptr, &startup, &started)) {
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return ERROR_SUCCESS;
  }
  return ::GetLastError();
}

class LaunchTest : public ::testing::Test {
 protected:
  TempFolder temp;
  Win32ProcessLauncher launcher;
};

TEST_F(LaunchTest, AProgramThatDoesNotExistFailsWithTheSystemsReason) {
  const std::wstring missing = temp / L"regsvr32.exe";
  for (const auto& [application, commandLine] :
       {std::pair{missing, Quoted(missing) + L" /s comp.dll"}, std::pair{std::wstring(), Quoted(missing)}}) {
    const DWORD expected = DirectCreateProcessError(application, commandLine);
    ASSERT_NE(expected, static_cast<DWORD>(ERROR_SUCCESS));
    try {
      launcher.Launch(application, commandLine);
      ADD_FAILURE() << "launched a missing program";
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.Description(), DescribeWin32Error(expected));
      EXPECT_FALSE(error.Description().empty());
    }
  }
}

TEST_F(LaunchTest, StartsTheProgramTheCommandLineNames) {
  const std::wstring out = temp / L"written.txt";
  launcher.Launch(L"", Quoted(HelperPath()) + L" write " + Quoted(out) + L" Registrado");
  EXPECT_EQ(AwaitHelperOutput(out), L"Registrado");
}

TEST_F(LaunchTest, HandsTheCommandLineOverUnchangedBesideAnApplicationPath) {
  const std::wstring out = temp / L"command line.txt";
  // The program's own name in the line need not be the program that runs.
  const std::wstring line = L"pretend.exe command-line " + Quoted(out) + L"  \"two  blanks\" ";
  launcher.Launch(HelperPath(), line);
  EXPECT_EQ(AwaitHelperOutput(out), line);
}

TEST_F(LaunchTest, RefusesTextsThatWouldBeCutAtANull) {
  EXPECT_THROW(launcher.Launch(L"", Quoted(HelperPath()) + std::wstring(L" write x\0y", 10)), PlatformError);
  EXPECT_THROW(launcher.Launch(HelperPath() + std::wstring(L"\0.bat", 5), L"x"), PlatformError);
}

// Runs the helper from `folder` in the given mode and returns what it wrote.
std::wstring RunHelperFrom(const std::wstring& folder, const std::wstring& arguments, const std::wstring& out) {
  Win32ProcessLauncher launcher;
  launcher.Launch(L"", Quoted(folder + L"\\tovrel_seam_helper.exe") + L" " + arguments);
  return AwaitHelperOutput(out);
}

TEST_F(LaunchTest, ApplicationFolderOfAProgramAtADriveRootKeepsItsBackslash) {
  wchar_t windows[MAX_PATH] = {};
  ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 2u);
  const std::wstring root = std::wstring(windows, 2) + L"\\";
  const std::wstring name = L"tovrel_seam_root_" + std::to_wstring(::GetCurrentProcessId()) + L".exe";
  ASSERT_TRUE(::CopyFileW(HelperPath().c_str(), (root + name).c_str(), FALSE));
  const std::wstring out = temp / L"root.txt";
  launcher.Launch(root + name, Quoted(root + name) + L" app-folder " + Quoted(out));
  EXPECT_EQ(AwaitHelperOutput(out), root);
  // The helper may still be ending: retry the removal for a while.
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!::DeleteFileW((root + name).c_str()) && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

TEST_F(LaunchTest, HardenedDllSearchSkipsTheProgramsFolder) {
  const std::wstring folder = seam_test::TestProgramFolder();
  EXPECT_EQ(RunHelperFrom(folder, L"load " + Quoted(temp / L"plain.txt") + L" tovrel_seam_probe.dll plain",
                          temp / L"plain.txt"),
            L"loaded");
  EXPECT_EQ(RunHelperFrom(folder, L"load " + Quoted(temp / L"hard.txt") + L" tovrel_seam_probe.dll harden",
                          temp / L"hard.txt"),
            L"refused");
}

// The work runs on a thread of its own: it sees the event the caller sets after Start has
// returned. What it throws reaches the caller at its Wait, once.
TEST(BackgroundWorkTest, RunsBesideTheCallerAndHandsOverWhatItThrewOnce) {
  Win32BackgroundWork background;
  detail::UniqueHandle go(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(go);
  DWORD workThread = 0;
  DWORD waited = WAIT_FAILED;
  background.Start([&] {
    workThread = GetCurrentThreadId();
    waited = WaitForSingleObject(go.get(), 10000);
  });
  SetEvent(go.get());
  background.Wait();
  EXPECT_EQ(waited, WAIT_OBJECT_0);
  EXPECT_NE(workThread, GetCurrentThreadId());

  background.Start([] { throw PlatformError(L"sin memoria"); });
  EXPECT_THROW(background.Wait(), PlatformError);
  EXPECT_NO_THROW(background.Wait());
}

}  // namespace
}  // namespace tovrel::platform

// The window tests' entry point. With --system-dpi=N the tests run in a second process
// started while the user's DPI setting says N: the system DPI is read once, when a process
// starts, so that is the only way to start "on a screen of N DPI". The setting is put back
// when the run ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/tests/ui_test_support.h"

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kDpiValue[] = L"LogPixels";
constexpr wchar_t kChildMark[] = L"TOVREL_UI_TESTS_AT_SYSTEM_DPI";

UINT DpiArgument(int argc, char** argv) {
  constexpr char kFlag[] = "--system-dpi=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], kFlag, sizeof(kFlag) - 1) == 0) {
      return static_cast<UINT>(std::strtoul(argv[i] + sizeof(kFlag) - 1, nullptr, 10));
    }
  }
  return 0;
}

// Runs this program once more with the user's DPI setting at `dpi`; returns its exit code.
int RunAtSystemDpi(UINT dpi) {
  DWORD saved = 0;
  DWORD size = sizeof(saved);
  const bool hadValue = RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, kDpiValue, RRF_RT_REG_DWORD,
                                     nullptr, &saved, &size) == ERROR_SUCCESS;
  const DWORD wanted = dpi;
  if (RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kDpiValue, REG_DWORD, &wanted,
                      sizeof(wanted)) != ERROR_SUCCESS) {
    std::fprintf(stderr, "cannot set the system DPI to %u\n", dpi);
    return 2;
  }
  SetEnvironmentVariableW(kChildMark, L"1");
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    SetHandleInformation(GetStdHandle(which), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::wstring commandLine = GetCommandLineW();
  PROCESS_INFORMATION process{};
  DWORD exitCode = 2;
  std::fflush(stdout);
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    std::fprintf(stderr, "cannot start the tests again (error %lu)\n", GetLastError());
  }
  if (hadValue) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kDpiValue, REG_DWORD, &saved, sizeof(saved));
  } else {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kDpiValue);
  }
  return static_cast<int>(exitCode);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const UINT dpi = DpiArgument(argc, argv);
  if (dpi && !GetEnvironmentVariableW(kChildMark, nullptr, 0)) return RunAtSystemDpi(dpi);
  tovrel::ui::test::SetRequestedSystemDpi(dpi);
  return RUN_ALL_TESTS();
}

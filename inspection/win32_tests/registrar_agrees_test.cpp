// The forecast of each failing component against the registrar run on it for real: the same
// file, in the same folder, on this machine's folders. The exit code must be the one the
// registrar gives; the chain of the missing DLL is the one Wine's loader names (its messages
// show in this test's log).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "inspection/registration_forecast.h"

namespace tovrel::inspection {
namespace {

// A path given at build time, as this program sees it: Wine maps Unix paths to drive Z:.
std::wstring BuildPath(const char* path) {
  std::wstring wide;
  for (const char* c = path; *c; ++c) wide += *c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
  return !wide.empty() && wide[0] == L'\\' && wide[1] != L'\\' ? L"Z:" + wide : wide;
}

class Win32Files : public ImageFiles {
 public:
  bool Exists(const std::wstring& path) override {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }
  std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path) override {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<std::uint8_t>{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

std::wstring Folder(UINT(WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH];
  const UINT length = get(buffer, MAX_PATH);
  return std::wstring(buffer, length < MAX_PATH ? length : 0);
}

std::vector<std::wstring> KnownDlls() {
  std::vector<std::wstring> names;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs", 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
    return names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256], data[MAX_PATH];
    DWORD nameLength = 256, dataSize = sizeof data, type = 0;
    if (::RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
        ERROR_SUCCESS)
      break;
    if (type == REG_SZ) names.emplace_back(data, wcsnlen(data, dataSize / sizeof(wchar_t)));
  }
  ::RegCloseKey(key);
  return names;
}

// The registrar is started in `folder`, which is then also the current folder.
SearchOrder OrderFor(const std::wstring& component, const std::wstring& folder) {
  SearchOrder order;
  order.firstFolder = FirstSearchFolder(component, folder);
  order.systemFolder = Folder(::GetSystemDirectoryW);
  order.windowsFolder = Folder(::GetWindowsDirectoryW);
  order.currentFolder = folder;
  wchar_t path[32767];
  const DWORD length = ::GetEnvironmentVariableW(L"PATH", path, 32767);
  std::wstringstream entries(std::wstring(path, length < 32767 ? length : 0));
  for (std::wstring entry; std::getline(entries, entry, L';');) order.pathFolders.push_back(entry);
  order.knownDlls = KnownDlls();
  return order;
}

// `regsvr32.exe /s component`, started in `folder`. Under Wine its loader's messages go to
// this program's own error stream, which the test's log shows beside the result.
DWORD RunRegistrar(const std::wstring& folder, const std::wstring& component) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring command = L"\"" + folder + L"\\regsvr32.exe\" /s \"" + component + L"\"";
  PROCESS_INFORMATION process{};
  wchar_t debug[256];
  const DWORD debugLength = ::GetEnvironmentVariableW(L"WINEDEBUG", debug, 256);
  ::SetEnvironmentVariableW(L"WINEDEBUG", L"-all,err+module");  // Windows itself ignores it
  const BOOL started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        folder.c_str(), &startup, &process);
  ::SetEnvironmentVariableW(L"WINEDEBUG", debugLength > 0 && debugLength < 256 ? debug : nullptr);
  if (!started) {
    ADD_FAILURE() << "the registrar did not start: " << ::GetLastError();
    return ~DWORD{0};
  }
  DWORD exitCode = ~DWORD{0};
  EXPECT_EQ(::WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  ::GetExitCodeProcess(process.hProcess, &exitCode);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return exitCode;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(RegistrarAgrees, OnEveryFailingComponent) {
  // Application folder: the registrar and every component but helper.dll. Beside it, a folder
  // holding needs_helper.dll with its helper.dll, handed over by path.
  wchar_t temp[MAX_PATH];
  ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring base = std::wstring(temp) + L"tovrel-forecast-" + std::to_wstring(::GetCurrentProcessId());
  const std::wstring app = base + L"\\app", beside = base + L"\\components";
  for (const std::wstring& folder : {base, app, beside}) ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring fixtures = BuildPath(TOVREL_FIXTURES);
  const std::pair<std::wstring, std::wstring> copies[] = {
      {BuildPath(TOVREL_REGISTRAR), app + L"\\regsvr32.exe"},
      {fixtures + L"\\imports_absent.dll", app + L"\\imports_absent.dll"},
      {fixtures + L"\\needs_helper.dll", app + L"\\needs_helper.dll"},
      {fixtures + L"\\no_register.dll", app + L"\\no_register.dll"},
      {fixtures + L"\\delay_absent.dll", app + L"\\delay_absent.dll"},
      {fixtures + L"\\new\\versioned.ocx", app + L"\\versioned.ocx"},
      {fixtures + L"\\not_a_program.ocx", app + L"\\not_a_program.ocx"},
      {fixtures + L"\\needs_helper.dll", beside + L"\\needs_helper.dll"},
      {fixtures + L"\\helper.dll", beside + L"\\helper.dll"},
  };
  for (const auto& [from, to] : copies) ASSERT_TRUE(::CopyFileW(from.c_str(), to.c_str(), FALSE)) << Narrow(from);

  Win32Files files;
  const PeImage registrar = ReadPeImage(*files.Read(app + L"\\regsvr32.exe"));
  const struct {
    std::wstring component;  // as the registrar is handed it
    DWORD exitCode;
    std::wstring error;  // the one dependency finding's chain, when there is one
    std::wstring warning;
  } rows[] = {
      {L"imports_absent.dll", 3, L"imports_absent.dll -> absent_runtime.dll", L""},
      {L"needs_helper.dll", 3, L"needs_helper.dll -> helper.dll", L""},
      {beside + L"\\needs_helper.dll", 3, L"needs_helper.dll -> helper.dll -> helper_runtime.dll", L""},
      {L"no_register.dll", 4, L"", L""},
      {L"delay_absent.dll", 0, L"", L"delay_absent.dll -> delayed_runtime.dll"},
      {L"versioned.ocx", 0, L"", L""},
      {L"not_a_program.ocx", 3, L"", L""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(Narrow(row.component));
    const std::wstring path = row.component.find(L'\\') == std::wstring::npos ? app + L"\\" + row.component
                                                                                : row.component;
    const std::wstring name = path.substr(path.rfind(L'\\') + 1);
    const RegistrationForecast forecast =
        ForecastRegistration(name, ReadPeImage(*files.Read(path)), registrar.machine, OrderFor(row.component, app),
                             files, false);
    const DWORD exitCode = RunRegistrar(app, row.component);
    EXPECT_EQ(exitCode, row.exitCode);
    EXPECT_EQ(static_cast<DWORD>(forecast.registrarExit), exitCode);
    std::vector<std::wstring> errors, warnings;
    for (const auto& f : forecast.dependencies.errors) errors.push_back(ChainText(f.chain));
    for (const auto& f : forecast.dependencies.warnings) warnings.push_back(ChainText(f.chain));
    EXPECT_EQ(errors, row.error.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{row.error});
    EXPECT_EQ(warnings, row.warning.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{row.warning});
  }
  for (const auto& [from, to] : copies) ::DeleteFileW(to.c_str());
  for (const std::wstring& folder : {app, beside, base}) ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace tovrel::inspection

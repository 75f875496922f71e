// Before a run: what the checker says of each component the run hands to the registrar, read
// from real component bytes of both bitnesses over the in-memory seam.
#include "checker/component_forecast.h"

#include <gtest/gtest.h>

#include "loader/tests/fixture_files.h"
#include "tests/fake/fake_component_reading.h"

namespace tovrel::checker {
namespace {

constexpr wchar_t kApp[] = L"C:\\App\\";

struct Row {
  const char* what;
  const char* componentArch;
  const char* fixture;      // the component, placed in the application folder
  const char* registrarArch;
  const char* replaced;     // a fixture at the destination, or nullptr
  std::vector<std::pair<FindingCode, Severity>> expected;
  const wchar_t* named;     // a text every finding must hold, or nullptr
  const wchar_t* outcome;
};

TEST(ComponentForecastTest, EachWayTheRegistrarWouldFailIsTold) {
  const Row rows[] = {
      {"loads and registers", "i686", "new/versioned.ocx", "i686", nullptr, {}, nullptr,
       L"regsvr32.exe: lo cargaría y llamaría a DllRegisterServer"},
      {"a 64-bit component for a 32-bit registrar", "x86_64", "new/versioned.ocx", "i686", nullptr,
       {{FindingCode::WrongMachine, Severity::Error}}, L"64 bits (AMD64)", L"regsvr32.exe: terminaría con el código 3"},
      {"a 32-bit component for a 64-bit registrar", "i686", "new/versioned.ocx", "x86_64", nullptr,
       {{FindingCode::WrongMachine, Severity::Error}}, L"32 bits (i386)", L"regsvr32.exe: terminaría con el código 3"},
      {"an import nowhere", "x86_64", "imports_absent.dll", "x86_64", nullptr,
       {{FindingCode::DllMissing, Severity::Error}}, L"imports_absent.dll -> absent_runtime.dll",
       L"regsvr32.exe: terminaría con el código 3"},
      {"no entry point", "i686", "no_register.dll", "i686", nullptr, {{FindingCode::EntryMissing, Severity::Error}},
       L"DllRegisterServer", L"regsvr32.exe: terminaría con el código 4"},
      {"a delay-loaded DLL nowhere", "x86_64", "delay_absent.dll", "x86_64", nullptr,
       {{FindingCode::DelayDllMissing, Severity::Warning}}, L"delayed_runtime.dll",
       L"regsvr32.exe: lo cargaría y llamaría a DllRegisterServer"},
      {"not a program", "i686", "not_a_program.ocx", "i686", nullptr, {{FindingCode::NotAProgram, Severity::Error}},
       nullptr, L"regsvr32.exe: terminaría con el código 3"},
      {"an older version over a newer one", "i686", "old/versioned.ocx", "i686", "new/versioned.ocx",
       {{FindingCode::Downgrade, Severity::Warning}}, L"2.5.0.17 de versioned.ocx es más antigua que la 2.10.3.1",
       L"regsvr32.exe: lo cargaría y llamaría a DllRegisterServer"},
      {"a newer version over an older one", "i686", "new/versioned.ocx", "i686", "old/versioned.ocx", {}, nullptr,
       L"regsvr32.exe: lo cargaría y llamaría a DllRegisterServer"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    fake::FakeComponentFiles files;
    for (platform::LoaderEnvironment* environment : {&files.environment32, &files.environment64}) {
      environment->systemFolder = L"C:\\Windows\\System32";
      environment->windowsFolder = L"C:\\Windows";
      environment->currentFolder = L"C:\\App";
      environment->knownDlls = {L"kernel32.dll"};
    }
    const std::string name = std::string(row.fixture).substr(std::string(row.fixture).rfind('/') + 1);
    const std::wstring component = kApp + std::wstring(name.begin(), name.end());
    files.files[component] = loader::testing::FixtureBytes(row.componentArch, row.fixture);
    files.files[std::wstring(kApp) + L"regsvr32.exe"] =
        loader::testing::FixtureBytes(row.registrarArch, "new/versioned.ocx");
    HandedComponent handed{4, std::wstring(name.begin(), name.end()), component, {}};
    if (row.replaced) {
      handed.destination = L"C:\\Windows\\" + std::wstring(name.begin(), name.end());
      files.files[handed.destination] = loader::testing::FixtureBytes(row.componentArch, row.replaced);
    }
    const ComponentForecast forecast = ForecastComponent(handed, kApp, files);
    std::vector<std::pair<FindingCode, Severity>> codes;
    for (const Finding& finding : forecast.findings) {
      EXPECT_EQ(finding.line, 4);
      codes.emplace_back(finding.code, finding.severity);
      if (row.named) EXPECT_NE(finding.text.find(row.named), std::wstring::npos);
    }
    EXPECT_EQ(codes, row.expected);
    EXPECT_EQ(forecast.outcome, row.outcome);
  }
}

}  // namespace
}  // namespace tovrel::checker

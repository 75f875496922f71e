// After a run: the decisions of /verificar over an in-memory registry, on real component
// bytes of both bitnesses.
#include "checker/registration_verification.h"

#include <gtest/gtest.h>

#include <functional>

#include "loader/tests/fixture_files.h"
#include "tests/fake/fake_component_reading.h"
#include "tests/fake/fake_text.h"

namespace tovrel::checker {
namespace {

using platform::RegistryView;

constexpr wchar_t kShipped[] = L"C:\\App\\comp.ocx";
constexpr wchar_t kPlaced[] = L"C:\\Windows\\System32\\comp.ocx";
constexpr wchar_t kClass[] = L"{11111111-2222-3333-4444-555555555555}";
constexpr wchar_t kLibrary[] = L"{99999999-2222-3333-4444-555555555555}";

struct Workstation {
  fake::FakeClassesRegistry registry;
  fake::FakeComponentFiles files;
  fake::FakeComparer text;
  RegistryView view = RegistryView::Bits32;

  // The component, placed, and registered as its registrar would: class, server, threading
  // model, ProgID and type library, all in its own view.
  explicit Workstation(const char* arch, bool withTypeLibrary = true) {
    view = std::string(arch) == "i686" ? RegistryView::Bits32 : RegistryView::Bits64;
    const auto bytes = loader::testing::FixtureBytes(arch, "new/versioned.ocx");
    files.files[kShipped] = bytes;
    files.files[kPlaced] = bytes;
    files.files[L"C:\\App\\comp.tlb"] = {1, 2, 3};
    if (withTypeLibrary) files.typeLibraries[kShipped] = {kLibrary, 1, 0, {kClass}};
    Register(view, kShipped);
  }
  void Register(RegistryView where, const std::wstring& server) {
    const std::wstring key = std::wstring(L"CLSID\\") + kClass;
    registry.Set(where, key + L"\\InprocServer32", L"", server);
    registry.Set(where, key + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    registry.Set(where, key + L"\\ProgID", L"", L"Comp.Control");
    registry.Set(where, std::wstring(L"TypeLib\\") + kLibrary + L"\\1.0\\0\\" +
                            (where == RegistryView::Bits32 ? L"win32" : L"win64"),
                 L"", L"C:\\App\\comp.tlb");
  }
  ComponentVerification Verify() {
    return VerifyComponent(HandedComponent{7, L"comp.ocx", kShipped, kPlaced}, {registry, files, text});
  }
};

std::vector<std::pair<FindingCode, Severity>> Codes(const ComponentVerification& verified) {
  std::vector<std::pair<FindingCode, Severity>> codes;
  for (const Finding& finding : verified.findings) {
    EXPECT_EQ(finding.line, 7);
    codes.emplace_back(finding.code, finding.severity);
  }
  return codes;
}

TEST(RegistrationVerificationTest, ARegistrationAsTheRegistrarLeavesItIsReportedWhole) {
  for (const char* arch : loader::testing::kArches) {
    SCOPED_TRACE(arch);
    Workstation station(arch);
    const ComponentVerification verified = station.Verify();
    EXPECT_TRUE(verified.findings.empty());
    EXPECT_EQ(verified.view, station.view);
    ASSERT_EQ(verified.classes.size(), 1u);
    const ClassRegistration& found = verified.classes[0];
    EXPECT_EQ(found.classId, kClass);
    EXPECT_EQ(found.server, kShipped);
    EXPECT_TRUE(found.serverExists && found.sameAsShipped);
    EXPECT_EQ(found.copy, ClassRegistration::Copy::ApplicationFolder);
    EXPECT_EQ(found.threadingModel, L"Apartment");
    EXPECT_EQ(found.progId, L"Comp.Control");
    EXPECT_EQ(verified.typeLibraryPath, std::optional<std::wstring>(L"C:\\App\\comp.tlb"));
    EXPECT_TRUE(AllRegisteredToTheShippedFiles({verified}));
  }
}

TEST(RegistrationVerificationTest, EachWayARegistrationGoesWrongHasItsFinding) {
  using Setup = std::function<void(Workstation&)>;
  const std::wstring classKey = std::wstring(L"CLSID\\") + kClass;
  struct Case {
    const char* what;
    Setup setup;
    std::vector<std::pair<FindingCode, Severity>> expected;
    bool registeredToTheShippedFile;
  };
  const Case cases[] = {
      {"class key deleted", [&](Workstation& w) { w.registry.DeleteTree(w.view, classKey); },
       {{FindingCode::NotRegistered, Severity::Error}}, false},
      {"server path names a missing file",
       [&](Workstation& w) { w.Register(w.view, L"C:\\Gone\\comp.ocx"); },
       {{FindingCode::ServerMissing, Severity::Error}}, false},
      {"registered to the placed copy, the same file",
       [&](Workstation& w) { w.Register(w.view, kPlaced); }, {}, true},
      {"registered to a copy with other contents",
       [&](Workstation& w) {
         w.files.files[kPlaced].push_back(0);
         w.Register(w.view, kPlaced);
       },
       {{FindingCode::RegisteredToOtherFile, Severity::Warning}}, false},
      {"registered in the other view only",
       [&](Workstation& w) {
         w.registry.DeleteTree(w.view, classKey);
         w.Register(w.view == RegistryView::Bits32 ? RegistryView::Bits64 : RegistryView::Bits32,
                    kShipped);
       },
       {{FindingCode::OtherViewOnly, Severity::Error}}, false},
      {"type library unregistered",
       [&](Workstation& w) { w.registry.DeleteTree(w.view, std::wstring(L"TypeLib\\") + kLibrary); },
       {{FindingCode::TypeLibraryMissing, Severity::Warning}}, true},
      {"type library's file gone",
       [&](Workstation& w) { w.files.files.erase(L"C:\\App\\comp.tlb"); },
       {{FindingCode::TypeLibraryMissing, Severity::Warning}}, true},
      {"the shipped file is not a program",
       [&](Workstation& w) { w.files.files[kShipped] = {'<', 'h', 't', 'm', 'l', '>'}; },
       {{FindingCode::NotRegistered, Severity::Error}}, false},
      {"the shipped file is missing", [&](Workstation& w) { w.files.files.erase(kShipped); },
       {{FindingCode::NotRegistered, Severity::Error}}, false},
  };
  for (const char* arch : loader::testing::kArches) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(arch) + ": " + c.what);
      Workstation station(arch);
      c.setup(station);
      const ComponentVerification verified = station.Verify();
      EXPECT_EQ(Codes(verified), c.expected);
      EXPECT_EQ(AllRegisteredToTheShippedFiles({verified}), c.registeredToTheShippedFile);
    }
  }
}

TEST(RegistrationVerificationTest, WithoutATypeLibraryTheClassesAreFoundByTheirServersName) {
  for (const char* arch : loader::testing::kArches) {
    SCOPED_TRACE(arch);
    Workstation station(arch, /*withTypeLibrary=*/false);
    // Another component's class, whose server has another name, is not this one's.
    station.registry.Set(station.view, L"CLSID\\{00000000-0000-0000-0000-000000000001}\\InprocServer32",
                         L"", L"C:\\App\\other.ocx");
    ComponentVerification verified = station.Verify();
    ASSERT_EQ(verified.classes.size(), 1u);
    EXPECT_EQ(verified.classes[0].classId, kClass);
    EXPECT_TRUE(verified.findings.empty());

    // Found in the other view only, it is the other view's finding, not "unregistered".
    const RegistryView other =
        station.view == RegistryView::Bits32 ? RegistryView::Bits64 : RegistryView::Bits32;
    station.registry.DeleteTree(station.view, std::wstring(L"CLSID\\") + kClass);
    station.Register(other, L"C:\\App\\COMP.OCX");
    EXPECT_EQ(Codes(station.Verify()),
              (std::vector<std::pair<FindingCode, Severity>>{{FindingCode::OtherViewOnly, Severity::Error}}));

    station.registry.DeleteTree(other, std::wstring(L"CLSID\\") + kClass);
    EXPECT_EQ(Codes(station.Verify()),
              (std::vector<std::pair<FindingCode, Severity>>{{FindingCode::NotRegistered, Severity::Error}}));
  }
}

}  // namespace
}  // namespace tovrel::checker

// The loader's search order, and the walk over a component's imports on the failing
// components' real bytes laid out in an in-memory machine.
#include "loader/dependency_walk.h"
#include "loader/registration_forecast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <map>

#include "loader/tests/fixture_files.h"

namespace tovrel::loader {
namespace {

using testing::FixtureBytes;
using testing::kArches;

const std::wstring kApp = L"C:\\app";
const std::wstring kSystem = L"C:\\windows\\system32";
const std::wstring kWindows = L"C:\\windows";
const std::wstring kCurrent = L"C:\\work";
const std::wstring kPath1 = L"D:\\tools";
const std::wstring kPath2 = L"E:\\runtime\\";

SearchOrder Order() {
  SearchOrder order;
  order.firstFolder = kApp;
  order.systemFolder = kSystem;
  order.windowsFolder = kWindows;
  order.currentFolder = kCurrent;
  order.pathFolders = {kPath1, L"", kPath2};
  order.knownDlls = {L"kernel32.dll", L"ole32.dll"};
  return order;
}

// Files by path, in any letter case, as a Windows file system finds them.
class MemoryFiles : public ImageFiles {
 public:
  void Put(const std::wstring& path, std::vector<std::uint8_t> bytes) { files_[Key(path)] = std::move(bytes); }
  bool Exists(const std::wstring& path) override {
    asked_.push_back(path);
    return files_.count(Key(path)) > 0;
  }
  std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path) override {
    const auto found = files_.find(Key(path));
    if (found == files_.end() || unreadable_ == Key(path)) return std::nullopt;
    return found->second;
  }
  void MakeUnreadable(const std::wstring& path) { unreadable_ = Key(path); }
  std::vector<std::wstring> asked_;

 private:
  static std::wstring Key(std::wstring path) {
    for (wchar_t& c : path) c = static_cast<wchar_t>(std::towlower(c));
    return path;
  }
  std::map<std::wstring, std::vector<std::uint8_t>> files_;
  std::wstring unreadable_;
};

TEST(DllSearch, EachFolderInTurnAfterApiSetsAndKnownDlls) {
  const struct {
    const char* what;
    std::wstring name;
    std::vector<std::wstring> present;
    DllSource source;
    std::wstring path;
  } cases[] = {
      {"the first folder first", L"x.dll", {kApp + L"\\x.dll", kSystem + L"\\x.dll"}, DllSource::kFile,
       kApp + L"\\x.dll"},
      {"then the system folder", L"x.dll", {kSystem + L"\\x.dll", kWindows + L"\\x.dll"}, DllSource::kFile,
       kSystem + L"\\x.dll"},
      {"then the Windows folder", L"x.dll", {kWindows + L"\\x.dll", kCurrent + L"\\x.dll"}, DllSource::kFile,
       kWindows + L"\\x.dll"},
      {"then the current folder", L"x.dll", {kCurrent + L"\\x.dll", kPath1 + L"\\x.dll"}, DllSource::kFile,
       kCurrent + L"\\x.dll"},
      {"then PATH in order", L"x.dll", {kPath1 + L"\\x.dll", L"E:\\runtime\\x.dll"}, DllSource::kFile,
       kPath1 + L"\\x.dll"},
      {"to PATH's last entry", L"X.DLL", {L"E:\\runtime\\x.dll"}, DllSource::kFile, L"E:\\runtime\\X.DLL"},
      {"nowhere", L"x.dll", {L"C:\\elsewhere\\x.dll"}, DllSource::kMissing, L""},
      {"an API set, present or not", L"API-MS-WIN-CRT-runtime-l1-1-0.dll", {}, DllSource::kApiSet, L""},
      {"an extension API set", L"ext-ms-win-ntuser-window-l1-1-0.dll", {}, DllSource::kApiSet, L""},
      {"a KnownDLL, in any case", L"KERNEL32.dll", {kApp + L"\\KERNEL32.dll"}, DllSource::kKnownDll,
       kSystem + L"\\KERNEL32.dll"},
      {"a name without extension", L"helper", {kSystem + L"\\helper.dll"}, DllSource::kFile,
       kSystem + L"\\helper.dll"},
      {"a name with a folder, only there", L"C:\\lib\\x.dll", {kApp + L"\\x.dll"}, DllSource::kMissing, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFiles files;
    for (const std::wstring& path : c.present) files.Put(path, {});
    const DllLocation found =
        LocateDll(c.name, Order(), [&files](const std::wstring& path) { return files.Exists(path); });
    EXPECT_EQ(found.source, c.source);
    EXPECT_EQ(found.path, c.path);
  }
  EXPECT_EQ(FirstSearchFolder(L"comp.ocx", kApp), kApp);
  EXPECT_EQ(FirstSearchFolder(L"C:\\Program Files\\Tovrel\\comp.ocx", kApp), L"C:\\Program Files\\Tovrel");
  EXPECT_EQ(FirstSearchFolder(L"C:\\comp.ocx", kApp), L"C:\\");
}

struct Layout {
  const char* what;
  const char* component;                                  // in the first folder
  std::vector<std::pair<std::wstring, const char*>> put;  // more files: where, which fixture
  std::vector<std::wstring> errors;                       // "chain (fault)"
  std::vector<std::wstring> warnings;
};

std::wstring Describe(const DependencyFinding& f) {
  const wchar_t* faults[] = {L"missing", L"unreadable", L"not a program", L"wrong machine"};
  return ChainText(f.chain) + L" (" + faults[static_cast<int>(f.fault)] + L")";
}

TEST(DependencyWalk, EveryDllTheLoaderWouldNotGetWithItsChain) {
  const Layout layouts[] = {
      {"an import shipped nowhere", "imports_absent.dll", {},
       {L"imports_absent.dll -> absent_runtime.dll (missing)"}, {}},
      {"a shipped import whose own import is missing", "needs_helper.dll", {{kApp, "helper.dll"}},
       {L"needs_helper.dll -> helper.dll -> helper_runtime.dll (missing)"}, {}},
      {"the shipped import not shipped after all", "needs_helper.dll", {},
       {L"needs_helper.dll -> helper.dll (missing)"}, {}},
      {"the import found late, on PATH, and followed there", "needs_helper.dll", {{kPath2, "helper.dll"}},
       {L"needs_helper.dll -> helper.dll -> helper_runtime.dll (missing)"}, {}},
      {"the import of the other bitness", "needs_helper.dll", {{kApp, "other:helper.dll"}},
       {L"needs_helper.dll -> helper.dll (wrong machine)"}, {}},
      {"the other bitness passed over for a later copy", "needs_helper.dll",
       {{kApp, "other:helper.dll"}, {kPath1, "helper.dll"}},
       {L"needs_helper.dll -> helper.dll -> helper_runtime.dll (missing)"}, {}},
      {"the import is a saved web page", "needs_helper.dll", {{kApp, "not_a_program.ocx>helper.dll"}},
       {L"needs_helper.dll -> helper.dll (not a program)"}, {}},
      {"a delay-loaded DLL missing: a warning only", "delay_absent.dll", {}, {},
       {L"delay_absent.dll -> delayed_runtime.dll (missing)"}},
      {"nothing missing", "new/versioned.ocx", {}, {}, {}},
  };
  for (const std::string arch : kArches) {
    const std::string other = arch == "i686" ? "x86_64" : "i686";
    for (const Layout& l : layouts) {
      SCOPED_TRACE(arch + ": " + l.what);
      MemoryFiles files;
      const std::vector<std::uint8_t> bytes = FixtureBytes(arch, l.component);
      for (const auto& [folder, placed] : l.put) {
        // "fixture", "other:fixture" (the other bitness's build), "fixture>name" (put under name)
        std::string fixture = placed, as;
        std::string from = arch;
        if (fixture.rfind("other:", 0) == 0) from = other, fixture = fixture.substr(6);
        if (const auto renamed = fixture.find('>'); renamed != std::string::npos)
          as = fixture.substr(renamed + 1), fixture = fixture.substr(0, renamed);
        else
          as = fixture;
        files.Put(JoinPath(folder, WidenName(as)), FixtureBytes(from, fixture));
      }
      const std::wstring name = WidenName(std::string(l.component).substr(std::string(l.component).rfind('/') + 1));
      const DependencyReport report = WalkDependencies(name, ReadPeImage(bytes), Order(), files);
      std::vector<std::wstring> errors, warnings;
      for (const auto& f : report.errors) errors.push_back(Describe(f));
      for (const auto& f : report.warnings) warnings.push_back(Describe(f));
      EXPECT_EQ(errors, l.errors);
      EXPECT_EQ(warnings, l.warnings);
      EXPECT_FALSE(report.incomplete);
    }
  }
}

// Without KnownDLLs the system folder's copy is read and followed; a DLL that imports one
// already seen (here: itself) is not read again.
TEST(DependencyWalk, ReadsEachDllOnceAndStopsAtItsBound) {
  MemoryFiles files;
  SearchOrder order = Order();
  order.knownDlls.clear();
  files.Put(kSystem + L"\\kernel32.dll", FixtureBytes("x86_64", "new/versioned.ocx"));
  files.Put(kApp + L"\\helper.dll", FixtureBytes("x86_64", "helper.dll"));
  files.MakeUnreadable(kApp + L"\\helper.dll");
  const DependencyReport report =
      WalkDependencies(L"needs_helper.dll", ReadPeImage(FixtureBytes("x86_64", "needs_helper.dll")), order, files);
  ASSERT_EQ(report.errors.size(), 1u);
  EXPECT_EQ(Describe(report.errors[0]), L"needs_helper.dll -> helper.dll (unreadable)");
  EXPECT_EQ(report.errors[0].path, kApp + L"\\helper.dll");
  EXPECT_EQ(std::count(files.asked_.begin(), files.asked_.end(), kSystem + L"\\KERNEL32.dll"), 1);

  // A chain of DLLs longer than the bound: each imports the next, the last is missing.
  // Built by renaming the imported name in copies of needs_helper.dll ("helper.dll" -> "hNNNNN.dll").
  const std::vector<std::uint8_t> link = FixtureBytes("x86_64", "needs_helper.dll");
  const std::string from("\0helper.dll\0", 12);
  const auto at = std::search(link.begin(), link.end(), from.begin(), from.end()) - link.begin() + 1;
  ASSERT_LT(static_cast<std::size_t>(at), link.size());
  auto named = [](std::size_t i) {  // as long as "helper.dll"
    char text[16];
    std::snprintf(text, sizeof text, "h%05zu.dll", i);
    return std::string(text);
  };
  MemoryFiles chain;
  for (std::size_t i = 0; i <= kMaxWalkedImages; ++i) {
    std::vector<std::uint8_t> copy = link;
    const std::string next = named(i + 1);
    std::copy(next.begin(), next.end(), copy.begin() + at);
    chain.Put(kApp + L"\\" + WidenName(named(i)), std::move(copy));
  }
  std::vector<std::uint8_t> start = link;
  const std::string first = named(0);
  std::copy(first.begin(), first.end(), start.begin() + at);
  const DependencyReport bounded = WalkDependencies(L"start.dll", ReadPeImage(start), Order(), chain);
  EXPECT_TRUE(bounded.incomplete);
  EXPECT_TRUE(bounded.errors.empty());
}

std::vector<std::uint8_t> WithoutDllFlag(std::vector<std::uint8_t> bytes) {
  const std::size_t pe = bytes.at(0x3C) | bytes.at(0x3D) << 8;
  bytes.at(pe + 23) &= ~0x20;  // IMAGE_FILE_DLL, the high byte's 0x20
  return bytes;
}

// The exit codes the project's x86_64 registrar gave under Wine 8 for these fixtures, handed
// by bare name from an application folder holding all of them: the forecast must give the same.
// The i686 registrar's row is the same table seen from the other bitness.
TEST(RegistrationForecast, TheExitCodeTheRegistrarGives) {
  const struct {
    const char* file;
    int sameMachine;  // exit with a registrar of the component's machine
    std::size_t warnings;
  } rows[] = {
      {"imports_absent.dll", 3, 0}, {"needs_helper.dll", 3, 0}, {"no_register.dll", 4, 0},
      {"delay_absent.dll", 0, 1},   {"new/versioned.ocx", 0, 0}, {"not_a_program.ocx", 3, 0},
  };
  for (const std::string arch : kArches) {
    const std::uint16_t machine = arch == "i686" ? kMachineI386 : kMachineAmd64;
    const std::uint16_t otherMachine = arch == "i686" ? kMachineAmd64 : kMachineI386;
    MemoryFiles files;
    files.Put(kApp + L"\\helper.dll", FixtureBytes(arch, "helper.dll"));
    for (const auto& row : rows) {
      SCOPED_TRACE(arch + "/" + row.file);
      const PeImage image = ReadPeImage(FixtureBytes(arch, row.file));
      const RegistrationForecast same = ForecastRegistration(L"c.dll", image, machine, Order(), files, false);
      EXPECT_EQ(same.registrarExit, row.sameMachine);
      EXPECT_EQ(same.dependencies.warnings.size(), row.warnings);
      const RegistrationForecast other = ForecastRegistration(L"c.dll", image, otherMachine, Order(), files, false);
      EXPECT_EQ(other.registrarExit, 3);
      EXPECT_EQ(other.wrongMachine, image.IsProgram());
    }
    // A program image without the DLL flag loads: then only the entry point counts.
    const PeImage exe = ReadPeImage(WithoutDllFlag(FixtureBytes(arch, "no_register.dll")));
    const PeImage registers = ReadPeImage(WithoutDllFlag(FixtureBytes(arch, "new/versioned.ocx")));
    EXPECT_EQ(ForecastRegistration(L"c.exe", exe, machine, Order(), files, false).registrarExit, 4);
    const RegistrationForecast notDll = ForecastRegistration(L"c.ocx", registers, machine, Order(), files, false);
    EXPECT_TRUE(notDll.notDll);
    EXPECT_EQ(notDll.registrarExit, 0);
    // Unregistering asks for the other entry point.
    EXPECT_EQ(ForecastRegistration(L"c.exe", exe, machine, Order(), files, true).registrarExit, 4);
    EXPECT_FALSE(ForecastRegistration(L"c.ocx", registers, machine, Order(), files, true).entryMissing);
  }
}

}  // namespace
}  // namespace tovrel::loader

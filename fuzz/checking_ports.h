#pragma once
// Wrappers of the in-memory platform that check, as the logic uses them, what must always
// hold; a broken rule aborts the process so the fuzzer keeps the input.
#include <functional>
#include <map>
#include <set>
#include <string>

#include "tests/fake/fake_platform.h"

namespace tovrel::fuzz {

// Prints `what` and aborts when `holds` is false.
void Require(bool holds, const char* what);

// Copies as on Win32, no file is replaced unless a backup of its content lies beside it, and
// no copy, failed or not, leaves its temporary file.
class CheckingFileSystem : public platform::FileSystem {
 public:
  explicit CheckingFileSystem(fake::FakeFileSystem& files) : files_(files) {}

  bool FindNormalFile(const std::wstring& pattern) override { return files_.FindNormalFile(pattern); }
  std::optional<platform::CopyRefusal> WhyCopyRefused(const std::wstring& from, const std::wstring& to,
                                                      bool replaceExisting) override {
    return files_.WhyCopyRefused(from, to, replaceExisting);
  }
  void Copy(const std::wstring& from, const std::wstring& to, bool replaceExisting) override;

 private:
  struct Backup {
    std::wstring key;
    std::string bytes;
  };
  fake::FakeFileSystem& files_;
  std::map<std::wstring, Backup> backups_;  // by the key of the file that was saved
};

// Every error line added to TxtError starts with CR LF and nothing earlier is changed.
class CheckingWindow : public fake::FakeMainWindow {
 public:
  void SetErrorText(const std::wstring& text) override;
};

// Every launch names the registrar in the program's folder, with the exact command line.
class CheckingLauncher : public platform::ProcessLauncher {
 public:
  CheckingLauncher(fake::FakeLauncher& launcher, fake::FakeMainWindow& window)
      : launcher_(launcher), window_(window) {}

  std::wstring appPath;                  // AppPath once start-up has set it
  std::set<std::wstring> registrable;    // the component texts of the list and their bare names

  void Launch(const std::wstring& applicationPath, const std::wstring& commandLine) override;

 private:
  fake::FakeLauncher& launcher_;
  fake::FakeMainWindow& window_;
};

}  // namespace tovrel::fuzz

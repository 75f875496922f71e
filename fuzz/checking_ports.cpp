#include "fuzz/checking_ports.h"

#include <cstdio>
#include <cstdlib>

#include "platform/path_text.h"
#include "platform/platform_error.h"

namespace tovrel::fuzz {

namespace {

std::wstring ParentKey(const std::wstring& key) { return platform::SplitAtLastBackslash(key).folder; }

}  // namespace

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "tovrel fuzz: broken rule: %s\n", what);
  std::abort();
}

void CheckingFileSystem::Copy(const std::wstring& from, const std::wstring& to, bool replaceExisting) {
  const std::wstring fromKey = files_.Key(from);
  const std::wstring toKey = files_.Key(to);
  const fake::FakeFile* existing = files_.File(to);
  const bool hadFile = existing != nullptr;
  const std::string oldBytes = hadFile ? existing->bytes : std::string();
  try {
    files_.Copy(from, to, replaceExisting);
  } catch (const platform::PlatformError&) {
    Require(files_.TemporaryFiles().empty(), "a failed copy left its temporary file");
    throw;
  }
  Require(files_.TemporaryFiles().empty(), "a copy left its temporary file");
  const std::string& newBytes = files_.File(to)->bytes;

  if (!replaceExisting) {
    Require(ParentKey(toKey) == ParentKey(fromKey), "a backup lies in another folder than its target");
    backups_[fromKey] = Backup{toKey, newBytes};
    return;
  }
  if (hadFile && oldBytes != newBytes) {
    const auto backup = backups_.find(toKey);
    Require(backup != backups_.end(), "a file was replaced without a backup");
    Require(backup->second.bytes == oldBytes, "a file was replaced and its backup holds other content");
    const fake::FakeFile* saved = files_.File(backup->second.key);
    Require(saved != nullptr && saved->bytes == oldBytes, "the backup of a replaced file is gone or changed");
  }
  backups_.erase(toKey);
}

void CheckingWindow::SetErrorText(const std::wstring& text) {
  Require(text.compare(0, errorText.size(), errorText) == 0, "TxtError lost or changed earlier text");
  Require(text.size() == errorText.size() || text.compare(errorText.size(), 2, L"\r\n") == 0,
          "a TxtError line does not start with CR LF");
  FakeMainWindow::SetErrorText(text);
}

void CheckingLauncher::Launch(const std::wstring& applicationPath, const std::wstring& commandLine) {
  Require(applicationPath == appPath + L"regsvr32.exe", "the launched program is not the registrar beside us");
  const std::wstring head = L"\"" + appPath + L"\\regsvr32.exe \"\"";
  const std::wstring tail = window_.showRegistrarMessages ? L"\" " : L"\" /s ";
  Require(commandLine.size() >= head.size() + tail.size() && commandLine.compare(0, head.size(), head) == 0 &&
              commandLine.compare(commandLine.size() - tail.size(), tail.size(), tail) == 0,
          "the registrar's command line has the wrong shape or switch");
  const std::wstring component = commandLine.substr(head.size(), commandLine.size() - head.size() - tail.size());
  Require(registrable.count(component) != 0, "the registrar was given a text that no list line names");
  Require(window_.status == L"Registrando: " + component, "the status does not name the component launched");
  launcher_.Launch(applicationPath, commandLine);
}

}  // namespace tovrel::fuzz

#pragma once
// The seam for a run that changes nothing: it reads the real list and the real folders,
// and records copies, launches and everything the window would show instead of doing it.
#include <set>
#include <string>
#include <vector>

#include "checker/run_trace.h"
#include "platform/ports.h"

namespace tovrel::checker {

// Counts the lines as they are read, so that every effect can be put under its line.
class LineCountingTextFiles final : public platform::TextFiles {
 public:
  LineCountingTextFiles(platform::TextFiles& real, Trace& trace) : real_(real), trace_(trace) {}

  std::int16_t FreeFileNumber() override;
  void Open(std::int16_t number, const std::wstring& path) override;
  bool AtEnd(std::int16_t number) override;
  std::wstring ReadLine(std::int16_t number) override;
  void Close(std::int16_t number) noexcept override { real_.Close(number); }

 private:
  platform::TextFiles& real_;
  Trace& trace_;
};

// Existence tests see the real file system and, over it, the files that the copies of the
// same run would have made; copies are recorded, or fail where the real file system says they would.
class DryRunFileSystem final : public platform::FileSystem {
 public:
  DryRunFileSystem(platform::FileSystem& real, platform::TextComparer& text, Trace& trace)
      : real_(real), text_(text), trace_(trace) {}

  bool FindNormalFile(const std::wstring& pattern) override;
  std::optional<platform::CopyRefusal> WhyCopyRefused(const std::wstring& from, const std::wstring& to,
                                                      bool replaceExisting) override;
  void CopyFile(const std::wstring& from, const std::wstring& to, bool replaceExisting) override;

  // Lets later lookups find a normal file at `path`.
  void Pretend(const std::wstring& path);

 private:
  bool InOverlay(const std::wstring& pattern);
  bool MadeByThisRun(const std::wstring& path);
  std::string FolderKey(const std::wstring& path);

  platform::FileSystem& real_;
  platform::TextComparer& text_;
  Trace& trace_;
  std::set<std::string> exact_;  // comparison keys of the whole paths
  struct Entry {
    std::string folderKey;
    std::wstring name;
  };
  std::vector<Entry> entries_;  // for patterns with wildcards
};

class RecordingLauncher final : public platform::ProcessLauncher {
 public:
  explicit RecordingLauncher(Trace& trace) : trace_(trace) {}
  void Launch(const std::wstring& applicationPath, const std::wstring& commandLine) override;

 private:
  Trace& trace_;
};

// The main window with ChkMostrar unchecked, as the program starts.
class RecordingWindow final : public platform::MainWindow {
 public:
  explicit RecordingWindow(Trace& trace) : trace_(trace) {}

  platform::Size ScreenSize() override { return {1024, 768}; }
  platform::Size WindowSize() override { return {640, 480}; }
  void MoveWindow(float, float) override {}
  void ShowMessage(const std::wstring& text, const std::wstring& title, platform::MessageIcon icon) override;
  void DisableRegistrar() override { trace_.registrarDisabled = true; }
  void SetStatus(const std::wstring& text) override;
  std::wstring ErrorText() override { return errorText_; }
  void SetErrorText(const std::wstring& text) override;
  void AppendErrorText(const std::wstring& text) override;
  bool ShowRegistrarMessages() override { return false; }
  void Yield() override {}

 private:
  Trace& trace_;
  std::wstring errorText_;
};

// List1 in memory; remembers the list line each entry came from.
class MemoryChecklist final : public platform::Checklist {
 public:
  explicit MemoryChecklist(Trace& trace) : trace_(trace) {}

  void Clear() override;
  void Append(const std::wstring& text) override;
  int Count() override { return static_cast<int>(entries_.size()); }
  std::wstring Text(int index) override { return entries_.at(static_cast<std::size_t>(index)).text; }
  bool Checked(int index) override { return entries_.at(static_cast<std::size_t>(index)).checked; }
  void SetChecked(int index, bool checked) override { entries_.at(static_cast<std::size_t>(index)).checked = checked; }

  long LineOf(int index) const { return entries_.at(static_cast<std::size_t>(index)).line; }

 private:
  struct Entry {
    std::wstring text;
    bool checked;
    long line;
  };
  Trace& trace_;
  std::vector<Entry> entries_;
};

// The real Windows and system folders beside the folder being checked.
class CheckedFolder final : public platform::SystemFolders {
 public:
  CheckedFolder(platform::SystemFolders& real, std::wstring folder) : real_(real), folder_(std::move(folder)) {}
  std::uint32_t WindowsDirectory(wchar_t* buffer, std::uint32_t size) override {
    return real_.WindowsDirectory(buffer, size);
  }
  std::uint32_t SystemDirectory(wchar_t* buffer, std::uint32_t size) override {
    return real_.SystemDirectory(buffer, size);
  }
  std::wstring ApplicationFolder() override { return folder_; }

 private:
  platform::SystemFolders& real_;
  std::wstring folder_;
};

}  // namespace tovrel::checker

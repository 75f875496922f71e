#pragma once
// The seam for a run that changes nothing: it reads the real list and the real folders, and
// copies and starts nothing. What the run would do, it tells its report (run_record.h).
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace tovrel::checker {

// Existence tests see the real file system and, over it, the files that the copies of the
// same run would have made; a copy fails where the real file system says it would.
class DryRunFileSystem final : public platform::FileSystem {
 public:
  DryRunFileSystem(platform::FileSystem& real, platform::TextComparer& text) : real_(real), text_(text) {}

  bool FindNormalFile(const std::wstring& pattern) override;
  std::optional<platform::CopyRefusal> WhyCopyRefused(const std::wstring& from, const std::wstring& to,
                                                      bool replaceExisting) override;
  void Copy(const std::wstring& from, const std::wstring& to, bool replaceExisting) override;

  // Lets later lookups find a normal file at `path`.
  void Pretend(const std::wstring& path);

 private:
  bool InOverlay(const std::wstring& pattern);
  bool MadeByThisRun(const std::wstring& path);

  platform::FileSystem& real_;
  platform::TextComparer& text_;
  std::set<std::string> exact_;  // comparison keys of the whole paths
  struct Entry {
    std::string folderKey;
    std::wstring name;
  };
  std::vector<Entry> entries_;  // for patterns with wildcards
};

// Starts nothing: the run's report says what it would start.
class NoLauncher final : public platform::ProcessLauncher {
 public:
  void Launch(const std::wstring&, const std::wstring&) override {}
};

// The main window with ChkMostrar unchecked, as the program starts, that nobody sees: what it
// would show, the run's report says.
class UnseenWindow final : public platform::MainWindow {
 public:
  bool registrarDisabled = false;

  platform::Size ScreenSize() override { return {1024, 768}; }
  platform::Size WindowSize() override { return {640, 480}; }
  void MoveWindow(float, float) override {}
  void DisableRegistrar() override { registrarDisabled = true; }
  bool ShowRegistrarMessages() override { return false; }
  void YieldToEvents() override {}
};

// List1 in memory.
class MemoryChecklist final : public platform::Checklist {
 public:
  void Clear() override { entries_.clear(); }
  void Append(const std::wstring& text) override { entries_.push_back({text, false}); }
  int Count() override { return static_cast<int>(entries_.size()); }
  std::wstring Text(int index) override { return At(index).text; }
  bool Checked(int index) override { return At(index).checked; }
  void SetChecked(int index, bool checked) override { At(index).checked = checked; }

 private:
  struct Entry {
    std::wstring text;
    bool checked;
  };
  Entry& At(int index) { return entries_.at(static_cast<std::size_t>(index)); }
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

#pragma once
// Files in memory: case-insensitive backslash paths, attributes, wildcard search, copies,
// and text files read through the shared line rule, with failures on demand.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/line_splitter.h"
#include "platform/text_files.h"

namespace tovrel::fake {

enum FileAttributes : unsigned {
  kNormal = 0,
  kHidden = 1u << 0,
  kSystem = 1u << 1,
  kReadOnly = 1u << 2,
};

// The steps of a copy, as the Win32 seam takes them: a hidden temporary file beside the
// destination is created, written, flushed, and renamed to the destination in one step.
enum class CopyStep { CreateTemporary, Write, Flush, Rename };

struct FakeFile {
  std::wstring path;  // as first written
  std::string bytes;
  unsigned attributes = kNormal;
};

class FakeFileSystem : public platform::FileSystem {
 public:
  // Relative paths are looked up from here.
  std::wstring currentFolder = L"C:\\Actual";

  // Adds (or replaces) a file; its folders come into being with it.
  void AddFile(const std::wstring& path, std::string bytes = "", unsigned attributes = kNormal);
  void AddFolder(const std::wstring& path);
  void RemoveFile(const std::wstring& path);
  bool HasFile(const std::wstring& path) const;
  bool HasFolder(const std::wstring& path) const;
  const FakeFile* File(const std::wstring& path) const;
  std::size_t FileCount() const { return files_.size(); }

  // Failure injection, by path (compared as the file system would).
  void FailLookupOf(const std::wstring& pattern) { failingLookups_.insert(Key(pattern)); }
  // A copy to `path` fails before it writes anything (a destination in use) ...
  void FailCopyTo(const std::wstring& path) { failingCopyTargets_.insert(Key(path)); }
  // ... or at `step`, with that step's description; the temporary file is removed.
  void FailCopyTo(const std::wstring& path, CopyStep step) { failingCopySteps_[Key(path)] = step; }
  void FailCopyFrom(const std::wstring& path) { failingCopySources_.insert(Key(path)); }

  struct Copy {
    std::wstring from;
    std::wstring to;
    bool replaceExisting;
  };
  std::vector<Copy> copies;             // successful copies, in order
  std::vector<std::wstring>* journal = nullptr;
  // Called before each step of every copy (for Write, when half the bytes are written). An
  // exception thrown from it leaves the files as they stand, as a killed process would.
  std::function<void(CopyStep, const std::wstring& to)> duringCopy;
  // Paths of the temporary files that lie anywhere, as a directory listing would show them.
  std::vector<std::wstring> TemporaryFiles() const;

  bool FindNormalFile(const std::wstring& pattern) override;
  std::optional<platform::CopyRefusal> WhyCopyRefused(const std::wstring& from, const std::wstring& to,
                                                      bool replaceExisting) override;
  void Copy(const std::wstring& from, const std::wstring& to, bool replaceExisting) override;

  // The comparison key of a path: absolute, case folded, runs of backslashes as one.
  std::wstring Key(const std::wstring& path) const;

 private:
  platform::PathFacts FactsOf(const std::wstring& key) const;

  std::map<std::wstring, FakeFile> files_;
  std::set<std::wstring> folders_;
  std::set<std::wstring> failingLookups_;
  std::set<std::wstring> failingCopyTargets_;
  std::set<std::wstring> failingCopySources_;
  std::map<std::wstring, CopyStep> failingCopySteps_;
};

class FakeTextFiles : public platform::TextFileSystem {
 public:
  explicit FakeTextFiles(FakeFileSystem& files) : files_(files) {}

  void FailOpenOf(const std::wstring& path) { failingOpens_.insert(files_.Key(path)); }
  // Reading `path` fails once `lines` lines have been read from it.
  void FailReadAfter(const std::wstring& path, long lines) { failingReads_[files_.Key(path)] = lines; }

  // How many files are open now.
  std::size_t OpenCount() const { return static_cast<std::size_t>(*openCount_); }
  std::vector<std::wstring> opened;  // the path of every successful open

  std::unique_ptr<platform::TextFile> OpenText(const std::wstring& path) override;

 private:
  FakeFileSystem& files_;
  std::shared_ptr<long> openCount_ = std::make_shared<long>(0);
  std::set<std::wstring> failingOpens_;
  std::map<std::wstring, long> failingReads_;
};

}  // namespace tovrel::fake

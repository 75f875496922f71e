#include "tests/fake/fake_files.h"

#include "platform/path_text.h"
#include "platform/platform_error.h"
#include "platform/replacement_name.h"
#include "platform/wildcard_match.h"
#include "tests/fake/fake_text.h"

namespace tovrel::fake {

namespace {

using platform::PathFacts;
using platform::PlatformError;

bool IsDriveRoot(const std::wstring& key) { return key.size() == 3 && key[1] == L':' && key[2] == L'\\'; }

// Empty above a root: a lone backslash is its own containing folder.
std::wstring Parent(const std::wstring& key) {
  std::wstring parent = platform::ContainingFolder(key);
  return parent == key ? std::wstring() : parent;
}

bool IsNormal(const FakeFile& file) { return (file.attributes & (kHidden | kSystem)) == 0; }

// What the existence test counts: a normal file that is not a copy's temporary file.
bool Counts(const std::wstring& name, const FakeFile& file) {
  return IsNormal(file) && !platform::IsReplacementName(name);
}

// A file the seam writes a copy into before its rename (the name's last part tells).
bool IsReplacementKey(const std::wstring& key) {
  return platform::IsReplacementName(platform::SplitAtLastBackslash(key).name);
}

const wchar_t* StepFailure(CopyStep step) {
  switch (step) {
    case CopyStep::CreateTemporary: return L"Acceso denegado.";
    case CopyStep::Write: return L"No hay espacio suficiente en el disco.";
    case CopyStep::Flush: return L"Error de E/S en el dispositivo.";
    default: return L"Acceso denegado.";
  }
}

}  // namespace

std::wstring FakeFileSystem::Key(const std::wstring& path) const {
  std::wstring absolute;
  const bool unc = path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
  const bool drive = path.size() >= 2 && path[1] == L':';
  if (unc || (drive && path.size() >= 3 && path[2] == L'\\')) {
    absolute = path;
  } else if (drive) {
    absolute = currentFolder + L"\\" + path.substr(2);
  } else if (!path.empty() && path[0] == L'\\') {
    absolute = currentFolder.substr(0, 2) + path;
  } else {
    absolute = currentFolder + L"\\" + path;
  }
  std::wstring key = platform::CollapseBackslashes(absolute);
  for (wchar_t& c : key) c = FoldCase(c);
  if (key.size() > 1 && key.back() == L'\\' && !IsDriveRoot(key)) key.pop_back();
  return key;
}

void FakeFileSystem::AddFolder(const std::wstring& path) {
  for (std::wstring key = Key(path); !key.empty(); key = Parent(key)) {
    folders_.insert(key);
    if (IsDriveRoot(key)) break;
  }
}

void FakeFileSystem::AddFile(const std::wstring& path, std::string bytes, unsigned attributes) {
  const std::wstring key = Key(path);
  const std::wstring parent = Parent(key);
  if (!parent.empty()) AddFolder(parent);
  files_[key] = FakeFile{path, std::move(bytes), attributes};
}

void FakeFileSystem::RemoveFile(const std::wstring& path) { files_.erase(Key(path)); }

bool FakeFileSystem::HasFile(const std::wstring& path) const { return files_.count(Key(path)) != 0; }

bool FakeFileSystem::HasFolder(const std::wstring& path) const { return folders_.count(Key(path)) != 0; }

const FakeFile* FakeFileSystem::File(const std::wstring& path) const {
  const auto it = files_.find(Key(path));
  return it == files_.end() ? nullptr : &it->second;
}

bool FakeFileSystem::FindNormalFile(const std::wstring& pattern) {
  const std::wstring key = Key(pattern);
  if (failingLookups_.count(key)) throw PlatformError(L"El dispositivo no está listo.");
  if (pattern.empty() || pattern.back() == L'\\') return false;  // names a folder, not a file
  const platform::PathParts parts = platform::SplitAtLastBackslash(key);
  const std::wstring& name = parts.name;
  if (name.find_first_of(L"*?") == std::wstring::npos) {
    const auto it = files_.find(key);
    return it != files_.end() && Counts(name, it->second);
  }
  const std::wstring prefix = parts.folder + L'\\';
  for (auto it = files_.lower_bound(prefix); it != files_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    const std::wstring rest = it->first.substr(prefix.size());
    if (rest.find(L'\\') != std::wstring::npos) continue;
    if (Counts(rest, it->second) && platform::WildcardMatch(name, rest)) return true;
  }
  return false;
}

PathFacts FakeFileSystem::FactsOf(const std::wstring& key) const {
  if (folders_.count(key)) return {true, true, false};
  const auto file = files_.find(key);
  if (file == files_.end()) return {};
  return {true, false, (file->second.attributes & (kReadOnly | kHidden | kSystem)) != 0};
}

std::optional<platform::CopyRefusal> FakeFileSystem::WhyCopyRefused(const std::wstring& from, const std::wstring& to,
                                                                    bool replaceExisting) {
  PathFacts source = FactsOf(Key(from));
  source.exists = source.exists && !source.folder;  // a folder is no file to copy: not found
  const std::wstring toKey = Key(to);
  const std::optional<platform::CopyObstacle> obstacle =
      platform::JudgeCopy(source, FactsOf(Parent(toKey)), FactsOf(toKey), replaceExisting);
  if (!obstacle) return std::nullopt;
  switch (*obstacle) {
    case platform::CopyObstacle::SourceMissing:
      return platform::CopyRefusal{*obstacle, L"El sistema no puede encontrar el archivo especificado."};
    case platform::CopyObstacle::FolderMissing:
      return platform::CopyRefusal{*obstacle, L"El sistema no puede encontrar la ruta especificada."};
    case platform::CopyObstacle::DestinationTaken: return platform::CopyRefusal{*obstacle, L"El archivo ya existe."};
    default: return platform::CopyRefusal{*obstacle, L"Acceso denegado."};
  }
}

void FakeFileSystem::Copy(const std::wstring& from, const std::wstring& to, bool replaceExisting) {
  const std::wstring fromKey = Key(from);
  const std::wstring toKey = Key(to);
  if (failingCopySources_.count(fromKey) || failingCopyTargets_.count(toKey)) {
    throw PlatformError(L"Acceso denegado.");
  }
  if (std::optional<platform::CopyRefusal> refusal = WhyCopyRefused(from, to, replaceExisting)) {
    throw platform::CopyRefusedError(std::move(*refusal));
  }
  const auto source = files_.find(fromKey);
  const std::string bytes = source->second.bytes;
  const unsigned attributes = source->second.attributes;

  const std::wstring temporaryPath = platform::ReplacementPathFor(to);
  const std::wstring temporaryKey = Key(temporaryPath);
  const auto failing = failingCopySteps_.find(toKey);
  // Before each step: the observer (which may end the "process" there), then an injected
  // failure, which removes the temporary file as the seam does.
  const auto step = [&](CopyStep current) {
    if (duringCopy) duringCopy(current, to);
    if (failing != failingCopySteps_.end() && failing->second == current) {
      files_.erase(temporaryKey);
      throw PlatformError(StepFailure(current));
    }
  };
  step(CopyStep::CreateTemporary);
  files_[temporaryKey] = FakeFile{temporaryPath, "", kHidden};  // a leftover one is overwritten
  files_[temporaryKey].bytes = bytes.substr(0, bytes.size() / 2);
  step(CopyStep::Write);
  files_[temporaryKey].bytes = bytes;
  step(CopyStep::Flush);
  files_[temporaryKey].attributes = attributes;  // restored before the rename, as on Win32
  step(CopyStep::Rename);
  if (!replaceExisting && files_.count(toKey)) {  // taken while the copy was written
    files_.erase(temporaryKey);
    throw PlatformError(L"El archivo ya existe.");
  }
  files_[toKey] = FakeFile{to, bytes, attributes};
  files_.erase(temporaryKey);
  // As the seam: a completed copy clears what copies cut short left in its folder.
  const std::wstring folder = Parent(toKey);
  for (auto it = files_.begin(); it != files_.end();) {
    const std::wstring& key = it->first;
    const bool leftover = Parent(key) == folder && IsReplacementKey(key);
    it = leftover ? files_.erase(it) : std::next(it);
  }
  copies.push_back({from, to, replaceExisting});
  if (journal) journal->push_back(L"copy " + from + L" -> " + to);
}

std::vector<std::wstring> FakeFileSystem::TemporaryFiles() const {
  std::vector<std::wstring> found;
  for (const auto& [key, file] : files_) {
    if (IsReplacementKey(key)) found.push_back(file.path);
  }
  return found;
}

namespace {

// A file's bytes through the shared line rule, with a read failure on demand.
class FakeTextFile final : public platform::TextFile {
 public:
  FakeTextFile(const std::string& bytes, long failAfter, std::shared_ptr<long> openCount)
      : failAfter_(failAfter), openCount_(std::move(openCount)) {
    lines_.Feed(bytes);
    lines_.FinishInput();
    ++*openCount_;
  }
  ~FakeTextFile() override { --*openCount_; }
  FakeTextFile(const FakeTextFile&) = delete;
  FakeTextFile& operator=(const FakeTextFile&) = delete;

  bool AtEnd() override { return lines_.Exhausted(); }

  std::wstring ReadLine() override {
    if (failAfter_ >= 0 && linesRead_ >= failAfter_) throw PlatformError(L"Error de lectura en el disco.");
    std::string line;
    if (!lines_.NextLine(line)) throw PlatformError(L"Se intentó leer más allá del final del archivo.");
    ++linesRead_;
    return Latin1ToWide(line);
  }

 private:
  platform::LineSplitter lines_;
  long linesRead_ = 0;
  long failAfter_;
  std::shared_ptr<long> openCount_;
};

}  // namespace

std::unique_ptr<platform::TextFile> FakeTextFiles::OpenText(const std::wstring& path) {
  const std::wstring key = files_.Key(path);
  if (failingOpens_.count(key)) throw PlatformError(L"Acceso denegado.");
  const FakeFile* file = files_.File(path);
  if (file == nullptr) throw PlatformError(L"El sistema no puede encontrar el archivo especificado.");
  const auto failing = failingReads_.find(key);
  auto opened = std::make_unique<FakeTextFile>(file->bytes, failing == failingReads_.end() ? -1 : failing->second,
                                               openCount_);
  this->opened.push_back(path);
  return opened;
}

}  // namespace tovrel::fake

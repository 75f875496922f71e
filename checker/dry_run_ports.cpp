#include "checker/dry_run_ports.h"

#include "platform/platform_error.h"
#include "platform/wildcard_match.h"

namespace tovrel::checker {

namespace {

// Runs of backslashes name one separator (a leading pair opens a network path).
std::wstring CollapseBackslashes(const std::wstring& path) {
  std::wstring out;
  out.reserve(path.size());
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == L'\\' && i > 1 && !out.empty() && out.back() == L'\\') continue;
    out.push_back(path[i]);
  }
  return out;
}

void SplitAtLastBackslash(const std::wstring& path, std::wstring& folder, std::wstring& name) {
  const std::size_t slash = path.rfind(L'\\');
  folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
  name = slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

void DryRunFileSystem::Pretend(const std::wstring& path) {
  const std::wstring collapsed = CollapseBackslashes(path);
  exact_.insert(text_.SortKey(collapsed));
  Entry entry;
  std::wstring folder;
  SplitAtLastBackslash(collapsed, folder, entry.name);
  entry.folderKey = text_.SortKey(folder);
  entries_.push_back(std::move(entry));
}

bool DryRunFileSystem::MadeByThisRun(const std::wstring& path) {
  return exact_.count(text_.SortKey(CollapseBackslashes(path))) != 0;
}

bool DryRunFileSystem::InOverlay(const std::wstring& pattern) {
  const std::wstring collapsed = CollapseBackslashes(pattern);
  if (collapsed.find_first_of(L"*?") == std::wstring::npos) return MadeByThisRun(collapsed);
  std::wstring folder, name;
  SplitAtLastBackslash(collapsed, folder, name);
  const std::string folderKey = text_.SortKey(folder);
  for (const Entry& entry : entries_) {
    if (entry.folderKey == folderKey && platform::WildcardMatch(name, entry.name)) return true;
  }
  return false;
}

bool DryRunFileSystem::FindNormalFile(const std::wstring& pattern) {
  return real_.FindNormalFile(pattern) || InOverlay(pattern);
}

std::optional<platform::CopyRefusal> DryRunFileSystem::WhyCopyRefused(const std::wstring& from,
                                                                      const std::wstring& to, bool replaceExisting) {
  std::optional<platform::CopyRefusal> refusal = real_.WhyCopyRefused(from, to, replaceExisting);
  // A source that an earlier copy of this run made would be there by then (a pattern is no
  // file name: a copy from one fails even where a search finds a match).
  if (refusal && refusal->obstacle == platform::CopyObstacle::SourceMissing && MadeByThisRun(from)) return {};
  return refusal;
}

void DryRunFileSystem::CopyFile(const std::wstring& from, const std::wstring& to, bool replaceExisting) {
  if (std::optional<platform::CopyRefusal> refusal = WhyCopyRefused(from, to, replaceExisting)) {
    throw platform::CopyRefusedError(std::move(*refusal));
  }
  Pretend(to);
}

}  // namespace tovrel::checker

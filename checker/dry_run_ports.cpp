#include "checker/dry_run_ports.h"

#include "platform/path_text.h"
#include "platform/platform_error.h"
#include "platform/wildcard_match.h"

namespace tovrel::checker {


void DryRunFileSystem::Pretend(const std::wstring& path) {
  const std::wstring collapsed = platform::CollapseBackslashes(path);
  exact_.insert(text_.SortKey(collapsed));
  platform::PathParts parts = platform::SplitAtLastBackslash(collapsed);
  entries_.push_back({text_.SortKey(parts.folder), std::move(parts.name)});
}

bool DryRunFileSystem::MadeByThisRun(const std::wstring& path) {
  return exact_.count(text_.SortKey(platform::CollapseBackslashes(path))) != 0;
}

bool DryRunFileSystem::InOverlay(const std::wstring& pattern) {
  const std::wstring collapsed = platform::CollapseBackslashes(pattern);
  if (collapsed.find_first_of(L"*?") == std::wstring::npos) return MadeByThisRun(collapsed);
  const platform::PathParts parts = platform::SplitAtLastBackslash(collapsed);
  const std::string folderKey = text_.SortKey(parts.folder);
  for (const Entry& entry : entries_) {
    if (entry.folderKey == folderKey && platform::WildcardMatch(parts.name, entry.name)) return true;
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

void DryRunFileSystem::Copy(const std::wstring& from, const std::wstring& to, bool replaceExisting) {
  if (std::optional<platform::CopyRefusal> refusal = WhyCopyRefused(from, to, replaceExisting)) {
    throw platform::CopyRefusedError(std::move(*refusal));
  }
  Pretend(to);
}

}  // namespace tovrel::checker

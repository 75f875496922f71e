#include "checker/dry_run_ports.h"

#include "catalogue/list_line.h"
#include "platform/platform_error.h"
#include "platform/wildcard_match.h"
#include "registration/backup.h"

namespace tovrel::checker {

namespace {

using platform::PlatformError;

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

// Keeps the seam's failures visible to the checker, then lets the reader handle them.
template <typename Call>
auto Observed(Trace& trace, Call call) -> decltype(call()) {
  try {
    return call();
  } catch (const PlatformError& e) {
    if (!trace.readFailure) trace.readFailure = e.Description();
    throw;
  }
}

}  // namespace

std::int16_t LineCountingTextFiles::FreeFileNumber() {
  return Observed(trace_, [&] { return real_.FreeFileNumber(); });
}

void LineCountingTextFiles::Open(std::int16_t number, const std::wstring& path) {
  Observed(trace_, [&] { real_.Open(number, path); });
  trace_.line = 0;
}

bool LineCountingTextFiles::AtEnd(std::int16_t number) {
  return Observed(trace_, [&] { return real_.AtEnd(number); });
}

std::wstring LineCountingTextFiles::ReadLine(std::int16_t number) {
  std::wstring line = Observed(trace_, [&] { return real_.ReadLine(number); });
  ++trace_.line;
  if (catalogue::ClassifyLine(line) == catalogue::LineKind::Entry) {
    if (trace_.phase == Phase::Startup) {
      trace_.entryLinesRead.push_back({trace_.line, line});
    } else if (trace_.phase == Phase::Run) {
      trace_.runEntryLines.push_back(trace_.line);
    }
  }
  return line;
}

std::string DryRunFileSystem::FolderKey(const std::wstring& folder) { return text_.SortKey(folder); }

void DryRunFileSystem::Pretend(const std::wstring& path) {
  const std::wstring collapsed = CollapseBackslashes(path);
  exact_.insert(text_.SortKey(collapsed));
  Entry entry;
  std::wstring folder;
  SplitAtLastBackslash(collapsed, folder, entry.name);
  entry.folderKey = FolderKey(folder);
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
  const std::string folderKey = FolderKey(folder);
  for (const Entry& entry : entries_) {
    if (entry.folderKey == folderKey && platform::WildcardMatch(name, entry.name)) return true;
  }
  return false;
}

bool DryRunFileSystem::FindNormalFile(const std::wstring& pattern) {
  trace_.pendingCause.reset();
  const bool found = real_.FindNormalFile(pattern) || InOverlay(pattern);
  if (trace_.phase == Phase::Run) {
    LineEffects& effects = trace_.Current();
    const Lookup lookup{pattern, found};
    if (!effects.firstLookup) effects.firstLookup = lookup;
    effects.lastLookup = lookup;
    effects.foundInARow = found ? effects.foundInARow + 1 : 0;
  }
  return found;
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
  trace_.pendingCause.reset();
  if (std::optional<platform::CopyRefusal> refusal = WhyCopyRefused(from, to, replaceExisting)) {
    trace_.pendingCause =
        refusal->obstacle == platform::CopyObstacle::FolderMissing ? ErrorCause::MissingFolder : ErrorCause::CopyRefused;
    throw platform::CopyRefusedError(std::move(*refusal));
  }
  Pretend(to);
  if (trace_.phase != Phase::Run) return;
  LineEffects& effects = trace_.Current();
  // A backup never replaces a file; the component copy does.
  if (!replaceExisting) {
    effects.backupName = to;
  } else {
    effects.copies.push_back(from + L" -> " + to);
  }
}

void RecordingLauncher::Launch(const std::wstring&, const std::wstring& commandLine) {
  if (trace_.phase == Phase::Run) trace_.Current().commandLines.push_back(commandLine);
}

void RecordingWindow::ShowMessage(const std::wstring& text, const std::wstring& title, platform::MessageIcon icon) {
  trace_.messages.push_back({trace_.phase, trace_.line, text, title, icon});
}

void RecordingWindow::SetStatus(const std::wstring& text) {
  if (trace_.phase == Phase::Run) trace_.Current().statusTexts.push_back(text);
}

void RecordingWindow::SetErrorText(const std::wstring& text) {
  if (text.compare(0, errorText_.size(), errorText_) == 0) {
    AppendErrorText(text.substr(errorText_.size()));
  } else {
    errorText_ = text;
  }
}

void RecordingWindow::AppendErrorText(const std::wstring& text) {
  errorText_ += text;
  // Every error line begins with a line break; one addition may carry several lines.
  static constexpr wchar_t kBreak[] = L"\r\n";
  std::size_t start = text.compare(0, 2, kBreak) == 0 ? 2 : 0;
  while (start <= text.size()) {
    const std::size_t end = text.find(kBreak, start);
    const std::wstring piece = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    ErrorCause cause = trace_.pendingCause.value_or(ErrorCause::Other);
    if (trace_.phase == Phase::Run) {
      LineEffects& effects = trace_.Current();
      // The target and every one of its numbered names were found, and nothing was saved.
      if (effects.foundInARow > registration::kBackupNameCount && effects.backupName.empty()) {
        cause = ErrorCause::AllBackupNamesTaken;
        effects.foundInARow = 0;
      }
    }
    trace_.errorLines.push_back({trace_.phase, trace_.line, piece, cause});
    trace_.pendingCause.reset();
    if (end == std::wstring::npos) break;
    start = end + 2;
  }
}

void MemoryChecklist::Clear() { entries_.clear(); }

void MemoryChecklist::Append(const std::wstring& text) { entries_.push_back({text, false, trace_.line}); }

}  // namespace tovrel::checker

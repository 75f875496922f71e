#include "catalogue/startup.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "catalogue/list_line.h"
#include "catalogue/list_reader.h"
#include "catalogue/startup_messages.h"
#include "platform/path_text.h"
#include "platform/platform_error.h"

namespace tovrel::catalogue {

namespace {

using platform::PlatformError;

constexpr std::uint32_t kFolderBufferSize = 256;
// Counts are 16-bit: an answer beyond this size (null included) cannot be taken.
constexpr std::uint32_t kLargestFolderBuffer = 32768;

// The query copies its answer when it fits and otherwise answers with the size it needs.
// Only characters that lie inside the buffer handed over are ever read.
template <typename Query>
std::wstring QueryFolder(Query query) {
  std::array<wchar_t, kFolderBufferSize> buffer{};
  const std::uint32_t answer = query(buffer.data(), kFolderBufferSize);
  if (answer == 0) return {};
  if (answer < kFolderBufferSize) {
    const auto count = static_cast<std::int16_t>(answer);
    return std::wstring(buffer.data(), static_cast<std::size_t>(count));
  }
  // It did not fit: ask once more with the size it asked for.
  if (answer > kLargestFolderBuffer) return {};
  std::vector<wchar_t> larger(answer, L'\0');
  const std::uint32_t second = query(larger.data(), answer);
  if (second == 0 || second >= answer) return {};
  return std::wstring(larger.data(), second);
}

void CentreWindow(platform::MainWindow& window) {
  const platform::Size screen = window.ScreenSize();
  const platform::Size form = window.WindowSize();
  // Halve before subtracting, in float: a window larger than the screen goes negative.
  const float top = static_cast<float>(screen.height) / 2.0f - static_cast<float>(form.height) / 2.0f;
  const float left = static_cast<float>(screen.width) / 2.0f - static_cast<float>(form.width) / 2.0f;
  window.MoveWindow(left, top);
}

bool RegistrarPresent(const std::wstring& appPath, platform::FileSystem& files) {
  try {
    return files.FindNormalFile(appPath + kRegistrarFileName);
  } catch (const PlatformError&) {
    return false;  // a refused lookup is as good as a missing registrar
  }
}

struct LoadCounts {
  unsigned long badLines = 0;     // lines that cannot be listed
  unsigned long beyondLimit = 0;  // good lines past the list's capacity
};

// Reads the list into the checklist, telling what becomes of each entry line. Answers why the
// reading ended early, when it did.
std::optional<std::wstring> FillChecklist(MainState& state, ChecklistIndex& index, platform::Ports& ports,
                                          StartupReport& report, LoadCounts& counts) {
  platform::Checklist& list = ports.checklist;
  ChecklistUpdateBracket bracket(list);
  std::optional<std::wstring> failure;
  try {
    ListReader reader(state, ports.textFiles);
    std::wstring line;
    // Counted here: asking the list costs a message per entry.
    int listed = list.Count();
    while (reader.Next(line)) {
      if (ClassifyLine(line) != LineKind::Entry) continue;
      const long number = reader.LineNumber();
      if (std::optional<std::wstring> problem = EntryProblem(line)) {
        ++counts.badLines;
        report.EntryPassedOver(number, line,
                               {state.ListFile + L", línea " + std::to_wstring(number) + L":", std::move(*problem),
                                ErrorCause::LinePassedOver});
        continue;
      }
      if (listed >= platform::Checklist::kMaxEntries) {
        ++counts.beyondLimit;
        report.EntryBeyondLimit(number, line);
        continue;
      }
      list.Append(line);
      index.Add(listed++, line);
      report.EntryListed(number, line);
    }
  } catch (const PlatformError& e) {
    failure = e.Description();
  }
  // Every entry listed starts checked, those listed before a failure too. Marked in one go:
  // a list answers every single mark with notifications to its window.
  list.SetAllChecked(true);
  return failure;
}

void LoadList(MainState& state, ChecklistIndex& index, platform::Ports& ports, StartupReport& report) {
  LoadCounts counts;
  const std::optional<std::wstring> failure = FillChecklist(state, index, ports, report, counts);
  report.ListLoaded(failure);
  if (failure) report.Message(ListUnreadableMessage(state.AppPath + state.ListFile, *failure));
  if (counts.badLines > 0 || counts.beyondLimit > 0) {
    report.Message(LinesPassedOverMessage(state.ListFile, counts.badLines, counts.beyondLimit,
                                          platform::Checklist::kMaxEntries));
  }
}

}  // namespace

std::optional<std::wstring> EntryProblem(const std::wstring& line) {
  if (line.size() > kMaxEntryLineLength) {
    return L"La línea tiene más de " + std::to_wstring(kMaxEntryLineLength) + L" caracteres.";
  }
  // The list cannot show such a text, and no file or command line can hold it.
  if (line.find(L'\0') != std::wstring::npos) return L"La línea contiene un carácter nulo.";
  return SplitProblem(line);
}

std::wstring GetWindowsDir(platform::SystemFolders& folders) {
  return QueryFolder([&](wchar_t* buffer, std::uint32_t size) { return folders.WindowsDirectory(buffer, size); });
}

std::wstring GetSystemDir(platform::SystemFolders& folders) {
  return QueryFolder([&](wchar_t* buffer, std::uint32_t size) { return folders.SystemDirectory(buffer, size); });
}

StartupResult RunStartup(MainState& state, ChecklistIndex& index, platform::Ports& ports, StartupReport& report) {
  CentreWindow(ports.window);
  state.WinPath = GetWindowsDir(ports.folders);
  state.SysPath = GetSystemDir(ports.folders);
  state.CrystalPath = state.WinPath + L"\\Crystal";
  ports.checklist.Clear();
  index.Clear();
  try {
    state.FileNum = ports.textFiles.FreeFileNumber();
  } catch (const PlatformError&) {
    // The list reader asks again and reports it.
  }
  state.AppPath = platform::WithTrailingBackslash(ports.folders.ApplicationFolder());
  if (!RegistrarPresent(state.AppPath, ports.files)) {
    report.Message(RegistrarMissingMessage(state.AppPath));
    ports.window.DisableRegistrar();
    return StartupResult::RegistrarMissing;
  }
  state.ListFile = kListFileName;
  LoadList(state, index, ports, report);
  return StartupResult::Ready;
}

}  // namespace tovrel::catalogue

#include "fuzz/scenario.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "catalogue/list_line.h"
#include "platform/checklist.h"
#include "platform/path_text.h"

namespace tovrel::fuzz {

namespace {

std::wstring Latin1(const std::string& bytes, std::size_t from, std::size_t to) {
  std::wstring text;
  text.reserve(to - from);
  for (std::size_t i = from; i < to; ++i) text.push_back(static_cast<unsigned char>(bytes[i]));
  return text;
}

// A line ends at CR or CR LF; a lone LF is text; the last line needs no terminator.
std::vector<std::wstring> SplitLines(const std::string& bytes) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t cr = bytes.find('\r', start);
    if (cr == std::string::npos) {
      lines.push_back(Latin1(bytes, start, bytes.size()));
      break;
    }
    lines.push_back(Latin1(bytes, start, cr));
    start = cr + 1;
    if (start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

bool IsEntry(const std::wstring& line) {
  const std::size_t first = line.find_first_not_of(L' ');
  return first != std::wstring::npos && line[first] != L'\'';
}

}  // namespace

Scenario ReadScenario(const std::uint8_t* data, std::size_t size) {
  Scenario scenario;
  const std::size_t control = std::min(size, kControlBytes);
  if (control > 0) std::memcpy(scenario.control, data, control);
  if (size > kControlBytes) scenario.list.assign(reinterpret_cast<const char*>(data) + kControlBytes, size - kControlBytes);
  return scenario;
}

ListModel ModelList(const std::string& bytes, long linesRead) {
  ListModel model;
  model.lines = SplitLines(bytes);
  const std::size_t considered =
      linesRead < 0 ? model.lines.size() : std::min(model.lines.size(), static_cast<std::size_t>(linesRead));
  std::set<std::wstring> seen;
  for (std::size_t i = 0; i < model.lines.size(); ++i) {
    const std::wstring& line = model.lines[i];
    if (!IsEntry(line)) continue;
    const std::size_t comma = line.find(L',');
    if (comma != std::wstring::npos && seen.insert(line.substr(0, comma)).second) {
      model.components.push_back(line.substr(0, comma));
    }
    if (i >= considered) continue;
    const bool listable = comma != std::wstring::npos && comma < catalogue::kMaxCommaPosition &&
                          line.size() <= catalogue::kMaxEntryLineLength &&
                          line.find(L'\0') == std::wstring::npos;  // a list cannot show a NUL
    if (!listable) {
      ++model.badLines;
    } else if (model.listable.size() < static_cast<std::size_t>(platform::Checklist::kMaxEntries)) {
      model.listable.push_back(line);
    }
  }
  return model;
}

std::wstring BareName(const std::wstring& path) { return platform::SplitAtLastBackslash(path).name; }

}  // namespace tovrel::fuzz

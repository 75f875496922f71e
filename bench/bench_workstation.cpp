#include "bench/bench_workstation.h"

#include <cstdio>

#include "tests/fake/fake_text.h"

namespace tovrel::bench {

namespace {

// Spelling variety so that trimming and case folding do real work.
constexpr const char* kMixedTokens[] = {"", "Systempath$", "WINPATH$", "crystal$", "CurrentPath$"};

std::string EntryLine(int number, Tokens tokens) {
  char name[32];
  std::snprintf(name, sizeof name, number % 3 == 0 ? "COMPONENTE%05d.DLL" : "componente%05d.dll", number);
  const std::string lead = number % 5 == 0 ? "  " : "";
  const std::string trail = number % 7 == 0 ? "   " : "";
  const std::string token = tokens == Tokens::Empty ? (number % 4 == 0 ? " " : "")
                                                    : kMixedTokens[number % 5];
  return lead + name + "," + token + trail;
}

}  // namespace

std::string GenerateList(int entries, Tokens tokens) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(entries) * 36);
  for (int i = 1; i <= entries; ++i) {
    if (i % 100 == 1) bytes += "' componentes " + std::to_string(i) + "\r\n";
    bytes += EntryLine(i, tokens) + "\r\n";
  }
  return bytes;
}

std::vector<std::wstring> EntryLines(int entries, Tokens tokens) {
  std::vector<std::wstring> lines;
  lines.reserve(static_cast<std::size_t>(entries));
  for (int i = 1; i <= entries; ++i) lines.push_back(fake::Latin1ToWide(EntryLine(i, tokens)));
  return lines;
}

BenchWorkstation::BenchWorkstation(int entries, Tokens tokens) {
  files.journal = nullptr;
  window.journal = nullptr;
  launcher.journal = nullptr;
  folders.applicationFolder = kAppFolder;
  files.AddFile(std::wstring(kAppFolder) + L"\\regsvr32.exe", "MZ");
  files.AddFolder(L"C:\\Windows\\System32");
  files.AddFile(kListPath, GenerateList(entries, tokens));
}

}  // namespace tovrel::bench

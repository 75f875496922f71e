#pragma once
// A workstation in memory as most tests want it: the program in C:\Tovrel beside its
// registrar, the Windows and system folders present, and a list file written on demand.
#include <string>
#include <vector>

#include "tests/fake/fake_platform.h"

namespace tovrel::testing {

inline constexpr wchar_t kAppPath[] = L"C:\\Tovrel\\";
inline constexpr wchar_t kListPath[] = L"C:\\Tovrel\\TovrelSvr.lst";
inline constexpr wchar_t kRegistrarPath[] = L"C:\\Tovrel\\regsvr32.exe";

class Workstation : public fake::FakePlatform {
 public:
  Workstation() {
    files.AddFile(kRegistrarPath, "MZ");
    files.AddFolder(L"C:\\Windows\\System32");
  }
  // Lines are bytes, read back as Latin-1.
  void WriteList(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n") {
    std::string bytes;
    for (std::size_t i = 0; i < lines.size(); ++i) bytes += (i ? lineEnd : "") + lines[i];
    files.AddFile(kListPath, bytes);
  }
  std::vector<std::wstring> ListedTexts() const {
    std::vector<std::wstring> texts;
    for (const auto& entry : checklist.entries) texts.push_back(entry.text);
    return texts;
  }
};

}  // namespace tovrel::testing

#pragma once
// Scaffolding for the seam's tests: a private temp folder per test, raw file contents, and
// polling with a deadline.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace tovrel::seam_test {

// A new empty folder under the temp folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  // `name` inside the folder.
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
void MakeFolder(const std::wstring& path);
void SetAttributes(const std::wstring& path, DWORD attributes);
// Names of every file in `folder`, hidden ones too, sorted.
std::vector<std::wstring> FileNamesIn(const std::wstring& folder);

// The folder of this test program; the helper programs are built beside it.
std::wstring TestProgramFolder();

// Waits until `path` exists and holds at least one byte; false when the deadline passes.
bool WaitForFile(const std::wstring& path, std::chrono::milliseconds deadline = std::chrono::seconds(20));

// Narrow text for failure messages.
std::string Narrow(const std::wstring& text);

}  // namespace tovrel::seam_test

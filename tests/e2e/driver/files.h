#pragma once
// Files and folders of a test's application folder, seen from inside Wine.
#include <string>

namespace e2e {

// A host path (/work/...) as Wine shows it (Z:\work\...); a Windows path is returned as is.
std::wstring ToWindowsPath(const std::string& hostPath);

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);  // throws on failure
bool ReadBytes(const std::wstring& path, std::string& bytes);         // shared read
void CopyOrThrow(const std::wstring& from, const std::wstring& to);
void RemoveFileIfPresent(const std::wstring& path);
void RemoveTree(const std::wstring& folder);

std::wstring WindowsFolder();
std::wstring SystemFolder();

// A new, empty folder under the temporary folder, unique to this test run and `tag`.
std::wstring MakeUniqueFolder(const std::wstring& tag);

// Short text unique within this test process, for file names in shared system folders.
std::wstring UniqueStem(const std::wstring& tag);

}  // namespace e2e

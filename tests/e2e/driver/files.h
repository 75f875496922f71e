#pragma once
// Files and folders of a test's application folder, seen from inside Wine.
#include <string>
#include <vector>

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

// The file's bytes, or "<missing>" when it cannot be read, for comparing contents on disk.
std::string ContentsOf(const std::wstring& path);
void SetReadOnly(const std::wstring& path, bool readOnly);  // throws on failure
// Names (not paths) of the files in `folder` that match the search pattern `pattern`.
std::vector<std::wstring> FileNamesMatching(const std::wstring& folder, const std::wstring& pattern);

// Holds a file open with no sharing at all, as a program that locks it would: nobody else
// can open it for reading or writing until the hold ends.
class ExclusiveHold {
public:
    explicit ExclusiveHold(const std::wstring& path);  // throws when it cannot open it
    ~ExclusiveHold();
    ExclusiveHold(const ExclusiveHold&) = delete;
    ExclusiveHold& operator=(const ExclusiveHold&) = delete;
    void Release();

private:
    void* handle_;
};

}  // namespace e2e

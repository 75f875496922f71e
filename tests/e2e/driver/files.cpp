#include "files.h"

#include <windows.h>

#include <stdexcept>

#include "text.h"

namespace e2e {

namespace {

struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

[[noreturn]] void Fail(const std::wstring& what, const std::wstring& path) {
    const DWORD code = GetLastError();
    throw std::runtime_error(ToUtf8(what + L" " + path + L": " + SystemErrorText(code)));
}

std::wstring FolderFrom(UINT (WINAPI* query)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH];
    const UINT n = query(buffer, MAX_PATH);
    return std::wstring(buffer, n < MAX_PATH ? n : 0);
}

}  // namespace

std::wstring ToWindowsPath(const std::string& hostPath) {
    std::wstring path = FromUtf8(hostPath);
    if (path.empty() || path[0] != L'/') return path;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return L"Z:" + path;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() == L'\\') return folder + name;
    return folder + L"\\" + name;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE) Fail(L"cannot create", path);
    DWORD written = 0;
    if (!WriteFile(file.h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        Fail(L"cannot write", path);
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
    Handle file(CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.h, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return true;
}

void CopyOrThrow(const std::wstring& from, const std::wstring& to) {
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) Fail(L"cannot copy " + from + L" to", to);
}

void RemoveFileIfPresent(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(JoinPath(folder, L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = JoinPath(folder, name);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                RemoveFileIfPresent(path);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

std::wstring WindowsFolder() { return FolderFrom(GetWindowsDirectoryW); }
std::wstring SystemFolder() { return FolderFrom(GetSystemDirectoryW); }

std::wstring UniqueStem(const std::wstring& tag) {
    static unsigned counter = 0;
    wchar_t buffer[64];
    swprintf(buffer, 64, L"%ls%lx%x", tag.c_str(), GetCurrentProcessId(), ++counter);
    return buffer;
}

std::wstring MakeUniqueFolder(const std::wstring& tag) {
    wchar_t temp[MAX_PATH];
    const DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH) throw std::runtime_error("GetTempPathW failed");
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring folder = JoinPath(temp, L"tovrel-e2e-" + UniqueStem(tag));
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) Fail(L"cannot create folder", folder);
    }
    throw std::runtime_error("no free folder name under the temporary folder");
}

std::string ContentsOf(const std::wstring& path) {
    std::string bytes;
    return ReadBytes(path, bytes) ? bytes : std::string("<missing>");
}

void SetReadOnly(const std::wstring& path, bool readOnly) {
    if (!SetFileAttributesW(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL))
        Fail(L"cannot set the attributes of", path);
}

std::vector<std::wstring> FileNamesMatching(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(JoinPath(folder, pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

ExclusiveHold::ExclusiveHold(const std::wstring& path)
    : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (handle_ == INVALID_HANDLE_VALUE) Fail(L"cannot hold", path);
}

ExclusiveHold::~ExclusiveHold() { Release(); }

void ExclusiveHold::Release() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

}  // namespace e2e

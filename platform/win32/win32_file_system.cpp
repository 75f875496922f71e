#include <vector>

#include "platform/path_text.h"
#include "platform/replacement_name.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_platform.h"

namespace tovrel::platform {

namespace {

// The search reports a volume label with this bit; the headers have no name for it.
constexpr DWORD kVolumeLabelAttribute = 0x8;

bool IsNormalFile(DWORD attributes) {
  constexpr DWORD kNotNormal =
      FILE_ATTRIBUTE_DIRECTORY | kVolumeLabelAttribute | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (attributes & kNotNormal) == 0;
}

// Answers that only mean "nothing of that name is there".
bool MeansNothingThere(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_NO_MORE_FILES:
    case ERROR_DIRECTORY:     // a file named where a folder should be
    case ERROR_BAD_PATHNAME:
      return true;
    default:
      return false;
  }
}

// Read and written in pieces of this size: a large component is never held in memory whole.
constexpr DWORD kCopyChunk = 1u << 20;

// What the system's copy carries over from the source.
DWORD CarriedAttributes(DWORD source) {
  constexpr DWORD kCarried = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                             FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD kept = source & kCarried;
  return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

// The folder a copy into `path` writes in; a bare name lies in the current folder.
std::wstring FolderOf(const std::wstring& path) {
  std::wstring folder = ContainingFolder(path);
  return folder.empty() ? L"." : folder;
}

struct Facts {
  PathFacts facts;
  DWORD error = ERROR_SUCCESS;  // why nothing is there
};

Facts FactsOf(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return {{}, ::GetLastError()};
  constexpr DWORD kProtected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return {{true, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, (attributes & kProtected) != 0}};
}

// A file in use or held open without sharing: asked for the access that replacing it needs,
// writing nothing and closing at once. The error of that refusal, or ERROR_SUCCESS.
DWORD HeldDestinationError(const std::wstring& to) {
  detail::UniqueHandle probe(::CreateFileW(to.c_str(), GENERIC_WRITE | DELETE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
  if (probe.get() != INVALID_HANDLE_VALUE) return ERROR_SUCCESS;
  probe.release();
  return ::GetLastError();
}

void CopyContents(HANDLE from, HANDLE to) {
  std::vector<char> buffer(kCopyChunk);
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(from, buffer.data(), kCopyChunk, &got, nullptr)) ThrowLastError();
    if (got == 0) return;
    DWORD put = 0;
    if (!::WriteFile(to, buffer.data(), got, &put, nullptr)) ThrowLastError();
    if (put != got) ThrowWin32Error(ERROR_DISK_FULL);
  }
}

// The temporary file of one copy: hidden while it is written, removed unless renamed.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!created_) return;
    ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  detail::UniqueHandle Create() {
    // One left by a copy that was cut short is this destination's own: it goes first.
    if (::GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES) {
      ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(path_.c_str());
    }
    detail::UniqueHandle file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
      file.release();
      ThrowLastError();  // not created, so not ours to remove
    }
    created_ = true;
    return file;
  }
  void Renamed() { created_ = false; }

 private:
  std::wstring path_;
  bool created_ = false;
};

// Removes what copies cut short left in the folder of `destination`: such a file is never a
// component or a backup, so it is safe to delete. A kill can leave one whose destination name
// was taken after all (the rename done, the temporary still there) and which no later copy
// would write again. One that another copy is writing right now is open without sharing: its
// delete is refused, and it stays.
void RemoveLeftoverReplacements(const std::wstring& destination) {
  const std::wstring pattern = ReplacementPatternBeside(destination);
  const std::wstring folder = pattern.substr(0, pattern.find_last_of(L"\\/:") + 1);  // npos + 1 is 0
  WIN32_FIND_DATAW found{};
  detail::UniqueFindHandle search(
      ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
  if (search.get() == INVALID_HANDLE_VALUE) {
    search.release();
    return;
  }
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsReplacementName(found.cFileName)) continue;
    const std::wstring leftover = folder + found.cFileName;
    ::SetFileAttributesW(leftover.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(leftover.c_str());
  } while (::FindNextFileW(search.get(), &found));
}

}  // namespace

bool Win32FileSystem::FindNormalFile(const std::wstring& pattern) {
  if (pattern.empty() || detail::HasEmbeddedNull(pattern)) return false;
  WIN32_FIND_DATAW found{};
  detail::UniqueFindHandle search(
      ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
  if (search.get() == INVALID_HANDLE_VALUE) {
    search.release();
    const DWORD error = ::GetLastError();
    if (MeansNothingThere(error)) return false;
    ThrowWin32Error(error);
  }
  do {
    if (IsNormalFile(found.dwFileAttributes) && !IsReplacementName(found.cFileName)) return true;
  } while (::FindNextFileW(search.get(), &found));
  const DWORD error = ::GetLastError();
  if (error != ERROR_NO_MORE_FILES) ThrowWin32Error(error);
  return false;
}

std::optional<CopyRefusal> Win32FileSystem::WhyCopyRefused(const std::wstring& from, const std::wstring& to,
                                                          bool replaceExisting) {
  if (detail::HasEmbeddedNull(from) || detail::HasEmbeddedNull(to)) {
    return CopyRefusal{CopyObstacle::InvalidName, DescribeWin32Error(ERROR_INVALID_NAME)};
  }
  const Facts source = FactsOf(from);
  const Facts destination = FactsOf(to);
  const std::optional<CopyObstacle> obstacle =
      JudgeCopy(source.facts, FactsOf(FolderOf(to)).facts, destination.facts, replaceExisting);
  if (!obstacle) {
    if (!destination.facts.exists) return std::nullopt;
    const DWORD held = HeldDestinationError(to);
    if (held == ERROR_SUCCESS) return std::nullopt;
    return CopyRefusal{CopyObstacle::DestinationHeld, DescribeWin32Error(held)};
  }
  DWORD error = ERROR_ACCESS_DENIED;
  switch (*obstacle) {
    case CopyObstacle::InvalidName: error = ERROR_INVALID_NAME; break;
    case CopyObstacle::SourceMissing: error = source.error; break;
    case CopyObstacle::FolderMissing: error = ERROR_PATH_NOT_FOUND; break;
    case CopyObstacle::DestinationTaken: error = ERROR_FILE_EXISTS; break;
    case CopyObstacle::SourceIsFolder:
    case CopyObstacle::DestinationIsFolder:
    case CopyObstacle::DestinationProtected:
    case CopyObstacle::DestinationHeld: break;
  }
  return CopyRefusal{*obstacle, DescribeWin32Error(error)};
}

void Win32FileSystem::Copy(const std::wstring& from, const std::wstring& to, bool replaceExisting) {
  if (std::optional<CopyRefusal> refusal = WhyCopyRefused(from, to, replaceExisting)) {
    throw CopyRefusedError(std::move(*refusal));
  }

  detail::UniqueHandle source(::CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (source.get() == INVALID_HANDLE_VALUE) {
    source.release();
    ThrowLastError();
  }
  BY_HANDLE_FILE_INFORMATION sourceInfo{};
  if (!::GetFileInformationByHandle(source.get(), &sourceInfo)) ThrowLastError();

  const std::wstring temporaryPath = ReplacementPathFor(to);
  TemporaryFile temporary(temporaryPath);  // removed on every way out but the rename
  {
    detail::UniqueHandle written = temporary.Create();
    CopyContents(source.get(), written.get());
    // The copy keeps the source's time, as the system's own copy does.
    if (!::SetFileTime(written.get(), nullptr, nullptr, &sourceInfo.ftLastWriteTime)) ThrowLastError();
    if (!::FlushFileBuffers(written.get())) ThrowLastError();
    if (!::CloseHandle(written.release())) ThrowLastError();
  }
  source.reset();  // a component copied onto itself must not be held open by its own copy
  // The final attributes go on while the file still has its temporary name: the destination
  // name never holds a file that the existence test cannot see.
  if (!::SetFileAttributesW(temporaryPath.c_str(), CarriedAttributes(sourceInfo.dwFileAttributes))) ThrowLastError();
  const DWORD moveFlags = MOVEFILE_WRITE_THROUGH | (replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0);
  if (!::MoveFileExW(temporaryPath.c_str(), to.c_str(), moveFlags)) {
    const DWORD error = ::GetLastError();
    // The name was taken while the copy was written: say it as a copy that found it taken.
    ThrowWin32Error(error == ERROR_ALREADY_EXISTS ? ERROR_FILE_EXISTS : error);
  }
  temporary.Renamed();
  RemoveLeftoverReplacements(to);
}

}  // namespace tovrel::platform

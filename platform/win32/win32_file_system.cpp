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
    if (IsNormalFile(found.dwFileAttributes)) return true;
  } while (::FindNextFileW(search.get(), &found));
  const DWORD error = ::GetLastError();
  if (error != ERROR_NO_MORE_FILES) ThrowWin32Error(error);
  return false;
}

void Win32FileSystem::CopyFile(const std::wstring& from, const std::wstring& to, bool replaceExisting) {
  if (detail::HasEmbeddedNull(from) || detail::HasEmbeddedNull(to)) ThrowWin32Error(ERROR_INVALID_NAME);
  if (replaceExisting) {
    // Windows refuses to replace a read-only, hidden or system file; say so before copying,
    // so that the refusal holds everywhere (Wine replaces read-only files) and no file that
    // the existence test cannot see, and so has no backup, is ever replaced.
    const DWORD existing = ::GetFileAttributesW(to.c_str());
    constexpr DWORD kProtected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        (existing & kProtected) != 0) {
      ThrowWin32Error(ERROR_ACCESS_DENIED);
    }
  }
  if (!::CopyFileW(from.c_str(), to.c_str(), replaceExisting ? FALSE : TRUE)) ThrowLastError();
}

}  // namespace tovrel::platform

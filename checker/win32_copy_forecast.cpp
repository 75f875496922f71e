#include "checker/win32_copy_forecast.h"

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_platform.h"

namespace tovrel::checker {

namespace {

CopyFailure Because(CopyFailureKind kind, DWORD error) {
  return {kind, platform::DescribeWin32Error(error)};
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return L".";
  std::wstring folder = path.substr(0, slash);
  // "C:" alone is that drive's current folder; its root is meant.
  if (folder.empty() || folder.back() == L':') folder += L'\\';
  return folder;
}

}  // namespace

std::optional<CopyFailure> Win32CopyForecast::Failure(const std::wstring& from, const std::wstring& to,
                                                      bool replaceExisting) {
  if (platform::detail::HasEmbeddedNull(from) || platform::detail::HasEmbeddedNull(to)) {
    return Because(CopyFailureKind::Refused, ERROR_INVALID_NAME);
  }
  const DWORD source = ::GetFileAttributesW(from.c_str());
  if (source == INVALID_FILE_ATTRIBUTES) return Because(CopyFailureKind::MissingSource, ::GetLastError());
  if (source & FILE_ATTRIBUTE_DIRECTORY) return Because(CopyFailureKind::MissingSource, ERROR_ACCESS_DENIED);

  const DWORD folder = ::GetFileAttributesW(FolderOf(to).c_str());
  if (folder == INVALID_FILE_ATTRIBUTES || (folder & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return Because(CopyFailureKind::MissingFolder, ERROR_PATH_NOT_FOUND);
  }
  const DWORD existing = ::GetFileAttributesW(to.c_str());
  if (existing == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if (existing & FILE_ATTRIBUTE_DIRECTORY) return Because(CopyFailureKind::Refused, ERROR_ACCESS_DENIED);
  if (!replaceExisting) return Because(CopyFailureKind::Refused, ERROR_FILE_EXISTS);
  // The program never replaces a read-only, hidden or system file.
  constexpr DWORD kProtected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (existing & kProtected) return Because(CopyFailureKind::Refused, ERROR_ACCESS_DENIED);
  return std::nullopt;
}

}  // namespace tovrel::checker

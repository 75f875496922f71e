#pragma once
// Files as the logic sees them: a search for normal files, and copying.
#include <string>

namespace tovrel::platform {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when a directory search with `pattern` (used exactly as given: relative to the
  // current folder, `*` and `?` matching as in any search) yields at least one normal
  // file: not a folder, not a volume label, not hidden, not system. Read-only and
  // archived files are normal. Answers false when nothing matches; throws PlatformError
  // only when the file system refuses the lookup itself.
  virtual bool FindNormalFile(const std::wstring& pattern) = 0;

  // Copies `from` to `to`. With `replaceExisting` a normal file already at `to` is
  // replaced; without it the copy fails when `to` exists. Creates no folders.
  // Throws PlatformError on any failure.
  virtual void CopyFile(const std::wstring& from, const std::wstring& to, bool replaceExisting) = 0;
};

}  // namespace tovrel::platform

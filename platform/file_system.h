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
  // archived files are normal; a copy's temporary file (replacement_name.h) never counts.
  // Answers false when nothing matches; throws PlatformError only when the file system
  // refuses the lookup itself.
  virtual bool FindNormalFile(const std::wstring& pattern) = 0;

  // Copies `from` to `to`. With `replaceExisting` a normal file already at `to` is
  // replaced; without it the copy fails when `to` exists. Creates no folders.
  // The copy is written to a temporary file beside `to`, flushed, and renamed to `to` in one
  // step (without replacing, when not asked to), so `to` holds its old content or the whole
  // new one at every moment. Throws PlatformError on any failure, and then leaves no
  // temporary file behind.
  virtual void CopyFile(const std::wstring& from, const std::wstring& to, bool replaceExisting) = 0;
};

}  // namespace tovrel::platform

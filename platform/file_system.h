#pragma once
// Files as the logic sees them: a search for normal files, and copying.
#include <optional>
#include <string>

#include "platform/platform_error.h"

namespace tovrel::platform {

// What stops a copy before anything is written.
enum class CopyObstacle {
  InvalidName,           // a path no file can have
  SourceMissing,         // nothing to copy at the source
  SourceIsFolder,
  FolderMissing,         // the destination's folder does not exist: copies create no folders
  DestinationIsFolder,
  DestinationTaken,      // a file is there and the copy may not replace it
  DestinationProtected,  // a read-only, hidden or system file is there: never replaced
  DestinationHeld,       // the file there is held open by a program that shares no writing
};

// What a file system says about one path.
struct PathFacts {
  bool exists = false;
  bool folder = false;
  bool readOnlyHiddenOrSystem = false;
};

// The rule every copy follows, judged in this order: the source, the destination's folder,
// then what already stands at the destination.
std::optional<CopyObstacle> JudgeCopy(const PathFacts& source, const PathFacts& destinationFolder,
                                      const PathFacts& destination, bool replaceExisting);

struct CopyRefusal {
  CopyObstacle obstacle;
  std::wstring description;  // the platform's own text for it
};

// The failure a copy throws when it is refused before writing anything.
class CopyRefusedError : public PlatformError {
 public:
  explicit CopyRefusedError(CopyRefusal refusal)
      : PlatformError(std::move(refusal.description)), obstacle_(refusal.obstacle) {}
  CopyObstacle Obstacle() const noexcept { return obstacle_; }

 private:
  CopyObstacle obstacle_;
};

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

  // Why copying `from` to `to` would be refused as the files stand now (JudgeCopy over this
  // file system's answers, then whether a file it would replace is held open), or nothing.
  // Changes nothing. Copy asks it first.
  virtual std::optional<CopyRefusal> WhyCopyRefused(const std::wstring& from, const std::wstring& to,
                                                    bool replaceExisting) = 0;

  // Copies `from` to `to`. With `replaceExisting` a normal file already at `to` is
  // replaced; without it the copy fails when `to` exists. Creates no folders.
  // The copy is written to a temporary file beside `to`, flushed, and renamed to `to` in one
  // step (without replacing, when not asked to), so `to` holds its old content or the whole
  // new one at every moment. Throws CopyRefusedError when WhyCopyRefused has a reason, and
  // PlatformError on any other failure, and then leaves no temporary file behind.
  virtual void Copy(const std::wstring& from, const std::wstring& to, bool replaceExisting) = 0;
};

}  // namespace tovrel::platform

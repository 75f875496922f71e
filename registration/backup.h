#pragma once
// The numbered backup of a file that a component copy is about to replace.
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tovrel::registration {

inline constexpr int kBackupNameCount = 1000;  // 000 to 999

// Candidate backup name number `counter` for `target` (a path ending in `bareName`): the
// last three characters of the path replaced by the counter in three digits. A bare name
// shorter than three characters is replaced whole, so the backup stays in its folder.
std::wstring BackupCandidateName(const std::wstring& target, std::size_t bareNameLength, int counter);

enum class BackupOutcome {
  NothingToSave,  // no normal file at the target
  Saved,          // copied to the lowest free numbered name
  Failed,         // a file is there and no backup of it was written: do not replace it
};

// Why nothing was saved, when Failed.
enum class BackupFailure {
  None,
  LookupRefused,  // whether a file is at the target is unknown
  CopyFailed,     // the copy to the free name failed
  AllNamesTaken,  // every numbered name is taken
};

struct BackupResult {
  std::wstring target;  // the file the component's copy would replace
  BackupOutcome outcome = BackupOutcome::NothingToSave;
  std::wstring backupPath;   // when Saved
  BackupFailure failure = BackupFailure::None;
  std::wstring description;  // when Failed: what went wrong, for the error line
  // Lookups of candidate names that the file system refused (each such name counts as
  // taken); the caller reports each one.
  std::vector<std::wstring> lookupErrors;
};

// Saves the file at `destination` (ending in a backslash) + `bareName` under the lowest free
// numbered name. Never throws; every failure is in the result.
BackupResult BackupExisting(const std::wstring& destination, const std::wstring& bareName,
                            platform::FileSystem& files);

}  // namespace tovrel::registration

#include "platform/file_system.h"

namespace tovrel::platform {

std::optional<CopyObstacle> JudgeCopy(const PathFacts& source, const PathFacts& destinationFolder,
                                      const PathFacts& destination, bool replaceExisting) {
  if (!source.exists) return CopyObstacle::SourceMissing;
  if (source.folder) return CopyObstacle::SourceIsFolder;
  if (!destinationFolder.exists || !destinationFolder.folder) return CopyObstacle::FolderMissing;
  if (!destination.exists) return std::nullopt;
  if (destination.folder) return CopyObstacle::DestinationIsFolder;
  if (!replaceExisting) return CopyObstacle::DestinationTaken;
  // Windows refuses to replace such a file; the rule holds everywhere (Wine replaces
  // read-only files), so no file that the existence test cannot see, and so has no backup,
  // is ever replaced.
  if (destination.readOnlyHiddenOrSystem) return CopyObstacle::DestinationProtected;
  return std::nullopt;
}

}  // namespace tovrel::platform

#include "registration/backup.h"

#include <algorithm>

#include "platform/platform_error.h"
#include "registration/path_helpers.h"

namespace tovrel::registration {

namespace {

constexpr std::size_t kDigits = 3;

std::wstring ThreeDigits(int counter) {
  std::wstring digits = std::to_wstring(counter);
  return std::wstring(kDigits - std::min(kDigits, digits.size()), L'0') + digits;
}

}  // namespace

std::wstring BackupCandidateName(const std::wstring& target, std::size_t bareNameLength, int counter) {
  // The digits replace the last three characters, normally the extension; a shorter bare
  // name is replaced whole, so the folder's backslash is never eaten.
  const std::size_t replaced = std::min({kDigits, bareNameLength, target.size()});
  return target.substr(0, target.size() - replaced) + ThreeDigits(counter);
}

BackupResult BackupExisting(const std::wstring& destination, const std::wstring& bareName,
                            platform::FileSystem& files) {
  BackupResult result;
  result.target = destination + bareName;
  const std::wstring& target = result.target;
  try {
    if (!FileExists(target, files)) return result;
  } catch (const platform::PlatformError& e) {
    // Whether a file would be overwritten is unknown: it must not be replaced unsaved.
    result.outcome = BackupOutcome::Failed;
    result.failure = BackupFailure::LookupRefused;
    result.description = e.Description();
    return result;
  }

  for (int counter = 0; counter < kBackupNameCount; ++counter) {
    const std::wstring candidate = BackupCandidateName(target, bareName.size(), counter);
    try {
      if (FileExists(candidate, files)) continue;
    } catch (const platform::PlatformError& e) {
      result.lookupErrors.push_back(e.Description());
      continue;
    }
    try {
      // Never over an existing file: a backup must not destroy an older one.
      files.Copy(target, candidate, false);
      result.outcome = BackupOutcome::Saved;
      result.backupPath = candidate;
    } catch (const platform::PlatformError& e) {
      result.outcome = BackupOutcome::Failed;
      result.failure = BackupFailure::CopyFailed;
      result.description = e.Description();
    }
    return result;
  }
  result.outcome = BackupOutcome::Failed;
  result.failure = BackupFailure::AllNamesTaken;
  result.description = L"Los " + std::to_wstring(kBackupNameCount) + L" nombres de copia de respaldo de " +
                       target + L" (000 a 999) ya están ocupados.";
  return result;
}

}  // namespace tovrel::registration

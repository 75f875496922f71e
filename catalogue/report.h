#pragma once
// What start-up tells of its work, as typed events. The main window renders them into its
// boxes and texts; the list checker records them. An error line's cause says why it was
// written, so a reader never needs to interpret its text.
#include <optional>
#include <string>

#include "platform/main_window.h"

namespace tovrel::catalogue {

enum class ErrorCause {
  LinePassedOver,       // start-up cannot list an entry line
  ListUnreadable,       // the list file could not be opened or read
  LineUnsplittable,     // the run cannot split an entry line into component and location
  LookupRefused,        // the file system refused an existence test
  PathTooLong,          // the component's text is too long to split at its last backslash
  BackupFailed,         // the file to be replaced could not be saved, so it is not replaced
  AllBackupNamesTaken,  // every numbered backup name is taken, so the file is not replaced
  FolderMissing,        // the copy's destination folder does not exist
  DestinationHeld,      // the file the copy would replace is held open by another program
  CopyFailed,           // any other failure of the component's copy
  LaunchFailed,         // the registrar could not be started
};

// One line of the error box: what it is about, what went wrong, and why it was written.
struct ErrorLine {
  std::wstring subject;
  std::wstring description;
  ErrorCause cause;

  // The line as the error box shows it, without the line break before it.
  std::wstring Text() const { return subject + L" " + description; }
};

class StartupReport {
 public:
  virtual ~StartupReport() = default;

  // Each entry line of the list as start-up reads it; `number` counts every line from 1.
  virtual void EntryListed(long number, const std::wstring& line) = 0;
  virtual void EntryPassedOver(long number, const std::wstring& line, const ErrorLine& error) = 0;
  virtual void EntryBeyondLimit(long number, const std::wstring& line) = 0;
  // The reading of the list is over; `failure` says why it ended early, when it did.
  virtual void ListLoaded(const std::optional<std::wstring>& failure) = 0;
  // A message box for the operator.
  virtual void Message(const platform::OperatorMessage& message) = 0;
};

}  // namespace tovrel::catalogue

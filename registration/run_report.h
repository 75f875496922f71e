#pragma once
// What a registration run does, told as it does it. The main window renders these events
// into its texts and boxes (window_report.h); the list checker records them. Neither reads
// back a text the other wrote.
#include <string>

#include "catalogue/report.h"
#include "registration/backup.h"

namespace tovrel::registration {

enum class RunOutcome {
  Ended,            // the end of the list file was reached; "Finalizado" shown
  Stopped,          // a checked line carried an unrecognised location token
  ListUnreadable,   // the list file could not be opened or read; an error line says why
};

// Where a run puts the component of a checked line.
enum class PlacementKind {
  InPlace,            // CurrentPath$: registered where it lies, nothing copied
  ApplicationFolder,  // the destination is AppPath: registered as written, nothing copied
  Copy,               // backed up and copied into `folder`
};
struct Placement {
  PlacementKind kind;
  std::wstring folder;  // the destination as the token names it (empty for InPlace)
};

struct RunEnd {
  RunOutcome outcome;
  std::wstring unknownToken;  // when Stopped: the token, as split from its line
};

class RunReport {
 public:
  virtual ~RunReport() = default;

  // An entry line, read at `number` (every line counts, from 1), before anything is done
  // with it. What follows, up to the next such event, belongs to this line.
  virtual void LineTakenUp(long number, const std::wstring& line) = 0;
  // The line is checked and its token known: where `component` goes.
  virtual void Destination(const std::wstring& component, const Placement& placement) = 0;
  // The component was looked for at `path`; a refused lookup counts as not found.
  virtual void ComponentLookedFor(const std::wstring& path, bool found) = 0;
  // What became of the file that the component's copy is about to replace.
  virtual void Backup(const BackupResult& backup) = 0;
  // The component was copied. A copy refused or failed is an error line instead.
  virtual void Copied(const std::wstring& from, const std::wstring& to) = 0;
  virtual void Status(const std::wstring& text) = 0;
  virtual void Message(const platform::OperatorMessage& message) = 0;
  virtual void Error(const catalogue::ErrorLine& line) = 0;
  virtual void RegistrarLaunched(const std::wstring& commandLine) = 0;
  // The run is over.
  virtual void Finished(const RunEnd& end) = 0;
};

}  // namespace tovrel::registration

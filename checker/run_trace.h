#pragma once
// What start-up and a run did, as the dry-run seam saw it, each effect under the number of
// the list line that was being handled when it happened.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/main_window.h"

namespace tovrel::checker {

// Review: the checker's own look-ups after the run, recorded nowhere.
enum class Phase { Startup, Run, Review };

// Why the run wrote an error line, as far as the seam can tell.
enum class ErrorCause { Other, MissingFolder, CopyRefused, AllBackupNamesTaken };

struct TracedMessage {
  Phase phase;
  long line;
  std::wstring text;
  std::wstring title;
  platform::MessageIcon icon;
};

struct TracedErrorLine {
  Phase phase;
  long line;
  std::wstring text;  // as it would stand in the error box, without its line break
  ErrorCause cause;
};

struct Lookup {
  std::wstring pattern;
  bool found;
};

// The run's seam calls while it handled one line.
struct LineEffects {
  std::optional<Lookup> firstLookup;
  std::optional<Lookup> lastLookup;
  int foundInARow = 0;  // lookups answered "found" one after the other, the latest included
  std::wstring backupName;                  // where the file it replaces would be saved
  std::vector<std::wstring> copies;         // "from -> to" of component copies that would succeed
  std::vector<std::wstring> statusTexts;    // what LblMensaje would say
  std::vector<std::wstring> commandLines;   // registrar launches
};

struct ReadListLine {
  long number;
  std::wstring text;
};

class Trace {
 public:
  Phase phase = Phase::Startup;
  long line = 0;  // the line last read in this pass (1-based); 0 before the first
  std::optional<std::wstring> readFailure;  // why the list file could not be opened or read
  bool registrarDisabled = false;
  std::vector<TracedMessage> messages;
  std::vector<TracedErrorLine> errorLines;
  std::map<long, LineEffects> effects;       // run phase only
  std::vector<ReadListLine> entryLinesRead;  // start-up's pass: the entry lines, as read
  std::vector<long> runEntryLines;           // the run's pass: numbers of the entry lines it read
  // Set by the file system just before it fails a copy, taken by the next error line.
  std::optional<ErrorCause> pendingCause;

  LineEffects& Current() { return effects[line]; }
};

}  // namespace tovrel::checker

#pragma once
// Checks a component list by running the program's own start-up and registration run, every
// entry checked, against a seam that changes nothing, and tells line by line what it saw.
#include <string>
#include <vector>

#include "catalogue/main_state.h"
#include "platform/component_files.h"
#include "platform/file_system.h"
#include "platform/system_folders.h"
#include "platform/text_comparer.h"
#include "platform/text_files.h"

namespace tovrel::checker {

// What the check reads of the workstation; nothing of it is ever written.
struct Workstation {
  platform::FileSystem& files;
  platform::TextFileSystem& textFiles;
  platform::SystemFolders& folders;
  platform::TextComparer& text;
  std::wstring applicationFolder;  // where TovrelSvr.lst and regsvr32.exe are looked for
  // When given, each component the run hands to the registrar is read as the registrar
  // would load it (component_forecast.h).
  platform::ComponentFiles* components = nullptr;
};

enum class Severity { Error, Warning };

enum class FindingCode {
  UnknownToken = 1,        // TVR001: a checked line's token stops the run
  NeverReached = 2,        // TVR002: after a stop
  PassedOverAtStartup = 3, // TVR003: no comma, comma too far, too long, a NUL
  BeyondListLimit = 4,     // TVR004: entry lines past 32,767
  ComponentMissing = 5,    // TVR005
  FolderRequired = 6,      // TVR006: CurrentPath$ with a bare name
  MissingDestination = 7,  // TVR007: the copy would fail: no such folder
  BackupNamesTaken = 8,    // TVR008: all 1000 names
  DuplicateLine = 9,       // TVR009
  RegistrarMissing = 10,   // TVR010
  ListUnreadable = 11,     // TVR011
  ErrorLine = 12,          // TVR012: any other error line of the run
  NotBesideProgram = 13,   // TVR013: registered from the application folder, not there
  DestinationHeld = 14,    // TVR014: the file a copy would replace is held open
  // What the registrar would meet (read from the component's file):
  NotAProgram = 15,        // TVR015: exit 3
  WrongMachine = 16,       // TVR016: exit 3
  EntryMissing = 17,       // TVR017: exit 4
  DllMissing = 18,         // TVR018: an import the loader would not find; exit 3
  DelayDllMissing = 19,    // TVR019: a delay-loaded DLL missing
  Downgrade = 20,          // TVR020: an older version over a newer one
  // After a run (/verificar):
  NotRegistered = 30,          // TVR030: no class of the component in its own view
  ServerMissing = 31,          // TVR031: a class names a server file that does not exist
  RegisteredToOtherFile = 32,  // TVR032: a class names another file than the list ships
  OtherViewOnly = 33,          // TVR033: registered in the other bitness's view only
  TypeLibraryMissing = 34,     // TVR034: its type library not registered, or its file gone
};

struct Finding {
  long line;  // 0: the list as a whole
  Severity severity;
  FindingCode code;
  std::wstring text;
};

// What the run does with one entry line, in words.
struct LineReport {
  long number;
  std::wstring text;                  // the line as read
  std::vector<std::wstring> details;  // destination, lookup, backup, copy, launch, messages
};

enum class Ending { Finalizado, Stopped, NoRun, Unreadable };

// One component as the run hands it to the registrar.
struct HandedComponent {
  long line = 0;             // its line in the list
  std::wstring argument;     // the component as the registrar's command line names it
  std::wstring file;         // the file the registrar loads, as a full path
  std::wstring destination;  // where the run places its copy; empty when it places none
};

struct CheckResult {
  catalogue::MainState state;
  std::vector<std::wstring> startupNotes;  // what start-up would show before the window
  std::vector<LineReport> lines;
  std::vector<Finding> findings;  // the list's own first, then by line
  Ending ending = Ending::NoRun;
  long stopLine = 0;
  std::size_t entryLines = 0;
  std::size_t launches = 0;
  std::size_t messages = 0;    // message boxes besides "Finalizado", start-up's included
  std::size_t errorLines = 0;  // error-box lines, start-up's included
  int exitCode = 2;            // 0 clean "Finalizado", 1 anything else, 2 list unreadable
  // Every component the run hands to the registrar, in the run's order.
  std::vector<HandedComponent> handed;
};

CheckResult CheckList(Workstation& workstation);

}  // namespace tovrel::checker

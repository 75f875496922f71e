#pragma once
// After a run: is each component the run handed to the registrar registered, to the file the
// list ships, in the registry view of the component's own bitness? Read from the registry
// and the component's file alone; nothing is loaded, run or written.
#include <optional>
#include <string>
#include <vector>

#include "checker/list_check.h"
#include "platform/classes_registry.h"
#include "platform/component_files.h"
#include "platform/text_comparer.h"

namespace tovrel::checker {

struct ClassRegistration {
  std::wstring classId;
  std::wstring serverKey;  // "InprocServer32" or "LocalServer32"
  std::wstring server;     // the path the registry names
  bool serverExists = false;
  bool sameAsShipped = false;
  enum class Copy { ApplicationFolder, Destination, Other } copy = Copy::Other;
  std::wstring threadingModel;
  std::wstring progId;
};

struct ComponentVerification {
  long line = 0;
  std::wstring file;
  std::optional<platform::RegistryView> view;  // nothing when the file is no component
  std::optional<platform::TypeLibrary> typeLibrary;
  std::optional<std::wstring> typeLibraryPath;  // what TypeLib\{id}\{ver}\0\win32|win64 names
  std::vector<ClassRegistration> classes;       // the registered ones, in the component's view
  std::vector<Finding> findings;
};

struct VerificationPorts {
  platform::ClassesRegistry& registry;
  platform::ComponentFiles& files;
  platform::TextComparer& text;
};

ComponentVerification VerifyComponent(const HandedComponent& component, VerificationPorts ports);

// Whether each component is registered to the file the list ships: no error, and no class
// registered to another file.
bool AllRegisteredToTheShippedFiles(const std::vector<ComponentVerification>& verified);

struct VerificationResult {
  CheckResult run;  // the run over the list, every entry checked: which files it hands over
  std::vector<ComponentVerification> components;
  int exitCode = 2;  // 0 every one registered to the file the list ships, 1 not, 2 list unreadable
};

// The list's components as the run hands them to the registrar, each verified.
VerificationResult VerifyList(Workstation& workstation, VerificationPorts ports);

}  // namespace tovrel::checker

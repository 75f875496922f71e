#pragma once
// What the registrar would meet when handed a component, in its own order: loading the file
// (exit 3 when that fails), then finding the entry point (exit 4). Facts, not texts: the
// checker words them.
#include <cstdint>
#include <string>
#include <vector>

#include "loader/dependency_walk.h"
#include "loader/pe_image.h"

namespace tovrel::loader {

inline constexpr int kRegistrarLoadFailed = 3;
inline constexpr int kRegistrarEntryMissing = 4;

struct RegistrationForecast {
  std::string notProgram;     // the reader's reason, when the file is not a program at all
  bool wrongMachine = false;  // a program for another machine than the registrar's
  // A program image without the DLL flag loads all the same (measured under Wine: an .exe
  // handed to the registrar gives exit 4, one that exports the entry point registers).
  bool notDll = false;
  bool entryMissing = false;  // DllRegisterServer, or DllUnregisterServer when unregistering
  DependencyReport dependencies;  // walked only for a program of the registrar's machine
  // 0, or the code of the first failure above in the registrar's order. A 0 promises only
  // that the registrar will call the entry point; what that returns is the component's.
  int registrarExit = 0;
};

// `registrarMachine` is read from the registrar's own file (PeImage::machine); `order` is
// that of the component's bitness, with its first folder as FirstSearchFolder gives it.
RegistrationForecast ForecastRegistration(const std::wstring& componentName, const PeImage& component,
                                          std::uint16_t registrarMachine, const SearchOrder& order,
                                          ImageFiles& files, bool unregister);

}  // namespace tovrel::loader

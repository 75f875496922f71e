#pragma once
// Before a run: what the registrar would meet with each component the run hands it, read from
// the files alone (nothing is loaded or run), and what a copy would do to a newer version.
#include <vector>

#include "checker/list_check.h"
#include "platform/component_files.h"

namespace tovrel::checker {

// The findings for one component, and one line saying what regsvr32.exe would answer.
struct ComponentForecast {
  std::vector<Finding> findings;
  std::wstring outcome;
};

// `applicationFolder` ends in a backslash; regsvr32.exe is read from it.
ComponentForecast ForecastComponent(const HandedComponent& component, const std::wstring& applicationFolder,
                                    platform::ComponentFiles& files);

}  // namespace tovrel::checker

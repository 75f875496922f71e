#include "loader/registration_forecast.h"

namespace tovrel::loader {

RegistrationForecast ForecastRegistration(const std::wstring& componentName, const PeImage& component,
                                          std::uint16_t registrarMachine, const SearchOrder& order,
                                          ImageFiles& files, bool unregister) {
  RegistrationForecast forecast;
  if (!component.IsProgram()) {
    forecast.notProgram = component.problem;
    forecast.registrarExit = kRegistrarLoadFailed;
    return forecast;
  }
  forecast.notDll = !component.isDll;
  forecast.entryMissing = !component.Exports(unregister ? "DllUnregisterServer" : "DllRegisterServer");
  forecast.wrongMachine = component.machine != registrarMachine;
  if (!forecast.wrongMachine) forecast.dependencies = WalkDependencies(componentName, component, order, files);
  if (forecast.wrongMachine || !forecast.dependencies.errors.empty())
    forecast.registrarExit = kRegistrarLoadFailed;
  else if (forecast.entryMissing)
    forecast.registrarExit = kRegistrarEntryMissing;
  return forecast;
}

}  // namespace tovrel::loader

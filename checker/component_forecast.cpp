#include "checker/component_forecast.h"

#include "catalogue/main_state.h"
#include "loader/registration_forecast.h"
#include "platform/path_text.h"

namespace tovrel::checker {
namespace {

using loader::DependencyFault;

// The walk reads through the checker's seam.
class SeamImageFiles final : public loader::ImageFiles {
 public:
  explicit SeamImageFiles(platform::ComponentFiles& files) : files_(files) {}
  bool Exists(const std::wstring& path) override { return files_.Exists(path); }
  std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path) override { return files_.Read(path); }

 private:
  platform::ComponentFiles& files_;
};

std::wstring Bits(std::uint16_t machine) {
  return machine == loader::kMachineI386    ? L"32 bits (i386)"
         : machine == loader::kMachineAmd64 ? L"64 bits (AMD64)"
                                                : L"la máquina " + loader::MachineName(machine);
}

std::wstring Exit(int code) { return L"regsvr32.exe terminaría con el código " + std::to_wstring(code); }

std::wstring DependencyText(const loader::DependencyFinding& finding) {
  const std::wstring dll = finding.chain.back();
  const std::wstring chain = L" (" + loader::ChainText(finding.chain) + L")";
  switch (finding.fault) {
    case DependencyFault::kMissing: return L"falta " + dll + chain;
    case DependencyFault::kUnreadable: return L"no se puede leer " + finding.path + chain;
    case DependencyFault::kNotProgram: return finding.path + L" no es un programa" + chain;
    case DependencyFault::kWrongMachine: return L"solo hay " + dll + L" de otra arquitectura, en " + finding.path + chain;
  }
  return dll + chain;
}

std::wstring VersionText(const std::array<std::uint16_t, 4>& parts) {
  return loader::FileVersion{parts}.Text();
}

}  // namespace

ComponentForecast ForecastComponent(const HandedComponent& component, const std::wstring& applicationFolder,
                                    platform::ComponentFiles& files) {
  ComponentForecast result;
  const auto add = [&](Severity severity, FindingCode code, std::wstring text) {
    result.findings.push_back({component.line, severity, code, std::move(text)});
  };
  const std::optional<std::vector<std::uint8_t>> bytes = files.Read(component.file);
  if (!bytes) return result;  // not there: the run's own findings say so
  const loader::PeImage image = loader::ReadPeImage(*bytes);
  const std::wstring name = platform::SplitAtLastBackslash(component.file).name;

  std::uint16_t registrarMachine = image.machine;
  if (const auto registrar = files.Read(applicationFolder + catalogue::kRegistrarFileName)) {
    const loader::PeImage registrarImage = loader::ReadPeImage(*registrar);
    if (registrarImage.IsProgram()) registrarMachine = registrarImage.machine;
  }
  const platform::LoaderEnvironment environment =
      files.LoaderEnvironmentFor(image.machine != loader::kMachineI386);
  loader::SearchOrder order;
  order.firstFolder = loader::FirstSearchFolder(component.argument, applicationFolder);
  order.systemFolder = environment.systemFolder;
  order.windowsFolder = environment.windowsFolder;
  order.currentFolder = environment.currentFolder;
  order.pathFolders = environment.pathFolders;
  order.knownDlls = environment.knownDlls;
  SeamImageFiles imageFiles(files);
  const loader::RegistrationForecast forecast =
      loader::ForecastRegistration(name, image, registrarMachine, order, imageFiles, false);

  if (!forecast.notProgram.empty()) {
    add(Severity::Error, FindingCode::NotAProgram,
        component.file + L" no es un programa ni una biblioteca: " + Exit(loader::kRegistrarLoadFailed) + L".");
  } else if (forecast.wrongMachine) {
    add(Severity::Error, FindingCode::WrongMachine,
        name + L" es de " + Bits(image.machine) + L" y el regsvr32.exe de la carpeta, de " + Bits(registrarMachine) +
            L": no puede cargarlo; " + Exit(loader::kRegistrarLoadFailed) + L".");
  }
  for (const loader::DependencyFinding& finding : forecast.dependencies.errors) {
    add(Severity::Error, FindingCode::DllMissing,
        DependencyText(finding) + L": " + name + L" no se carga; " + Exit(loader::kRegistrarLoadFailed) + L".");
  }
  if (forecast.entryMissing && forecast.registrarExit == loader::kRegistrarEntryMissing) {
    add(Severity::Error, FindingCode::EntryMissing,
        name + L" no exporta DllRegisterServer: " + Exit(loader::kRegistrarEntryMissing) + L".");
  }
  for (const loader::DependencyFinding& finding : forecast.dependencies.warnings) {
    add(Severity::Warning, FindingCode::DelayDllMissing,
        L"carga diferida: " + DependencyText(finding) + L"; el registro puede funcionar, pero " + name +
            L" fallará la primera vez que la use.");
  }
  if (!component.destination.empty()) {
    const auto shipped = files.FileVersionOf(component.file);
    const auto replaced = files.FileVersionOf(component.destination);
    if (shipped && replaced && loader::FileVersion{*shipped} < loader::FileVersion{*replaced}) {
      add(Severity::Warning, FindingCode::Downgrade,
          L"la versión " + VersionText(*shipped) + L" de " + name + L" es más antigua que la " +
              VersionText(*replaced) + L" que reemplazaría en " + component.destination + L".");
    }
  }
  result.outcome = forecast.registrarExit == 0
                       ? L"regsvr32.exe: lo cargaría y llamaría a DllRegisterServer"
                       : L"regsvr32.exe: " + Exit(forecast.registrarExit).substr(std::wstring(L"regsvr32.exe ").size());
  return result;
}

}  // namespace tovrel::checker

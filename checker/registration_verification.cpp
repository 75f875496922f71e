#include "checker/registration_verification.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>

#include "loader/pe_image.h"
#include "platform/path_text.h"

namespace tovrel::checker {
namespace {

using platform::RegistryView;

constexpr const wchar_t* kServerKeys[] = {L"InprocServer32", L"LocalServer32"};

RegistryView OtherView(RegistryView view) {
  return view == RegistryView::Bits32 ? RegistryView::Bits64 : RegistryView::Bits32;
}

std::wstring ViewName(RegistryView view) {
  return view == RegistryView::Bits32 ? L"la vista de 32 bits del registro"
                                      : L"la vista de 64 bits del registro";
}

// The program a server value names: a quoted path stands alone; an unquoted one may be
// followed by arguments after the program's name (LocalServer32 "C:\x\srv.exe /automation").
std::wstring ServerProgram(const std::wstring& value) {
  if (!value.empty() && value.front() == L'"') {
    const std::size_t close = value.find(L'"', 1);
    return value.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
  }
  std::wstring lower = value;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  const std::size_t exe = lower.find(L".exe ");
  return exe == std::wstring::npos ? value : value.substr(0, exe + 4);
}

struct ServerEntry {
  std::wstring key;
  std::wstring program;
};

std::optional<ServerEntry> ServerOf(platform::ClassesRegistry& registry, RegistryView view,
                                    const std::wstring& classId) {
  for (const wchar_t* key : kServerKeys) {
    if (auto value = registry.Value(view, L"CLSID\\" + classId + L"\\" + key, L"")) {
      return ServerEntry{key, ServerProgram(*value)};
    }
  }
  return std::nullopt;
}

// Without a type library: every class of the view whose server is a file of this name.
std::vector<std::wstring> ClassesServedBy(platform::ClassesRegistry& registry, RegistryView view,
                                          const std::wstring& fileName, platform::TextComparer& text) {
  std::vector<std::wstring> found;
  for (const std::wstring& classId : registry.Subkeys(view, L"CLSID")) {
    const auto server = ServerOf(registry, view, classId);
    if (server && text.Equal(platform::SplitAtLastBackslash(server->program).name, fileName)) {
      found.push_back(classId);
    }
  }
  return found;
}

std::wstring HexVersion(const platform::TypeLibrary& library) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%x.%x", library.major, library.minor);
  return text;
}

class Verifier {
 public:
  Verifier(const HandedComponent& component, VerificationPorts ports)
      : component_(component), ports_(ports) {
    result_.line = component.line;
    result_.file = component.file;
  }

  ComponentVerification Run() {
    shipped_ = ports_.files.Read(component_.file);
    if (!shipped_) {
      Error(FindingCode::NotRegistered,
            L"no se puede leer " + component_.file + L": no está registrado");
      return result_;
    }
    const loader::PeImage image = loader::ReadPeImage(*shipped_);
    if (!image.IsProgram()) {
      Error(FindingCode::NotRegistered,
            component_.file + L" no es un programa: no puede estar registrado");
      return result_;
    }
    view_ = image.machine == loader::kMachineI386 ? RegistryView::Bits32 : RegistryView::Bits64;
    result_.view = view_;
    result_.typeLibrary = ports_.files.TypeLibraryOf(component_.file);

    const std::wstring fileName = platform::SplitAtLastBackslash(component_.file).name;
    std::vector<std::wstring> classIds;
    if (result_.typeLibrary) {
      classIds = result_.typeLibrary->classIds;
    } else {
      classIds = ClassesServedBy(ports_.registry, view_, fileName, ports_.text);
      if (classIds.empty()) {
        classIds = ClassesServedBy(ports_.registry, OtherView(view_), fileName, ports_.text);
      }
    }
    std::vector<std::wstring> missing;
    std::vector<std::wstring> otherViewOnly;
    for (const std::wstring& classId : classIds) {
      if (auto server = ServerOf(ports_.registry, view_, classId)) {
        AddClass(classId, *server);
      } else if (ServerOf(ports_.registry, OtherView(view_), classId)) {
        otherViewOnly.push_back(classId);
      } else {
        missing.push_back(classId);
      }
    }
    if (!otherViewOnly.empty() && result_.classes.empty()) {
      Error(FindingCode::OtherViewOnly,
            fileName + L" está registrado solo en " + ViewName(OtherView(view_)) +
                L", y es un componente de " + (view_ == RegistryView::Bits32 ? L"32" : L"64") +
                L" bits: lo registró un registrador de la otra arquitectura (" + Join(otherViewOnly) +
                L")");
    } else if (classIds.empty() || (result_.classes.empty() && otherViewOnly.empty())) {
      Error(FindingCode::NotRegistered,
            fileName + L" no está registrado en " + ViewName(view_) +
                (classIds.empty() ? std::wstring() : L" (" + Join(missing) + L")"));
    } else {
      for (const std::wstring& classId : missing) {
        Error(FindingCode::NotRegistered, L"la clase " + classId + L" de " + fileName +
                                              L" no está registrada en " + ViewName(view_));
      }
      for (const std::wstring& classId : otherViewOnly) {
        Error(FindingCode::OtherViewOnly, L"la clase " + classId + L" de " + fileName +
                                              L" está registrada solo en " +
                                              ViewName(OtherView(view_)));
      }
    }
    if (result_.typeLibrary && !result_.classes.empty()) CheckTypeLibrary(*result_.typeLibrary);
    return result_;
  }

 private:
  void AddClass(const std::wstring& classId, const ServerEntry& server) {
    ClassRegistration found;
    found.classId = classId;
    found.serverKey = server.key;
    found.server = server.program;
    const auto serverBytes = ports_.files.Read(server.program);
    found.serverExists = serverBytes.has_value();
    found.sameAsShipped = serverBytes && *serverBytes == *shipped_;
    if (ports_.text.Equal(server.program, component_.file)) {
      found.copy = ClassRegistration::Copy::ApplicationFolder;
    } else if (!component_.destination.empty() &&
               ports_.text.Equal(server.program, component_.destination)) {
      found.copy = ClassRegistration::Copy::Destination;
    }
    const std::wstring classKey = L"CLSID\\" + classId;
    found.threadingModel =
        ports_.registry.Value(view_, classKey + L"\\" + server.key, L"ThreadingModel").value_or(L"");
    found.progId = ports_.registry.Value(view_, classKey + L"\\ProgID", L"").value_or(L"");
    if (!found.serverExists) {
      Error(FindingCode::ServerMissing, L"la clase " + classId + L" está registrada a " +
                                            found.server + L", que no existe");
    } else if (!found.sameAsShipped) {
      Warning(FindingCode::RegisteredToOtherFile,
              L"la clase " + classId + L" está registrada a " + found.server +
                  L", que no es el archivo que entrega la lista (" + component_.file + L")");
    }
    result_.classes.push_back(std::move(found));
  }

  void CheckTypeLibrary(const platform::TypeLibrary& library) {
    const std::wstring key = L"TypeLib\\" + library.libraryId + L"\\" + HexVersion(library) +
                             L"\\0\\" + (view_ == RegistryView::Bits32 ? L"win32" : L"win64");
    result_.typeLibraryPath = ports_.registry.Value(view_, key, L"");
    if (!result_.typeLibraryPath) {
      Warning(FindingCode::TypeLibraryMissing, L"la biblioteca de tipos " + library.libraryId +
                                                   L" " + HexVersion(library) +
                                                   L" no está registrada (" + key + L")");
    } else if (!ports_.files.Read(*result_.typeLibraryPath)) {
      Warning(FindingCode::TypeLibraryMissing, L"la biblioteca de tipos " + library.libraryId +
                                                   L" está registrada a " + *result_.typeLibraryPath +
                                                   L", que no existe");
    }
  }

  static std::wstring Join(const std::vector<std::wstring>& items) {
    std::wstring joined;
    for (const std::wstring& item : items) joined += (joined.empty() ? L"" : L", ") + item;
    return joined;
  }
  void Error(FindingCode code, std::wstring text) {
    result_.findings.push_back(Finding{component_.line, Severity::Error, code, std::move(text)});
  }
  void Warning(FindingCode code, std::wstring text) {
    result_.findings.push_back(Finding{component_.line, Severity::Warning, code, std::move(text)});
  }

  const HandedComponent& component_;
  VerificationPorts ports_;
  ComponentVerification result_;
  std::optional<std::vector<std::uint8_t>> shipped_;
  RegistryView view_ = RegistryView::Bits32;
};

}  // namespace

ComponentVerification VerifyComponent(const HandedComponent& component, VerificationPorts ports) {
  return Verifier(component, ports).Run();
}

bool AllRegisteredToTheShippedFiles(const std::vector<ComponentVerification>& verified) {
  for (const ComponentVerification& component : verified) {
    for (const Finding& finding : component.findings) {
      if (finding.severity == Severity::Error || finding.code == FindingCode::RegisteredToOtherFile) {
        return false;
      }
    }
  }
  return true;
}

VerificationResult VerifyList(Workstation& workstation, VerificationPorts ports) {
  VerificationResult result;
  result.run = CheckList(workstation);
  if (result.run.ending == Ending::Unreadable) return result;
  for (const HandedComponent& component : result.run.handed) {
    result.components.push_back(VerifyComponent(component, ports));
  }
  result.exitCode = AllRegisteredToTheShippedFiles(result.components) ? 0 : 1;
  return result;
}

}  // namespace tovrel::checker

#include "checker/verification_report.h"

#include <algorithm>
#include <map>

#include "catalogue/main_state.h"
#include "checker/check_report.h"

namespace tovrel::checker {
namespace {

std::wstring Bits(platform::RegistryView view) {
  return view == platform::RegistryView::Bits32 ? L"32" : L"64";
}

std::wstring CopyName(const ClassRegistration& found) {
  switch (found.copy) {
    case ClassRegistration::Copy::ApplicationFolder: return L"la copia de la carpeta de la aplicación";
    case ClassRegistration::Copy::Destination: return L"la copia del destino";
    case ClassRegistration::Copy::Other: break;
  }
  return L"otra copia";
}

std::wstring ClassLine(const ClassRegistration& found) {
  std::wstring line = L"clase " + found.classId;
  std::wstring about;
  if (!found.progId.empty()) about += L"ProgID " + found.progId;
  if (!found.threadingModel.empty()) about += (about.empty() ? L"" : L", ") + (L"ThreadingModel " + found.threadingModel);
  if (!about.empty()) line += L" (" + about + L")";
  line += L": " + found.serverKey + L" " + found.server + L", ";
  if (!found.serverExists) return line + L"que no existe";
  return line + (found.sameAsShipped ? L"el mismo archivo que entrega la lista, " : L"otro archivo que el de la lista, ") +
         CopyName(found);
}

std::wstring Count(std::size_t n, const wchar_t* one, const wchar_t* many) {
  return std::to_wstring(n) + L" " + (n == 1 ? one : many);
}

}  // namespace

std::vector<std::wstring> VerificationReportLines(const VerificationResult& result) {
  const catalogue::MainState& s = result.run.state;
  std::vector<std::wstring> out;
  out.push_back(L"Lista: " + s.AppPath + catalogue::kListFileName);
  out.push_back(L"Verificación del registro de cada componente que la ejecución entrega a regsvr32.exe "
                L"(no se cambia nada):");
  std::size_t errors = 0;
  std::size_t warnings = 0;
  if (result.run.ending == Ending::Unreadable) {
    for (const Finding& finding : result.run.findings) {
      if (finding.code == FindingCode::ListUnreadable) out.push_back(FindingLine(finding));
    }
    errors = 1;
  }
  std::map<long, std::wstring> lineTexts;
  for (const LineReport& line : result.run.lines) lineTexts.emplace(line.number, line.text);
  std::size_t wellRegistered = 0;
  for (const ComponentVerification& component : result.components) {
    std::wstring text = lineTexts[component.line];
    if (text.size() > 160) text = text.substr(0, 160) + L"...";
    out.push_back(L"Línea " + std::to_wstring(component.line) + L": " + text);
    out.push_back(L"    archivo: " + component.file +
                  (component.view ? L" (componente de " + Bits(*component.view) + L" bits: vista de " +
                                        Bits(*component.view) + L" bits del registro)"
                                  : std::wstring()));
    for (const ClassRegistration& found : component.classes) out.push_back(L"    " + ClassLine(found));
    if (component.typeLibrary && component.typeLibraryPath) {
      out.push_back(L"    biblioteca de tipos " + component.typeLibrary->libraryId + L": " + *component.typeLibraryPath);
    }
    const bool good = AllRegisteredToTheShippedFiles({component});
    if (good) {
      ++wellRegistered;
      out.push_back(L"    correcto: registrado al archivo que entrega la lista");
    }
    for (const Finding& finding : component.findings) {
      out.push_back(FindingLine(finding));
      (finding.severity == Severity::Error ? errors : warnings) += 1;
    }
  }
  out.push_back(L"Resumen: " + Count(result.components.size(), L"componente entregado", L"componentes entregados") +
                L" a regsvr32.exe, " + Count(wellRegistered, L"registrado", L"registrados") +
                L" al archivo que entrega la lista, " + Count(errors, L"error", L"errores") + L", " +
                Count(warnings, L"advertencia", L"advertencias") + L". Código de salida " +
                std::to_wstring(result.exitCode) + L".");
  return out;
}

}  // namespace tovrel::checker

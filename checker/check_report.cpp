#include "checker/check_report.h"

#include <algorithm>

#include "catalogue/main_state.h"

namespace tovrel::checker {

namespace {

constexpr std::size_t kShownLineLength = 160;

// One output line per line: breaks and other control characters are shown, never obeyed.
std::wstring Printable(const std::wstring& text, std::size_t limit = std::wstring::npos) {
  std::wstring out;
  for (const wchar_t c : text.substr(0, std::min(limit, text.size()))) {
    if (c == L'\r' || c == L'\n') {
      if (out.size() < 3 || out.compare(out.size() - 3, 3, L" / ") != 0) out += L" / ";
    } else if (c == L'\t') {
      out += L"<TAB>";
    } else if (c < L' ') {
      out += L"<" + std::to_wstring(static_cast<unsigned>(c)) + L">";
    } else {
      out += c;
    }
  }
  if (text.size() > limit) out += L"... (" + std::to_wstring(text.size()) + L" caracteres)";
  return out;
}

std::wstring Count(std::size_t n, const wchar_t* one, const wchar_t* many) {
  return std::to_wstring(n) + L" " + (n == 1 ? one : many);
}

}  // namespace

std::wstring FindingLine(const Finding& finding) {
  std::wstring code = std::to_wstring(static_cast<int>(finding.code));
  code.insert(0, 3 - std::min<std::size_t>(3, code.size()), L'0');
  std::wstring origin = catalogue::kListFileName;
  if (finding.line > 0) origin += L"(" + std::to_wstring(finding.line) + L")";
  return origin + L": " + (finding.severity == Severity::Error ? L"error" : L"warning") + L" TVR" + code + L": " +
         Printable(finding.text);
}

std::wstring SummaryLine(const CheckResult& result) {
  const auto errors = static_cast<std::size_t>(std::count_if(
      result.findings.begin(), result.findings.end(), [](const Finding& f) { return f.severity == Severity::Error; }));
  std::wstring text = L"Resumen: " + Count(result.entryLines, L"línea de componente", L"líneas de componentes") + L", " +
                      Count(result.launches, L"registro", L"registros") + L", " + Count(errors, L"error", L"errores") +
                      L", " + Count(result.findings.size() - errors, L"advertencia", L"advertencias") + L"; ";
  switch (result.ending) {
    case Ending::Unreadable: text += L"la lista no se puede leer"; break;
    case Ending::Finalizado: text += L"la ejecución terminaría en \"Finalizado\""; break;
    case Ending::Stopped: text += L"la ejecución se detendría en la línea " + std::to_wstring(result.stopLine); break;
    case Ending::NoRun: text += L"no habría ejecución"; break;
  }
  text += L", con " + Count(result.messages, L"mensaje", L"mensajes") + L" y " +
          Count(result.errorLines, L"línea de error", L"líneas de error") + L". Código de salida " +
          std::to_wstring(result.exitCode) + L".";
  return text;
}

std::vector<std::wstring> ReportLines(const CheckResult& result) {
  const catalogue::MainState& s = result.state;
  std::vector<std::wstring> out;
  out.push_back(L"Lista: " + s.AppPath + catalogue::kListFileName);
  out.push_back(L"Carpetas: aplicación " + s.AppPath + L", Windows " + s.WinPath + L", sistema " + s.SysPath +
                L", Crystal " + s.CrystalPath);
  for (const std::wstring& note : result.startupNotes) out.push_back(Printable(note));
  auto finding = result.findings.begin();
  for (; finding != result.findings.end() && finding->line == 0; ++finding) out.push_back(FindingLine(*finding));
  for (const LineReport& line : result.lines) {
    out.push_back(L"Línea " + std::to_wstring(line.number) + L": " + Printable(line.text, kShownLineLength));
    for (const std::wstring& detail : line.details) out.push_back(L"    " + Printable(detail));
    for (; finding != result.findings.end() && finding->line <= line.number; ++finding) {
      out.push_back(FindingLine(*finding));
    }
  }
  for (; finding != result.findings.end(); ++finding) out.push_back(FindingLine(*finding));
  out.push_back(SummaryLine(result));
  return out;
}

}  // namespace tovrel::checker

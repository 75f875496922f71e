// TovrelCheck: says what Tovrel would do with the component list of a folder, or, after a run,
// whether each component it handed to the registrar is registered; it changes nothing.
//   TovrelCheck.exe [carpeta]             (by default its own folder, as Tovrel)
//   TovrelCheck.exe /verificar [carpeta]
// Exit code 0: a run would end in "Finalizado" with no message and no error line (with
// /verificar: every component is registered to the file the list ships); 1: not; 2: the list
// cannot be read (or the arguments are wrong).
#include <string>
#include <vector>

#include "checker/check_report.h"
#include "checker/list_check.h"
#include "checker/verification_report.h"
#include "platform/win32/win32_component_reading.h"
#include "platform/win32/win32_platform.h"

namespace {

using namespace tovrel;

constexpr wchar_t kUsage[] =
    L"Uso: TovrelCheck.exe [/verificar] [carpeta]\r\n"
    L"Dice qué haría Tovrel con TovrelSvr.lst de la carpeta (por omisión, la de TovrelCheck.exe) si se\r\n"
    L"pulsara \"Registrar\" con todos los componentes marcados. No escribe ni inicia nada.\r\n"
    L"Código de salida: 0 si terminaría en \"Finalizado\" sin mensajes ni líneas de error, 1 si no,\r\n"
    L"2 si la lista no se puede leer.\r\n"
    L"Con /verificar, después de una ejecución: dice, leyendo solo el registro, si cada componente que\r\n"
    L"Tovrel entrega a regsvr32.exe está registrado al archivo que entrega la lista, en la vista del\r\n"
    L"registro de su propia arquitectura. Código de salida: 0 si todos lo están, 1 si no, 2 si la\r\n"
    L"lista no se puede leer.";

constexpr wchar_t kVerifySwitch[] = L"/verificar";

// Into a console as text; into a file or a pipe as UTF-8.
class Output {
 public:
  explicit Output(DWORD which) : handle_(::GetStdHandle(which)) {
    DWORD mode = 0;
    console_ = ::GetConsoleMode(handle_, &mode) != 0;
  }
  void Line(const std::wstring& text) {
    const std::wstring line = text + L"\r\n";
    DWORD written = 0;
    if (console_) {
      ::WriteConsoleW(handle_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      return;
    }
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0,
                                            nullptr, nullptr);
    if (bytes <= 0) return;
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr,
                          nullptr);
    ::WriteFile(handle_, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  }

 private:
  HANDLE handle_;
  bool console_ = false;
};

// The folder as the program would see its own: absolute, no trailing backslash but a root's.
std::wstring FullFolder(const std::wstring& given) {
  const DWORD needed = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
  if (needed == 0) platform::ThrowLastError();
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(given.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) platform::ThrowLastError();
  full.resize(length);
  while (full.size() > 1 && full.back() == L'\\' && full[full.size() - 2] != L':') full.pop_back();
  return full;
}

int Check(const std::wstring& folder, bool verify, Output& out) {
  platform::Win32FileSystem files;
  platform::Win32TextFileSystem textFiles;
  platform::Win32SystemFolders folders;
  platform::Win32TextComparer text;
  // Tovrel opened from its folder looks up relative names there.
  ::SetCurrentDirectoryW(folder.c_str());
  platform::Win32ComponentFiles components;
  checker::Workstation workstation{files, textFiles, folders, text, folder};
  if (verify) {
    platform::Win32ClassesRegistry registry;
    const checker::VerificationResult result = checker::VerifyList(workstation, {registry, components, text});
    for (const std::wstring& line : checker::VerificationReportLines(result)) out.Line(line);
    return result.exitCode;
  }
  workstation.components = &components;
  const checker::CheckResult result = checker::CheckList(workstation);
  for (const std::wstring& line : checker::ReportLines(result)) out.Line(line);
  return result.exitCode;
}

// Started from Explorer, the checker has a console window of its own, which closes as it
// ends: the operator is given the time to read it. Not in a console someone else opened, and
// not with the output redirected.
void WaitWhenTheConsoleIsOurOwn() {
  DWORD processes[2];
  DWORD mode = 0;
  if (::GetConsoleProcessList(processes, 2) != 1 ||
      !::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode)) {
    return;
  }
  Output(STD_OUTPUT_HANDLE).Line(L"Pulse una tecla para cerrar esta ventana.");
  HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  ::FlushConsoleInputBuffer(input);
  INPUT_RECORD record{};
  DWORD read = 0;
  while (::ReadConsoleInputW(input, &record, 1, &read) && read == 1) {
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) return;
  }
}

int Main(const std::vector<std::wstring>& given, Output& out, Output& err) {
  std::vector<std::wstring> args = given;
  const bool verify = !args.empty() && ::CompareStringOrdinal(args[0].c_str(), -1, kVerifySwitch, -1, TRUE) == CSTR_EQUAL;
  if (verify) args.erase(args.begin());
  if (args.size() > 1 || (args.size() == 1 && (args[0] == L"/?" || args[0] == L"-h" || args[0] == L"--help"))) {
    err.Line(kUsage);
    return 2;
  }
  try {
    const std::wstring folder =
        args.empty() ? platform::Win32SystemFolders().ApplicationFolder() : FullFolder(args[0]);
    return Check(folder, verify, out);
  } catch (const platform::PlatformError& e) {
    err.Line(L"TovrelCheck: " + e.Description());
  } catch (const std::exception&) {
    err.Line(L"TovrelCheck: error inesperado.");
  }
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  platform::HardenDllSearch();
  Output out(STD_OUTPUT_HANDLE);
  Output err(STD_ERROR_HANDLE);
  const int exitCode = Main(std::vector<std::wstring>(argv + 1, argv + argc), out, err);
  WaitWhenTheConsoleIsOurOwn();
  return exitCode;
}

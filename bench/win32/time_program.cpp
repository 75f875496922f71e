// Times Tovrel.exe as an operator meets it: from process start to the visible main window,
// then until the window answers (what is left of its first paint: ready_ms), "Marcar/Desmarcar"
// pressed on the answering window, and a run from the press of "Registrar" to the closing
// message; then reads the program's peak working set. With --bare it starts the bare checked
// list instead (on TovrelSvr.lst in the folder), reads its start-up time and peak the same way,
// and times its inversion of every mark. With --runs N it answers each closing message and
// presses "Registrar" again, N runs in all, and also gives the peak after each run (peaks_kib)
// and the working set at the end. The peaks after start-up and after "Marcar/Desmarcar" are
// given too (startup_kib, marcar_kib).
//   TovrelTimeProgram.exe [--bare] [--runs N] <program> <application folder> <output file>
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCmdRegistrar = 1002;
constexpr int kCmdMarcar = 1007;
constexpr auto kDeadline = std::chrono::seconds(120);

struct Search {
  DWORD pid;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (pid == search->pid && IsWindowVisible(hwnd) && lstrcmpW(name, search->className) == 0) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForWindow(DWORD pid, const wchar_t* className, HANDLE process) {
  const auto end = Clock::now() + kDeadline;
  while (Clock::now() < end) {
    Search search{pid, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return nullptr;
    Sleep(2);
  }
  return nullptr;
}

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// How long the window's thread still takes to answer once its window is visible: an
// operator's press waits that long whatever it does.
double MillisecondsUntilAnswering(HWND window) {
  const auto start = Clock::now();
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result);
  return MillisecondsSince(start);
}

PROCESS_MEMORY_COUNTERS Memory(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(process, &counters, sizeof(counters));
  return counters;
}

SIZE_T PeakKib(HANDLE process) { return Memory(process).PeakWorkingSetSize / 1024; }

// Presses OK on the message box and waits until it is gone.
void Dismiss(HWND box) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  const auto end = Clock::now() + kDeadline;
  while (IsWindow(box) && IsWindowVisible(box) && Clock::now() < end) Sleep(2);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool bare = argc > 1 && lstrcmpW(argv[1], L"--bare") == 0;
  if (bare) {
    --argc;
    ++argv;
  }
  int runs = 1;
  if (argc > 2 && lstrcmpW(argv[1], L"--runs") == 0) {
    runs = _wtoi(argv[2]);
    argc -= 2;
    argv += 2;
  }
  if (argc < 4) {
    std::fprintf(stderr, "usage: TovrelTimeProgram [--bare] [--runs N] <program> <app folder> <output file>\n");
    return 2;
  }
  FILE* out = _wfopen(argv[3], L"w");
  if (!out) return 3;

  std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"" + (bare ? L" TovrelSvr.lst" : L"");
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const auto started = Clock::now();
  if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, argv[2],
                      &startup, &process)) {
    std::fprintf(out, "error=cannot start (%lu)\n", GetLastError());
    std::fclose(out);
    return 4;
  }
  int status = 0;
  HWND form = WaitForWindow(process.dwProcessId, bare ? L"TovrelBareList" : L"TovrelForm1",
                            process.hProcess);
  const double startupMs = MillisecondsSince(started);
  if (form && bare) {
    const SIZE_T startupKib = PeakKib(process.hProcess);
    const double readyMs = MillisecondsUntilAnswering(form);
    const auto marcarStart = Clock::now();
    SendMessageW(form, WM_APP, 0, 0);
    std::fprintf(out, "startup_ms=%.1f peak_kib=%llu ready_ms=%.1f marcar_ms=%.1f\n", startupMs,
                 static_cast<unsigned long long>(startupKib), readyMs, MillisecondsSince(marcarStart));
  } else if (!form) {
    std::fprintf(out, "error=main window never appeared\n");
    status = 5;
  } else {
    const SIZE_T startupKib = PeakKib(process.hProcess);
    const double readyMs = MillisecondsUntilAnswering(form);
    const auto marcarStart = Clock::now();
    SendMessageW(form, WM_COMMAND, MAKEWPARAM(kCmdMarcar, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(form, kCmdMarcar)));
    const double marcarMs = MillisecondsSince(marcarStart);
    const SIZE_T marcarKib = PeakKib(process.hProcess);

    double runMs = 0;
    HWND box = nullptr;
    wchar_t text[256] = {};
    std::string peaks;
    for (int run = 1; run <= runs; ++run) {
      if (box) Dismiss(box);
      const auto runStart = Clock::now();
      PostMessageW(form, WM_COMMAND, MAKEWPARAM(kCmdRegistrar, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(form, kCmdRegistrar)));
      box = WaitForWindow(process.dwProcessId, L"#32770", process.hProcess);
      if (run == 1) runMs = MillisecondsSince(runStart);
      text[0] = 0;
      if (box) GetDlgItemTextW(box, 0xFFFF, text, 256);
      peaks += (run > 1 ? "," : "") + std::to_string(PeakKib(process.hProcess));
      if (!box || lstrcmpW(text, L"Finalizado") != 0) break;
    }
    const PROCESS_MEMORY_COUNTERS memory = Memory(process.hProcess);
    std::fprintf(out, "startup_ms=%.1f ready_ms=%.1f marcar_ms=%.1f run_ms=%.1f closing=%ls peak_kib=%llu peaks_kib=%s "
                 "working_set_kib=%llu pagefile_kib=%llu startup_kib=%llu marcar_kib=%llu\n",
                 startupMs, readyMs, marcarMs, runMs, box ? text : L"(none)",
                 static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024), peaks.c_str(),
                 static_cast<unsigned long long>(memory.WorkingSetSize / 1024),
                 static_cast<unsigned long long>(memory.PagefileUsage / 1024),
                 static_cast<unsigned long long>(startupKib), static_cast<unsigned long long>(marcarKib));
    if (!box || lstrcmpW(text, L"Finalizado") != 0) status = 6;
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::fclose(out);
  return status;
}

// A registration run over every entry checked (the launcher only records) and over every
// entry unchecked, at growing list sizes: the per-line cost of a run.
#include <benchmark/benchmark.h>

#include "bench/bench_workstation.h"
#include "commands/main_commands.h"

namespace tovrel::bench {
namespace {

// Counts launches and keeps the last command line: storing tens of thousands of command
// lines would measure the recorder's memory, not the run.
class CountingLauncher : public platform::ProcessLauncher {
 public:
  std::size_t count = 0;
  std::wstring lastCommandLine;
  void Launch(const std::wstring&, const std::wstring& commandLine) override {
    ++count;
    lastCommandLine = commandLine;
  }
};

void RunOverList(benchmark::State& state, bool checked) {
  const int entries = static_cast<int>(state.range(0));
  BenchWorkstation ws(entries, Tokens::Empty);
  CountingLauncher launcher;
  platform::Ports ports{ws.files, ws.fileNumbers, ws.folders, launcher, ws.text, ws.window, ws.checklist};
  commands::MainCommands commands(ports, ws.window, ws.background);
  if (commands.Load() != catalogue::StartupResult::Ready) state.SkipWithError("start-up failed");
  if (!checked) commands.MarcarClick();
  const std::size_t expectedLaunches = checked ? static_cast<std::size_t>(entries) : 0;
  for (auto _ : state) {
    const auto outcome = commands.RegistrarClick();
    if (outcome != registration::RunOutcome::Ended || launcher.count != expectedLaunches ||
        !ws.window.errorText.empty() ||
        (checked && launcher.lastCommandLine.find(L"regsvr32.exe") == std::wstring::npos)) {
      state.SkipWithError("the run did not go through every line cleanly");
      break;
    }
    state.PauseTiming();
    launcher.count = 0;
    ws.window.messages.clear();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * entries);
  state.SetComplexityN(entries);
}

void BM_RunAllChecked(benchmark::State& state) { RunOverList(state, true); }
void BM_RunAllUnchecked(benchmark::State& state) { RunOverList(state, false); }

BENCHMARK(BM_RunAllChecked)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_RunAllUnchecked)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace tovrel::bench

// Reading the list file, start-up, and the checklist lookup at growing list sizes.
#include <benchmark/benchmark.h>

#include "bench/bench_workstation.h"
#include "catalogue/list_line.h"
#include "catalogue/list_reader.h"
#include "catalogue/startup.h"
#include "commands/window_report.h"
#include "tests/fake/selection_by_scan.h"

namespace tovrel::bench {
namespace {

// Every entry line read, classified and split, as both readers of the file do.
void BM_ListReader(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  BenchWorkstation ws(entries, Tokens::Mixed);
  catalogue::MainState main;
  main.AppPath = std::wstring(kAppFolder) + L"\\";
  main.ListFile = catalogue::kListFileName;
  for (auto _ : state) {
    catalogue::ListReader reader(main, ws.fileNumbers);
    std::wstring line;
    int split = 0;
    while (reader.Next(line)) {
      if (catalogue::ClassifyLine(line) != catalogue::LineKind::Entry) continue;
      catalogue::EntryLine entry = catalogue::SplitEntryLine(line);
      benchmark::DoNotOptimize(entry);
      ++split;
    }
    if (split != entries) state.SkipWithError("the reader did not split every entry line");
  }
  state.SetItemsProcessed(state.iterations() * entries);
  state.SetComplexityN(entries);
}

// Start-up whole: the checklist filled, every entry checked, and the index built.
void BM_Startup(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  BenchWorkstation ws(entries, Tokens::Mixed);
  catalogue::MainState main;
  catalogue::ChecklistIndex index;
  commands::WindowReport report(ws.window);
  for (auto _ : state) {
    const auto result = catalogue::RunStartup(main, index, ws.ports, report);
    index.Finish(ws.text);
    if (result != catalogue::StartupResult::Ready || ws.checklist.Count() != entries ||
        index.size() != static_cast<std::size_t>(entries)) {
      state.SkipWithError("start-up did not list every entry");
    }
  }
  state.SetItemsProcessed(state.iterations() * entries);
  state.SetComplexityN(entries);
}

constexpr int kLookupsPerIteration = 64;

// Names spread evenly over the list, spelt as the run might meet them (other case, spaces).
std::vector<std::wstring> LookupNames(int entries) {
  const std::vector<std::wstring> lines = EntryLines(entries, Tokens::Mixed);
  std::vector<std::wstring> names;
  for (int i = 0; i < kLookupsPerIteration; ++i) {
    std::wstring name = lines[static_cast<std::size_t>(i) * lines.size() / kLookupsPerIteration];
    for (wchar_t& c : name) {
      if (c >= L'a' && c <= L'z' && i % 2 == 0) c = static_cast<wchar_t>(c - 32);
    }
    names.push_back(L" " + name + L"  ");
  }
  return names;
}

template <bool kByIndex>
void BM_ArchSeleccionado(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  BenchWorkstation ws(entries, Tokens::Mixed);
  catalogue::MainState main;
  catalogue::ChecklistIndex index;
  commands::WindowReport report(ws.window);
  catalogue::RunStartup(main, index, ws.ports, report);
  index.Finish(ws.text);
  const std::vector<std::wstring> names = LookupNames(entries);
  for (auto _ : state) {
    int found = 0;
    for (const std::wstring& name : names) {
      found += kByIndex ? catalogue::ArchSeleccionado(name, index, ws.checklist, ws.text)
                        : fake::ArchSeleccionadoByScan(name, ws.checklist, ws.text);
    }
    if (found != kLookupsPerIteration) state.SkipWithError("a listed, checked name was not found");
  }
  state.SetItemsProcessed(state.iterations() * kLookupsPerIteration);
  state.SetComplexityN(entries);
}

void BM_ArchSeleccionadoIndex(benchmark::State& state) { BM_ArchSeleccionado<true>(state); }
void BM_ArchSeleccionadoScan(benchmark::State& state) { BM_ArchSeleccionado<false>(state); }

#define TOVREL_SIZES Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMicrosecond)

BENCHMARK(BM_ListReader)->TOVREL_SIZES->Complexity(benchmark::oN);
BENCHMARK(BM_Startup)->TOVREL_SIZES->Complexity(benchmark::oN);
// Per lookup: the index costs a binary search, the scan walks the list.
BENCHMARK(BM_ArchSeleccionadoIndex)->TOVREL_SIZES->Complexity(benchmark::oLogN);
BENCHMARK(BM_ArchSeleccionadoScan)->TOVREL_SIZES->Complexity(benchmark::oN);

}  // namespace
}  // namespace tovrel::bench

// Where Tovrel's start-up goes: the program's own parts, wired as the program wires them, with
// clocks around the seam it reads, fills and compares through. Run from an application folder
// holding TovrelSvr.lst and a registrar; prints one line of milliseconds:
//   load     start-up from the window centred to the list filled (the logic's Load)
//   read     opening the list and reading its lines (decoding included)
//   insert   the entries appended to the list
//   check    the marks set on them
//   bracket  the list's redraw turned off and back on, with its column fitted
//   rest     the logic's own work: classifying, splitting, the texts kept for the index, the report
//   show     the window shown and painted, up to no message left waiting, and of it:
//   show_window, paint, focus, com, pump  ShowWindow, UpdateWindow, the focus put in the
//            list, COM entered, and the messages left waiting then
//   keys     the comparison keys the index asks for, worked out on a thread beside the window's
//   lookups  how long the window's thread still waits for the run's look-ups once it shows
// and then, for "Marcar/Desmarcar" on the list as start-up left it:
//   marks    every entry's mark read once
//   marcar   the button's command, whole, and of it:
//   marcar_list     the list's own work on its marks (the messages that set them)
//   marcar_bracket  the list's redraw turned off and back on around them
//   marcar_one_changed  the command again, after one entry's mark was changed by itself
//   TovrelStartupPhases.exe <output file>
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "commands/main_commands.h"
#include "platform/ports.h"
#include "platform/win32/win32_platform.h"
#include "ui/control_ids.h"
#include "ui/form1.h"

namespace {

using namespace tovrel;
using Clock = std::chrono::steady_clock;

struct Phase {
  double ms = 0;
  long calls = 0;
};

// Adds the time until it goes out of scope to a phase.
class Timed {
 public:
  explicit Timed(Phase& phase) : phase_(phase), start_(Clock::now()) {}
  ~Timed() {
    phase_.ms += std::chrono::duration<double, std::milli>(Clock::now() - start_).count();
    ++phase_.calls;
  }
  Timed(const Timed&) = delete;
  Timed& operator=(const Timed&) = delete;

 private:
  Phase& phase_;
  Clock::time_point start_;
};

class TimedTextFile final : public platform::TextFile {
 public:
  TimedTextFile(std::unique_ptr<platform::TextFile> inner, Phase& phase)
      : inner_(std::move(inner)), phase_(phase) {}
  bool AtEnd() override {
    Timed t(phase_);
    return inner_->AtEnd();
  }
  std::wstring ReadLine() override {
    Timed t(phase_);
    return inner_->ReadLine();
  }

 private:
  std::unique_ptr<platform::TextFile> inner_;
  Phase& phase_;
};

class TimedTextFileSystem final : public platform::TextFileSystem {
 public:
  explicit TimedTextFileSystem(Phase& phase) : phase_(phase) {}
  std::unique_ptr<platform::TextFile> OpenText(const std::wstring& path) override {
    Timed t(phase_);
    return std::make_unique<TimedTextFile>(inner_.OpenText(path), phase_);
  }

 private:
  platform::Win32TextFileSystem inner_;
  Phase& phase_;
};

class TimedComparer final : public platform::TextComparer {
 public:
  explicit TimedComparer(Phase& phase) : phase_(phase) {}
  bool Equal(std::wstring_view a, std::wstring_view b) override {
    Timed t(phase_);
    return inner_.Equal(a, b);
  }
  std::string SortKey(std::wstring_view text) override {
    Timed t(phase_);
    return inner_.SortKey(text);
  }

 private:
  platform::Win32TextComparer inner_;
  Phase& phase_;
};

struct ListPhases {
  Phase insert, check, bracket;
};

class TimedChecklist final : public platform::Checklist {
 public:
  TimedChecklist(platform::Checklist& inner, ListPhases& phases) : inner_(inner), phases_(phases) {}
  void Clear() override { inner_.Clear(); }
  void Append(const std::wstring& text) override {
    Timed t(phases_.insert);
    inner_.Append(text);
  }
  int Count() override { return inner_.Count(); }
  std::wstring Text(int index) override { return inner_.Text(index); }
  bool Checked(int index) override { return inner_.Checked(index); }
  std::optional<int> CheckedCount() override { return inner_.CheckedCount(); }
  void SetChecked(int index, bool checked) override {
    Timed t(phases_.check);
    inner_.SetChecked(index, checked);
  }
  void SetAllChecked(bool checked) override {
    Timed t(phases_.check);
    inner_.SetAllChecked(checked);
  }
  void BeginUpdate() override {
    Timed t(phases_.bracket);
    inner_.BeginUpdate();
  }
  void EndUpdate() override {
    Timed t(phases_.bracket);
    inner_.EndUpdate();
  }

 private:
  platform::Checklist& inner_;
  ListPhases& phases_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: TovrelStartupPhases <output file>\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  Phase read, keys, load, show, lookups;
  ListPhases list;
  platform::Win32FileSystem files;
  TimedTextFileSystem textFileSystem(read);
  platform::TextFiles textFiles(textFileSystem);
  platform::Win32SystemFolders folders;
  platform::Win32ProcessLauncher processes;
  TimedComparer comparer(keys);
  ui::Form1 form(processes);
  TimedChecklist checklist(form.List1(), list);
  platform::Ports ports{files, textFiles, folders, processes, comparer, form, checklist};
  platform::Win32BackgroundWork background;
  commands::MainCommands commands(ports, form, background);
  if (!form.Create()) return 3;

  // Timed calls nest inside the sections below: each section is given net of the clock
  // readings they made, and each part's share of start-up is what it took during Load.
  // The keys are left out: they are worked out on the background thread.
  Phase* const parts[] = {&read, &list.insert, &list.check, &list.bracket};
  auto calls = [&] {
    long total = 0;
    for (const Phase* part : parts) total += part->calls;
    return total;
  };
  std::array<Phase, std::size(parts)> beforeLoad{}, afterLoad{};
  for (std::size_t i = 0; i < std::size(parts); ++i) beforeLoad[i] = *parts[i];
  const long callsBeforeLoad = calls();
  {
    Timed t(load);
    commands.Load();
  }
  const long callsInLoad = calls() - callsBeforeLoad;
  for (std::size_t i = 0; i < std::size(parts); ++i) afterLoad[i] = *parts[i];
  const auto entries = static_cast<std::size_t>(form.List1().Count());
  // As the program shows its window and enters its message loop, each step timed.
  Phase showWindow, paint, focus, com, pump;
  {
    Timed t(show);
    {
      Timed s(showWindow);
      ShowWindow(form.Window(), SW_SHOW);
    }
    {
      Timed s(paint);
      UpdateWindow(form.Window());
    }
    {
      Timed s(focus);
      SetFocus(GetDlgItem(form.Window(), ui::kList1));
    }
    {
      Timed s(com);
      CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    }
    Timed s(pump);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  {
    Timed t(lookups);
    background.Wait();
  }
  Phase marks, marcar;
  {
    Timed t(marks);
    for (int i = 0; i < static_cast<int>(entries); ++i) form.List1().Checked(i);
  }
  const Phase checkBefore = list.check, bracketBefore = list.bracket;
  {
    Timed t(marcar);
    commands.MarcarClick();
  }
  const double marcarList = list.check.ms - checkBefore.ms;
  const double marcarBracket = list.bracket.ms - bracketBefore.ms;
  // Once more after the operator changed one mark: the marks are not all alike any more.
  Phase marcarOneChanged;
  if (entries > 0) {
    form.List1().SetChecked(0, !form.List1().Checked(0));
    Timed t(marcarOneChanged);
    commands.MarcarClick();
  }

  // What a clock reading costs: each timed call holds about one, and its section two.
  const auto clockStart = Clock::now();
  constexpr int kClockReads = 100000;
  for (int i = 0; i < kClockReads; ++i) (void)Clock::now();
  const double clockMs =
      std::chrono::duration<double, std::milli>(Clock::now() - clockStart).count() / kClockReads;
  auto during = [&](std::size_t part) {
    return (afterLoad[part].ms - beforeLoad[part].ms) -
           static_cast<double>(afterLoad[part].calls - beforeLoad[part].calls) * clockMs;
  };
  const double loadNet = load.ms - 2 * static_cast<double>(callsInLoad) * clockMs;
  double shares = 0;
  for (std::size_t i = 0; i < std::size(parts); ++i) shares += during(i);

  FILE* out = _wfopen(argv[1], L"w");
  if (!out) return 4;
  std::fprintf(out,
               "entries=%zu load=%.1f read=%.1f insert=%.1f check=%.1f bracket=%.1f rest=%.1f "
               "show=%.1f keys=%.1f lookups=%.1f marks=%.1f marcar=%.1f marcar_list=%.1f "
               "marcar_bracket=%.1f marcar_one_changed=%.1f show_window=%.1f paint=%.1f "
               "focus=%.1f com=%.1f pump=%.1f clock_ns=%.0f\n",
               entries, loadNet, during(0), during(1), during(2), during(3), loadNet - shares,
               show.ms, keys.ms - static_cast<double>(keys.calls) * clockMs, lookups.ms, marks.ms,
               marcar.ms, marcarList, marcarBracket, marcarOneChanged.ms, showWindow.ms, paint.ms,
               focus.ms, com.ms, pump.ms, clockMs * 1e6);
  std::fclose(out);
  DestroyWindow(form.Window());
  return 0;
}

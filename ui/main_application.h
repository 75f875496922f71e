#pragma once
// The program's parts, wired once: the Win32 seam, the main window, and the commands behind
// the window that reach it and its list only through the ports.
#include "commands/main_commands.h"
#include "platform/ports.h"
#include "platform/win32/win32_platform.h"
#include "ui/form1.h"

namespace tovrel::ui {

class MainApplication {
 public:
  MainApplication();
  MainApplication(const MainApplication&) = delete;
  MainApplication& operator=(const MainApplication&) = delete;

  Form1& MainForm() { return form_; }
  // Creates the main window, then start-up fills it and it appears. False when the window
  // cannot be created.
  bool Start(int showCommand);

 private:
  platform::Win32FileSystem files_;
  platform::Win32TextFileSystem textFileSystem_;
  platform::TextFiles textFiles_{textFileSystem_};
  platform::Win32SystemFolders folders_;
  platform::Win32ProcessLauncher processes_;
  platform::Win32TextComparer comparer_;
  platform::Win32BackgroundWork background_;
  Form1 form_{processes_};
  platform::Ports ports_{files_, textFiles_, folders_, processes_, comparer_, form_, form_.List1()};
  commands::MainCommands commands_{ports_, form_, background_};
};

}  // namespace tovrel::ui

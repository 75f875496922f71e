#pragma once
// Everything the logic receives from the platform, in one bundle of narrow interfaces.
#include "platform/checklist.h"
#include "platform/file_system.h"
#include "platform/main_window.h"
#include "platform/process_launcher.h"
#include "platform/system_folders.h"
#include "platform/text_comparer.h"
#include "platform/text_files.h"

namespace tovrel::platform {

struct Ports {
  FileSystem& files;
  TextFiles& textFiles;
  SystemFolders& folders;
  ProcessLauncher& processes;
  TextComparer& text;
  MainWindow& window;
  Checklist& checklist;
};

}  // namespace tovrel::platform

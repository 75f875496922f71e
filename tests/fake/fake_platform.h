#pragma once
// Every seam interface in memory, bundled as the logic receives them. One journal records
// copies, messages, status changes, yields and launches in the order they happened.
#include <string>
#include <vector>

#include "platform/ports.h"
#include "tests/fake/fake_files.h"
#include "tests/fake/fake_system.h"
#include "tests/fake/fake_text.h"
#include "tests/fake/fake_window.h"

namespace tovrel::fake {

class FakePlatform {
 public:
  FakePlatform() {
    files.journal = &journal;
    window.journal = &journal;
    launcher.journal = &journal;
  }
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  std::vector<std::wstring> journal;
  FakeFileSystem files;
  FakeTextFiles textFiles{files};
  platform::TextFiles fileNumbers{textFiles};
  FakeFolders folders;
  FakeLauncher launcher;
  FakeComparer text;
  FakeMainWindow window;
  FakeChecklist checklist;
  FakeBackgroundWork background;
  platform::Ports ports{files, fileNumbers, folders, launcher, text, window, checklist};
};

}  // namespace tovrel::fake

// The program's entry: the main window, then the message loop until the last window closes.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "platform/win32/win32_platform.h"
#include "ui/main_application.h"
#include "ui/message_loop.h"

namespace {

// COM for the picture decoder and the shell, from the end of start-up for the life of the UI
// thread.
class ComApartment {
 public:
  ComApartment()
      : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED |
                                                           COINIT_DISABLE_OLE1DDE))) {}
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  tovrel::platform::HardenDllSearch();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  tovrel::ui::MainApplication application;
  if (!application.Start(showCommand)) return 1;
  // Entered once the list is filled: start-up needs no COM, and under Wine 8 a list of 32,767
  // entries filled inside the apartment took about 64 MiB more.
  ComApartment com;
  return tovrel::ui::RunMessageLoop(application.MainForm().Window());
}

#include "ui/main_application.h"

namespace tovrel::ui {

MainApplication::MainApplication() { form_.Forward(commands_); }

bool MainApplication::Start(int showCommand) {
  if (!form_.Create()) return false;
  form_.Load(showCommand);
  return true;
}

}  // namespace tovrel::ui

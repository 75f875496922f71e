#pragma once
// The e-invoice components window: three manual steps, each started by a click on its labels.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/process_launcher.h"
#include "ui/base_window.h"
#include "ui/gdi_handles.h"

namespace tovrel::ui {

class Label;

class FrmeFactura final : public BaseWindow<FrmeFactura> {
 public:
  // `onClosed` runs when the window has been destroyed.
  FrmeFactura(platform::ProcessLauncher& launcher, HCURSOR handCursor,
              std::function<void()> onClosed);
  ~FrmeFactura() override;

  // Opens the window centred on the screen, or brings the open one forward.
  void Show();
  bool IsOpen() const { return hwnd_ != nullptr; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  bool Create();
  void CreateChildren(UINT dpi);
  void ApplyLayout(UINT dpi);
  void PaintBackdrop(HDC dc);
  void OnCommand(int id, WORD code);
  Label* FindLabel(int id) const;
  void HighlightStep(int step, bool on);
  void RunStep(int step);

  platform::ProcessLauncher& launcher_;
  HCURSOR handCursor_;
  std::function<void()> onClosed_;
  UniqueWindow hiddenOwner_;  // owning the window keeps it off the taskbar
  UniqueBitmap picture_;
  std::vector<std::unique_ptr<Label>> labels_;  // in table order, then Image1
  UINT dpi_ = 96;
};

}  // namespace tovrel::ui

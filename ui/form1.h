#pragma once
// The main window: the checklist of components and the commands that act on it.
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "commands/main_commands.h"
#include "platform/main_window.h"
#include "platform/process_launcher.h"
#include "ui/base_window.h"
#include "ui/control_ids.h"
#include "ui/gdi_handles.h"
#include "ui/list_view_checklist.h"

namespace tovrel::ui {

class FrmeFactura;
struct Form1Control;

class Form1 final : public BaseWindow<Form1>,
                    public platform::MainWindow,
                    public platform::WindowTexts {
 public:
  // `processes` starts what the e-invoice window opens.
  explicit Form1(platform::ProcessLauncher& processes);
  ~Form1() override;

  // Creates the window and its controls, hidden.
  bool Create();
  // The commands its buttons press.
  void Forward(commands::MainCommands& commands) { commands_ = &commands; }
  // Start-up, then the window appears with the focus in the checklist.
  void Load(int showCommand);
  ListViewChecklist& List1() { return list1_; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // What start-up and the registration run need of the window.
  platform::Size ScreenSize() override;
  platform::Size WindowSize() override;
  void MoveWindow(float left, float top) override;
  void DisableRegistrar() override;
  bool ShowRegistrarMessages() override;
  void YieldToEvents() override;

  // What the window shows of what they report.
  void ShowMessage(const std::wstring& text, const std::wstring& title,
                   platform::MessageIcon icon) override;
  void SetStatus(const std::wstring& text) override;
  std::wstring ErrorText() override;
  void SetErrorText(const std::wstring& text) override;
  void AppendErrorText(const std::wstring& text) override;

 private:
  // Handles kept from creation: under Wine every GetDlgItem is a round trip to the
  // server, which a fill or a run of 32,767 entries would pay several times per entry.
  HWND Control(int id) const { return controls_[static_cast<size_t>(id - kList1)]; }
  void CreateControls();
  HWND CreateControl(const Form1Control& control);
  void ApplyLayout(UINT dpi);
  void ApplyFonts(UINT dpi);

  void OnCommand(int id, int code);
  void PressFocusedButton();
  void MoveFocus(WPARAM target, bool targetIsWindow);
  void OpenFactura();
  void OpenInstructions();
  LRESULT OnControlColour(HDC dc, HWND control);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  bool OnSetCursor(HWND target, UINT hitTest);
  void OnDestroy();

  platform::ProcessLauncher& processes_;
  commands::MainCommands* commands_ = nullptr;
  ListViewChecklist list1_;

  std::vector<UniqueFont> fonts_;  // each control's, in table order
  UniqueBrush headingBrush_;
  UniqueBrush panelBrush_;
  HCURSOR handCursor_ = nullptr;
  std::array<HWND, kLblLink - kList1 + 1> controls_{};
  std::unique_ptr<FrmeFactura> factura_;
};

}  // namespace tovrel::ui

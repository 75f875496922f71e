#pragma once
// The main window: the checklist of components and the commands that act on it.
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/checklist.h"
#include "platform/main_window.h"
#include "platform/ports.h"
#include "platform/win32/win32_platform.h"
#include "commands/main_commands.h"
#include "ui/base_window.h"
#include "ui/control_ids.h"
#include "ui/gdi_handles.h"

namespace tovrel::ui {

class FrmeFactura;
struct Form1Control;

class Form1 final : public BaseWindow<Form1>,
                    public platform::MainWindow,
                    public platform::WindowTexts,
                    public platform::Checklist {
 public:
  Form1();
  ~Form1() override;

  // Creates the window and its controls, hidden.
  bool Create();
  // Start-up, then the window appears with the focus in the checklist.
  void Load(int showCommand);

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

  // List1 as the logic's checklist.
  void Clear() override;
  void Append(const std::wstring& text) override;
  int Count() override;
  std::wstring Text(int index) override;
  bool Checked(int index) override;
  void SetChecked(int index, bool checked) override;
  void BeginUpdate() override;
  void EndUpdate() override;

 private:
  // Handles kept from creation: under Wine every GetDlgItem is a round trip to the
  // server, which a fill or a run of 32,767 entries would pay several times per entry.
  HWND Control(int id) const { return controls_[static_cast<size_t>(id - kList1)]; }
  void CreateControls();
  HWND CreateControl(const Form1Control& control);
  void ConfigureCheckList(HWND list);
  void FitListColumn();
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

  platform::Win32FileSystem files_;
  platform::Win32TextFileSystem textFileSystem_;
  platform::TextFiles textFiles_{textFileSystem_};
  platform::Win32SystemFolders folders_;
  platform::Win32ProcessLauncher processes_;
  platform::Win32TextComparer comparer_;
  platform::Ports ports_;
  commands::MainCommands commands_;

  std::vector<UniqueFont> fonts_;  // each control's, in table order
  UniqueBrush headingBrush_;
  UniqueBrush panelBrush_;
  HCURSOR handCursor_ = nullptr;
  std::array<HWND, kLblLink - kList1 + 1> controls_{};
  std::unique_ptr<FrmeFactura> factura_;
};

}  // namespace tovrel::ui

#pragma once
// The main window as start-up, the run and the window's report see it, besides its checklist.
#include <string>

namespace tovrel::platform {

enum class MessageIcon { None, Critical, Information };

// A message box's text, title and icon.
struct OperatorMessage {
  std::wstring text;
  std::wstring title;
  MessageIcon icon;
};

struct Size {
  int width = 0;
  int height = 0;
};

// What start-up and the run do with the main window themselves. What they have to tell, they
// tell their reports (catalogue/report.h, registration/run_report.h).
class MainWindow {
 public:
  virtual ~MainWindow() = default;

  // The whole screen (not the work area) and the window's outer size, in one unit.
  virtual Size ScreenSize() = 0;
  virtual Size WindowSize() = 0;
  // Moves the window, its size unchanged. Positions may be fractional or negative.
  virtual void MoveWindow(float left, float top) = 0;

  virtual void DisableRegistrar() = 0;                      // CmdRegistrar
  virtual bool ShowRegistrarMessages() = 0;                 // ChkMostrar checked
  // Handles the window events that are pending once, then returns.
  virtual void YieldToEvents() = 0;
};

// What the main window shows: message boxes, the status label and the error box. The window's
// report writes here (commands/window_report.h).
class WindowTexts {
 public:
  virtual ~WindowTexts() = default;

  // A modal message box with an OK button only; returns when the operator closes it.
  virtual void ShowMessage(const std::wstring& text, const std::wstring& title, MessageIcon icon) = 0;

  virtual void SetStatus(const std::wstring& text) = 0;     // LblMensaje
  virtual std::wstring ErrorText() = 0;                     // TxtError, whole text
  virtual void SetErrorText(const std::wstring& text) = 0;  // TxtError, whole text
  // TxtError's text followed by `text`: the same as replacing the whole text with the two
  // joined, at the cost of the addition only.
  virtual void AppendErrorText(const std::wstring& text) { SetErrorText(ErrorText() + text); }
};

}  // namespace tovrel::platform

#pragma once
// What start-up and the registration run need of the main window, besides its checklist.
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

class MainWindow {
 public:
  virtual ~MainWindow() = default;

  // The whole screen (not the work area) and the window's outer size, in one unit.
  virtual Size ScreenSize() = 0;
  virtual Size WindowSize() = 0;
  // Moves the window, its size unchanged. Positions may be fractional or negative.
  virtual void MoveWindow(float left, float top) = 0;

  // A modal message box with an OK button only; returns when the operator closes it.
  virtual void ShowMessage(const std::wstring& text, const std::wstring& title, MessageIcon icon) = 0;

  virtual void DisableRegistrar() = 0;                      // CmdRegistrar
  virtual void SetStatus(const std::wstring& text) = 0;     // LblMensaje
  virtual std::wstring ErrorText() = 0;                     // TxtError, whole text
  virtual void SetErrorText(const std::wstring& text) = 0;  // TxtError, whole text
  // TxtError's text followed by `text`: the same as replacing the whole text with the two
  // joined, at the cost of the addition only.
  virtual void AppendErrorText(const std::wstring& text) { SetErrorText(ErrorText() + text); }
  virtual bool ShowRegistrarMessages() = 0;                 // ChkMostrar checked
  // Handles the window events that are pending once, then returns.
  virtual void YieldToEvents() = 0;
};

}  // namespace tovrel::platform

#pragma once
// The main window and its checklist in memory: everything shown is recorded, in order.
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/checklist.h"
#include "platform/main_window.h"

namespace tovrel::fake {

struct ShownMessage {
  std::wstring text;
  std::wstring title;
  platform::MessageIcon icon;
};

class FakeMainWindow : public platform::MainWindow, public platform::WindowTexts {
 public:
  platform::Size screen{1024, 768};
  platform::Size window{600, 400};
  std::vector<std::pair<float, float>> moves;  // (left, top)
  std::vector<ShownMessage> messages;
  std::wstring status;
  std::wstring errorText;
  bool showRegistrarMessages = false;          // ChkMostrar
  bool registrarDisabled = false;
  int yields = 0;
  // Runs inside YieldToEvents: a test acts "during" a run here.
  std::function<void()> onYield;
  std::vector<std::wstring>* journal = nullptr;

  platform::Size ScreenSize() override { return screen; }
  platform::Size WindowSize() override { return window; }
  void MoveWindow(float left, float top) override { moves.emplace_back(left, top); }
  void ShowMessage(const std::wstring& text, const std::wstring& title, platform::MessageIcon icon) override;
  void DisableRegistrar() override { registrarDisabled = true; }
  void SetStatus(const std::wstring& text) override;
  std::wstring ErrorText() override { return errorText; }
  void SetErrorText(const std::wstring& text) override { errorText = text; }
  void AppendErrorText(const std::wstring& text) override { errorText += text; }
  bool ShowRegistrarMessages() override { return showRegistrarMessages; }
  void YieldToEvents() override;
};

class FakeChecklist : public platform::Checklist {
 public:
  struct Entry {
    std::wstring text;
    bool checked = false;
  };
  std::vector<Entry> entries;
  bool failAppend = false;
  int failAppendAt = -1;  // with this many entries, Append refuses; -1 never
  int updateDepth = 0;
  int appendsOutsideUpdate = 0;

  void Clear() override { entries.clear(); }
  void Append(const std::wstring& text) override;
  int Count() override { return static_cast<int>(entries.size()); }
  std::wstring Text(int index) override { return At(index).text; }
  bool Checked(int index) override { return At(index).checked; }
  void SetChecked(int index, bool checked) override { At(index).checked = checked; }
  void BeginUpdate() override { ++updateDepth; }
  void EndUpdate() override { --updateDepth; }

 private:
  // An index out of range is a fault of the caller: fail loudly.
  Entry& At(int index);
};

}  // namespace tovrel::fake

#include "tests/fake/fake_window.h"

#include "platform/platform_error.h"

namespace tovrel::fake {

void FakeMainWindow::ShowMessage(const std::wstring& text, const std::wstring& title,
                                 platform::MessageIcon icon) {
  messages.push_back({text, title, icon});
  if (journal) journal->push_back(L"message " + text);
}

void FakeMainWindow::SetStatus(const std::wstring& text) {
  status = text;
  if (journal) journal->push_back(L"status " + text);
}

void FakeMainWindow::YieldToEvents() {
  ++yields;
  if (journal) journal->push_back(L"yield");
  if (onYield) onYield();
}

void FakeChecklist::Append(const std::wstring& text) {
  if (failAppend || Count() == failAppendAt || Count() >= kMaxEntries) throw platform::PlatformError(L"No hay memoria suficiente.");
  if (updateDepth <= 0) ++appendsOutsideUpdate;
  entries.push_back({text, false});
}

FakeChecklist::Entry& FakeChecklist::At(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("checklist index out of range");
  return entries[static_cast<std::size_t>(index)];
}

}  // namespace tovrel::fake

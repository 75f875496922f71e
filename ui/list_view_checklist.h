#pragma once
// List1 as the logic's checklist: a report-view list with check boxes and one column.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/checklist.h"

namespace tovrel::ui {

class ListViewChecklist final : public platform::Checklist {
 public:
  // Takes the list once it exists: check boxes on, and its one column.
  void Attach(HWND list);
  // The one column fills the list's client width, whether or not a scroll bar shows.
  void FitColumn();
  // A notification from the list, as its parent receives it.
  void OnNotify(const NMHDR& notification);

  void Clear() override;
  void Append(const std::wstring& text) override;
  int Count() override;
  std::wstring Text(int index) override;
  bool Checked(int index) override;
  void SetChecked(int index, bool checked) override;
  // Counted from the list's own notifications of each change of mark.
  std::optional<int> CheckedCount() override;
  // One message: the list marks its entries itself.
  void SetAllChecked(bool checked) override;
  void BeginUpdate() override;
  void EndUpdate() override;

 private:
  void RecountFromEmpty();

  HWND list_ = nullptr;
  // The entries whose mark is the checked image, while every change is known; an insertion
  // or deletion that is not this class's own, or a change told for all entries at once,
  // leaves it unknown.
  int checked_ = 0;
  bool checkedKnown_ = false;
  bool appending_ = false;
};

}  // namespace tovrel::ui

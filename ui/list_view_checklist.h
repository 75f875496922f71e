#pragma once
// List1 as the logic's checklist: a report-view list with check boxes and one column.
#include <windows.h>

#include <string>

#include "platform/checklist.h"

namespace tovrel::ui {

class ListViewChecklist final : public platform::Checklist {
 public:
  // Takes the list once it exists: check boxes on, and its one column.
  void Attach(HWND list);
  // The one column fills the list's client width, whether or not a scroll bar shows.
  void FitColumn();

  void Clear() override;
  void Append(const std::wstring& text) override;
  int Count() override;
  std::wstring Text(int index) override;
  bool Checked(int index) override;
  void SetChecked(int index, bool checked) override;
  // One message: the list marks its entries itself.
  void SetAllChecked(bool checked) override;
  void BeginUpdate() override;
  void EndUpdate() override;

 private:
  HWND list_ = nullptr;
};

}  // namespace tovrel::ui

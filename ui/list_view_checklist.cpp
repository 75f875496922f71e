#include "ui/list_view_checklist.h"

#include <commctrl.h>

#include <climits>
#include <vector>

#include "platform/platform_error.h"
#include "platform/win32/win32_platform.h"

namespace tovrel::ui {
namespace {

constexpr UINT kUncheckedImage = 1;
constexpr UINT kCheckedImage = 2;
UINT StateImage(UINT state) { return (state & LVIS_STATEIMAGEMASK) >> 12; }
constexpr size_t kMaxTextBuffer = size_t{1} << 20;  // far beyond any line of the list file

}  // namespace

void ListViewChecklist::Attach(HWND list) {
  list_ = list;
  ListView_SetExtendedListViewStyleEx(list_, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 0;
  ListView_InsertColumn(list_, 0, &column);
  RecountFromEmpty();
}

void ListViewChecklist::RecountFromEmpty() {
  checked_ = 0;
  checkedKnown_ = Count() == 0;
}

void ListViewChecklist::OnNotify(const NMHDR& notification) {
  if (notification.hwndFrom != list_) return;
  switch (notification.code) {
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(notification);
      if ((change.uChanged & LVIF_STATE) == 0) return;
      const UINT before = StateImage(change.uOldState);
      const UINT after = StateImage(change.uNewState);
      if (before == after) return;
      if (change.iItem < 0) {
        checkedKnown_ = false;
        return;
      }
      checked_ += (after == kCheckedImage ? 1 : 0) - (before == kCheckedImage ? 1 : 0);
      return;
    }
    case LVN_INSERTITEM:
      // This class appends entries without a mark set; anyone else's may come checked.
      if (!appending_) checkedKnown_ = false;
      return;
    case LVN_DELETEITEM:
    case LVN_DELETEALLITEMS:
      checkedKnown_ = false;
      return;
    default:
      return;
  }
}

std::optional<int> ListViewChecklist::CheckedCount() {
  if (!checkedKnown_) return std::nullopt;
  return checked_;
}

void ListViewChecklist::FitColumn() {
  ListView_SetColumnWidth(list_, 0, LVSCW_AUTOSIZE_USEHEADER);
}

void ListViewChecklist::Clear() {
  ListView_DeleteAllItems(list_);
  RecountFromEmpty();
  FitColumn();
}

void ListViewChecklist::Append(const std::wstring& text) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = INT_MAX;  // past the last entry: appended, with no count asked first
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SetLastError(ERROR_SUCCESS);
  appending_ = true;
  const int inserted = ListView_InsertItem(list_, &item);
  appending_ = false;
  if (inserted < 0) {
    const DWORD error = GetLastError();
    throw platform::PlatformError(error != ERROR_SUCCESS
                                      ? platform::DescribeWin32Error(error)
                                      : platform::DescribeWin32Error(ERROR_NOT_ENOUGH_MEMORY));
  }
}

int ListViewChecklist::Count() { return ListView_GetItemCount(list_); }

std::wstring ListViewChecklist::Text(int index) {
  // The list tells how much it copied, not how long the text is: grow until it fits.
  std::vector<wchar_t> buffer(256);
  for (;;) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const LRESULT copied = SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&item));
    if (copied < static_cast<LRESULT>(buffer.size()) - 1 || buffer.size() >= kMaxTextBuffer) {
      return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool ListViewChecklist::Checked(int index) {
  return StateImage(ListView_GetItemState(list_, index, LVIS_STATEIMAGEMASK)) == kCheckedImage;
}

void ListViewChecklist::SetChecked(int index, bool checked) {
  ListView_SetItemState(list_, index,
                        INDEXTOSTATEIMAGEMASK(checked ? kCheckedImage : kUncheckedImage),
                        LVIS_STATEIMAGEMASK);
}

// Index -1 stands for every entry.
void ListViewChecklist::SetAllChecked(bool checked) { SetChecked(-1, checked); }

void ListViewChecklist::BeginUpdate() { SendMessageW(list_, WM_SETREDRAW, FALSE, 0); }

void ListViewChecklist::EndUpdate() {
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  FitColumn();
  InvalidateRect(list_, nullptr, TRUE);
}

}  // namespace tovrel::ui

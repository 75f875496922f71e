#include "remote_listview.h"

#include <commctrl.h>

#include <stdexcept>

#include "wait.h"

namespace e2e {

namespace {

constexpr size_t kTextChars = 32768;
constexpr size_t kBlockSize = sizeof(LVITEMW) + kTextChars * sizeof(wchar_t);

LRESULT Send(HWND window, UINT message, WPARAM w, LPARAM l) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, w, l, AnswerFlags(), AnswerTimeoutMs(), &result))
        throw std::runtime_error("the list view did not answer message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

}  // namespace

RemoteListView::RemoteListView(HWND list) : list_(list) {
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                           processId);
    if (!process_) throw std::runtime_error("cannot open the list view's process");
    remote_ = VirtualAllocEx(process_, nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE,
                             PAGE_READWRITE);
    if (!remote_) {
        CloseHandle(process_);
        throw std::runtime_error("cannot allocate memory in the list view's process");
    }
}

RemoteListView::~RemoteListView() {
    VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    CloseHandle(process_);
}

int RemoteListView::Count() const {
    return static_cast<int>(Send(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring RemoteListView::Text(int index) const {
    auto* remoteText = static_cast<char*>(remote_) + sizeof(LVITEMW);
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = reinterpret_cast<LPWSTR>(remoteText);
    item.cchTextMax = static_cast<int>(kTextChars);
    if (!WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr))
        throw std::runtime_error("cannot write the item request");
    const LRESULT length =
        Send(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote_));
    std::wstring text(static_cast<size_t>(length), L'\0');
    if (length > 0 &&
        !ReadProcessMemory(process_, remoteText, text.data(), text.size() * sizeof(wchar_t), nullptr))
        throw std::runtime_error("cannot read the item text");
    return text;
}

bool RemoteListView::Checked(int index) const {
    const LRESULT state = Send(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(index),
                               LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void RemoteListView::SetChecked(int index, bool checked) const {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    if (!WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr))
        throw std::runtime_error("cannot write the item state");
    Send(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote_));
}

std::vector<ListEntry> RemoteListView::Entries() const {
    std::vector<ListEntry> entries;
    const int count = Count();
    for (int i = 0; i < count; ++i) entries.push_back({Text(i), Checked(i)});
    return entries;
}

}  // namespace e2e

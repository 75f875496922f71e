#pragma once
// Reading and setting the entries of a list-view control that lives in another process.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct ListEntry {
    std::wstring text;
    bool checked = false;
};

class RemoteListView {
public:
    explicit RemoteListView(HWND list);
    ~RemoteListView();
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    int Count() const;
    std::wstring Text(int index) const;
    bool Checked(int index) const;
    void SetChecked(int index, bool checked) const;
    std::vector<ListEntry> Entries() const;

private:
    HWND list_;
    HANDLE process_ = nullptr;
    void* remote_ = nullptr;  // an LVITEMW followed by a text buffer, in the list's process
};

}  // namespace e2e

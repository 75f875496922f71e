#include "window_tree.h"

#include <stdexcept>

#include "text.h"
#include "wait.h"

namespace e2e {

namespace {

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId) search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::wstring Describe(HWND window) {
    std::wstring line = ClassOf(window) + L"#" + std::to_wstring(GetDlgCtrlID(window)) + L" " +
                        FromUtf8(Printable(TextOf(window)));
    if (!IsWindowVisible(window)) line += L" [hidden]";
    return line;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    Search search{processId, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopLevel(DWORD processId, const std::wstring& className, bool visibleOnly) {
    for (HWND window : TopLevelWindowsOf(processId)) {
        if (ClassOf(window) != className) continue;
        if (visibleOnly && !IsWindowVisible(window)) continue;
        return window;
    }
    return nullptr;
}

HWND WaitForWindow(DWORD processId, const std::wstring& className, milliseconds timeout) {
    HWND window = nullptr;
    if (PollUntil([&] { return (window = FindTopLevel(processId, className, true)) != nullptr; },
                  timeout))
        return window;
    throw WaitFailed{L"no visible window of class " + className + L"; the process has: " +
                     FromUtf8(DescribeWindows(processId))};
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256];
    const int n = GetClassNameW(window, name, 256);
    return std::wstring(name, n > 0 ? n : 0);
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, AnswerFlags(), AnswerTimeoutMs(), &length))
        return L"<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        AnswerFlags(), AnswerTimeoutMs(), &copied);
    text.resize(copied);
    return text;
}

HWND Child(HWND parent, int id) {
    // Controls may sit inside a container (a frame), so look through all descendants.
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectChildren, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all)
        if (GetDlgCtrlID(window) == id) return window;
    throw std::runtime_error("no control with id " + std::to_string(id) + " in window " +
                             ToUtf8(ClassOf(parent)));
}

RECT RectIn(HWND window, HWND reference) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE ClientSize(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

bool Answers(HWND window, milliseconds within) {
    wchar_t text[256];
    DWORD_PTR copied = 0;
    return SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
                               AnswerFlags(), static_cast<UINT>(Scaled(within).count()), &copied) != 0;
}

void Click(HWND button) {
    // Posted: the click may open a modal message box that this test has to answer.
    PostMessageW(button, BM_CLICK, 0, 0);
}

void PostCommand(HWND parent, int id, HWND control) {
    PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

std::string DescribeWindows(DWORD processId) {
    std::wstring all;
    for (HWND top : TopLevelWindowsOf(processId)) {
        all += L"\n  " + Describe(top);
        std::vector<HWND> children;
        EnumChildWindows(top, CollectChildren, reinterpret_cast<LPARAM>(&children));
        for (HWND child : children) all += L"\n    " + Describe(child);
    }
    return ToUtf8(all.empty() ? L"(no windows)" : all);
}

}  // namespace e2e

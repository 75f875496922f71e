#include "message_box.h"

#include <algorithm>
#include <vector>

#include "text.h"
#include "wait.h"
#include "window_tree.h"

namespace e2e {

namespace {

constexpr int kTextStaticId = 0xFFFF;
constexpr int kIconStaticId = 0x14;

BOOL CALLBACK CollectChildren(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

bool IsIconStatic(HWND window) {
    return ClassOf(window) == L"Static" && IsWindowVisible(window) &&
           (GetWindowLongW(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// The icon's colours on screen tell the stop sign (red) from the information sign (blue).
BoxIcon ClassifyIconPixels(HWND iconStatic) {
    RECT rect{};
    GetWindowRect(iconStatic, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return BoxIcon::None;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    int red = 0, blue = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = GetPixel(memory, x, y);
            const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            if (r > 150 && g < 110 && b < 110) ++red;
            if (b > 150 && r < 120 && b > g) ++blue;
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    const int enough = width * height / 20;
    if (red > enough && red > blue) return BoxIcon::Critical;
    if (blue > enough && blue > red) return BoxIcon::Information;
    return BoxIcon::Other;
}

}  // namespace

const char* IconName(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::None: return "none";
        case BoxIcon::Critical: return "critical";
        case BoxIcon::Information: return "information";
        case BoxIcon::Other: return "other";
    }
    return "?";
}

std::vector<HWND> MessageBoxesOf(DWORD processId) {
    std::vector<HWND> boxes;
    for (HWND window : TopLevelWindowsOf(processId))
        if (ClassOf(window) == L"#32770" && IsWindowVisible(window)) boxes.push_back(window);
    return boxes;
}

MessageBoxSeen ReadMessageBox(HWND box) {
    MessageBoxSeen seen;
    seen.window = box;
    seen.title = TextOf(box);
    std::vector<HWND> children;
    EnumChildWindows(box, CollectChildren, reinterpret_cast<LPARAM>(&children));
    HWND iconStatic = nullptr;
    for (HWND child : children) {
        const std::wstring cls = ClassOf(child);
        if (cls == L"Static" && GetDlgCtrlID(child) == kTextStaticId) seen.text = TextOf(child);
        if (IsIconStatic(child) && (!iconStatic || GetDlgCtrlID(child) == kIconStaticId))
            iconStatic = child;
        if (cls == L"Button" && IsWindowVisible(child)) seen.buttons.push_back(TextOf(child));
    }
    DWORD_PTR icon = 0;
    if (iconStatic)
        SendMessageTimeoutW(iconStatic, STM_GETICON, 0, 0, AnswerFlags(), AnswerTimeoutMs(), &icon);
    seen.icon = icon ? ClassifyIconPixels(iconStatic) : BoxIcon::None;
    return seen;
}

MessageBoxSeen WaitForMessageBox(DWORD processId, milliseconds timeout) {
    std::vector<HWND> boxes;
    if (!PollUntil([&] { return !(boxes = MessageBoxesOf(processId)).empty(); }, timeout))
        throw WaitFailed{L"no message box appeared; the process has: " +
                         FromUtf8(DescribeWindows(processId))};
    // A thread that was busy for seconds before it showed the box counts as hung until its
    // dialog loop takes the first message, and a hung thread answers no question: read the box
    // once it answers. The icon is read from the screen: wait until the box has painted it.
    HWND box = boxes.front();
    MessageBoxSeen seen;
    PollUntil([&] {
        return Answers(box, milliseconds(500)) && (seen = ReadMessageBox(box)).icon != BoxIcon::Other;
    }, std::max(timeout, milliseconds(3000)));
    return seen;
}

bool NoMessageBoxWithin(DWORD processId, milliseconds quiet) {
    return !PollUntil([&] { return !MessageBoxesOf(processId).empty(); }, quiet);
}

void PressOk(const MessageBoxSeen& box) {
    HWND ok = GetDlgItem(box.window, IDOK);
    if (ok)
        PostMessageW(ok, BM_CLICK, 0, 0);
    else
        PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (!PollUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }))
        throw WaitFailed(L"the message box " + box.title + L" did not close on OK");
}

}  // namespace e2e

// A command-line front for the driver, for the demo script: waits for Tovrel's main window,
// presses its buttons and answers its message boxes, printing what it sees.
//   TovrelDriver wait [seconds]     wait for the main window, print its list
//   TovrelDriver register           press "Registrar", print and answer each message
//   TovrelDriver list               print the list's entries and marks
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "control_ids.h"
#include "message_box.h"
#include "remote_listview.h"
#include "text.h"
#include "window_tree.h"

namespace {

using namespace e2e;
using namespace tovrel::ui;

void Say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

HWND WaitForMainWindow(milliseconds timeout) {
    HWND form1 = nullptr;
    PollUntil([&] {
        form1 = FindWindowW(kForm1ClassName, nullptr);
        return form1 && IsWindowVisible(form1);
    }, timeout);
    if (!form1 || !IsWindowVisible(form1)) throw WaitFailed(L"Tovrel's main window did not appear");
    return form1;
}

DWORD ProcessOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id;
}

void PrintList(HWND form1) {
    RemoteListView list(Child(form1, kList1));
    const int count = list.Count();
    Say("Tovrel shows " + std::to_string(count) + " component(s):");
    for (int i = 0; i < count; ++i)
        Say(std::string(list.Checked(i) ? "  [x] " : "  [ ] ") + Printable(list.Text(i)));
}

int Register(HWND form1) {
    const DWORD process = ProcessOf(form1);
    Click(Child(form1, kCmdRegistrar));
    for (int answered = 0; answered < 1000; ++answered) {
        const MessageBoxSeen box = WaitForMessageBox(process, milliseconds(60000));
        Say("Message \"" + ToUtf8(box.title) + "\" (" + IconName(box.icon) + "): " +
            Printable(box.text));
        PressOk(box);
        if (box.text == L"Finalizado") {
            const std::wstring errors = TextOf(Child(form1, kTxtError));
            if (!errors.empty()) Say("Error box: " + Printable(errors));
            return 0;
        }
        if (box.text == L"Error en la definicion del archivo de Registro") return 1;
    }
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    try {
        if (command == L"wait") {
            const int seconds = argc > 2 ? _wtoi(argv[2]) : 60;
            HWND form1 = WaitForMainWindow(milliseconds(seconds * 1000));
            Say("Tovrel's main window is up: " + Printable(TextOf(form1)));
            PrintList(form1);
            return 0;
        }
        if (command == L"list") {
            PrintList(WaitForMainWindow(milliseconds(5000)));
            return 0;
        }
        if (command == L"register") return Register(WaitForMainWindow(milliseconds(30000)));
        Say("usage: TovrelDriver wait [seconds] | list | register");
        return 2;
    } catch (const std::exception& e) {
        Say(std::string("TovrelDriver: ") + e.what());
        return 1;
    }
}

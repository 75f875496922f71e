// One Tovrel process, "Registrar" pressed many times over a list of 200 entries of which three
// are checked (two copied with their backups, one registered in place): what the process holds
// after the 50th press and after the last must be the same. TOVREL_SOAK_PRESSES=500 gives the
// long soak; TOVREL_SOAK_CHECKED changes how many entries are checked.
#include "app_fixture.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace e2e {
namespace {

using SoakTest = TovrelAppTest;

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<size_t*>(count);
    return TRUE;
}

// The process's entries in the system's handle table: Wine answers GetProcessHandleCount
// for another process with 0, but lists every handle here.
DWORD HandlesInTheSystemTable(DWORD processId) {
    struct Entry {
        ULONG ownerId;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ACCESS_MASK access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    using Query = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
    if (!query) return 0;
    std::vector<unsigned char> buffer(1 << 20);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kLengthMismatch) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed));
            continue;
        }
        if (status < 0) return 0;
        break;
    }
    const auto* table = reinterpret_cast<const Table*>(buffer.data());
    DWORD count = 0;
    for (ULONG i = 0; i < table->count; ++i) count += table->entries[i].ownerId == processId;
    return count;
}

struct Usage {
    DWORD handles = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    SIZE_T privateBytes = 0;
    SIZE_T workingSet = 0;

    size_t windows = 0;  // top-level windows and their children: the USER objects Wine can count
};

Usage Measure(const AppProcess& app) {
    Usage usage;
    if (!GetProcessHandleCount(app.handle(), &usage.handles) || usage.handles == 0)
        usage.handles = HandlesInTheSystemTable(app.id());
    usage.gdiObjects = GetGuiResources(app.handle(), GR_GDIOBJECTS);
    usage.userObjects = GetGuiResources(app.handle(), GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(app.handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        std::printf("soak: memory: error %lu\n", GetLastError());
    // Windows gives the commit charge as both; Wine fills only the second.
    usage.privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    usage.workingSet = memory.WorkingSetSize;
    for (HWND window : TopLevelWindowsOf(app.id())) {
        ++usage.windows;
        EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&usage.windows));
    }
    return usage;
}

void Print(int press, const Usage& u) {
    std::printf("soak: after press %d: handles %lu, GDI objects %lu, USER objects %lu, windows %zu, "
                "private bytes %.2f MiB, working set %.2f MiB\n",
                press, static_cast<unsigned long>(u.handles), static_cast<unsigned long>(u.gdiObjects),
                static_cast<unsigned long>(u.userObjects), u.windows, u.privateBytes / 1048576.0, u.workingSet / 1048576.0);
    std::fflush(stdout);
}

// At most 1% more (never less than one object of slack on a small count).
void ExpectObjectsKept(const char* what, double before, double after) {
    EXPECT_LE(after, before + std::max(1.0, before / 100)) << what << " grew from " << before << " to " << after;
}

TEST_F(SoakTest, HundredsOfRunsInOneProcessLeakNothing) {
    const char* configured = std::getenv("TOVREL_SOAK_PRESSES");
    // A press takes about 0.2 s under Wine, far longer in the emulated machine: by default as
    // many as the emulated machine runs in a few minutes.
    const int presses = (configured && *configured) ? std::atoi(configured) : 80;
    constexpr int kEarly = 50;
    ASSERT_GT(presses, kEarly);

    const std::wstring stem = UniqueStem(L"sk");
    const std::wstring copied[] = {stem + L"s.dll", stem + L"w.dll"};
    const std::wstring destinations[] = {JoinPath(SystemFolder(), copied[0]), JoinPath(WindowsFolder(), copied[1])};
    std::vector<std::wstring> lines = {L"' soak", copied[0] + L",Systempath$", copied[1] + L",winpath$",
                                       stem + L"a.dll,"};
    for (int i = 0; lines.size() < 201; ++i) lines.push_back(stem + std::to_wstring(i) + L".dll,Systempath$");
    for (int i = 0; i < 2; ++i) {
        WriteBytes(InApp(copied[i]), std::string(4096, static_cast<char>('a' + i)));
        RemoveAtEnd(destinations[i]);
        const std::wstring base = destinations[i].substr(0, destinations[i].size() - 3);
        for (int n = 0; n < presses; ++n) {
            wchar_t digits[4];
            swprintf(digits, 4, L"%03d", n % 1000);
            RemoveAtEnd(base + digits);
        }
    }
    Prepare(lines);
    StartAndWaitForForm1();
    Click(Control(tovrel::ui::kCmdMarcar));  // every entry unchecked, then the three checked
    RemoteListView list(Control(tovrel::ui::kList1));
    ASSERT_EQ(list.Count(), 200);
    ASSERT_TRUE(PollUntil([&] { return !list.Checked(0) && !list.Checked(199); }));
    const char* checkedText = std::getenv("TOVREL_SOAK_CHECKED");
    const int checked = std::min(3, (checkedText && *checkedText) ? std::atoi(checkedText) : 3);
    for (int i = 0; i < checked; ++i) list.SetChecked(i, true);

    const auto started = Clock::now();
    Usage early;
    for (int press = 1; press <= presses && !HasFatalFailure(); ++press) {
        // The box is told by its text alone: reading its icon off the screen costs seconds.
        Click(Control(tovrel::ui::kCmdRegistrar));
        std::vector<HWND> boxes;
        ASSERT_TRUE(PollUntil([&] { return !(boxes = MessageBoxesOf(app_->id())).empty(); }, milliseconds(30000)))
            << "press " << press << ": no closing message; " << DescribeWindows(app_->id());
        MessageBoxSeen box;
        box.window = boxes.front();
        ASSERT_EQ(TextOf(GetDlgItem(box.window, 0xFFFF)), L"Finalizado") << "press " << press;
        PressOk(box);
        if (press == kEarly) {
            early = Measure(*app_);
            Print(press, early);
        }
    }
    const Usage late = Measure(*app_);
    Print(presses, late);
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    std::printf("soak: %d presses in %.1f s (%.0f ms a press)\n", presses, seconds, seconds * 1000 / presses);

    ExpectObjectsKept("handles", early.handles, late.handles);
    ExpectObjectsKept("GDI objects", early.gdiObjects, late.gdiObjects);
    ExpectObjectsKept("USER objects", early.userObjects, late.userObjects);
    ExpectObjectsKept("windows", static_cast<double>(early.windows), static_cast<double>(late.windows));
    EXPECT_LE(static_cast<double>(late.privateBytes), static_cast<double>(early.privateBytes) + 2.0 * 1048576)
        << "private bytes grew from " << early.privateBytes << " to " << late.privateBytes;
    std::vector<std::wstring> refused;
    EXPECT_TRUE(ErrorLinesBesideWineRefusals(refused).empty()) << Printable(TextOf(Control(tovrel::ui::kTxtError)));
    std::printf("soak: %zu of %d launches refused by Wine as they started\n", refused.size(), presses * checked);
    EXPECT_LE(refused.size() * 100, static_cast<size_t>(presses * checked)) << "more than 1% of the launches refused";
    if (checked > 0)
        WaitForLaunches(LaunchLog(), static_cast<size_t>(presses * checked) - refused.size(), milliseconds(60000));
    ExpectResponsive();
}

}  // namespace
}  // namespace e2e

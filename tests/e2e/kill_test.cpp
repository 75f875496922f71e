// Runs that replace large components in the system and Windows folders, each ended with
// TerminateProcess at a random moment: after every kill each destination holds its old or its
// new content whole, each backup the file it saved, and no old content is lost; a last run
// then completes. The seed is printed; TOVREL_KILL_SEED repeats a sequence, TOVREL_KILL_COUNT
// and TOVREL_KILL_MB change the number of kills and the components' size.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>

#include "app_fixture.h"

namespace e2e {
namespace {

using KillTest = TovrelAppTest;

constexpr wchar_t kTemporaryPattern[] = L"~tovrel-*.tmp";

unsigned long long EnvironmentNumber(const char* name, unsigned long long fallback) {
    const char* text = std::getenv(name);
    return (text && *text) ? std::strtoull(text, nullptr, 10) : fallback;
}

// Content number `generation` of component `which`: every 8 bytes differ from every other
// content's, so a file made of pieces of two contents equals neither.
std::string Content(int which, int generation, size_t size) {
    std::string bytes(size, '\0');
    unsigned long long state = (static_cast<unsigned long long>(which) << 32) ^ static_cast<unsigned>(generation);
    for (size_t at = 0; at + 8 <= size; at += 8) {
        unsigned long long z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        memcpy(&bytes[at], &z, 8);
    }
    return bytes;
}

struct Component {
    std::wstring name;         // bare name, in the application folder
    std::wstring destination;  // full path in the system or Windows folder
    std::string old;           // what the destination holds before a run
    std::string fresh;         // what the application folder holds: the run's new content
    int generation = 1;
    std::wstring Backup(int n) const {
        wchar_t digits[4];
        swprintf(digits, 4, L"%03d", n);
        return destination.substr(0, destination.size() - 3) + digits;
    }
};

struct Tally {
    int kills = 0;
    int killsDuringCopy = 0;
    int torn = 0;
    int lost = 0;
    int temporaryLeft = 0;  // summed over the kills
    int maxTemporaryAtOnce = 0;
};

// Temporary files (names and sizes) in the destination folders, hidden ones included.
std::map<std::wstring, unsigned long long> Temporaries(const std::vector<std::wstring>& folders) {
    std::map<std::wstring, unsigned long long> found;
    for (const std::wstring& folder : folders) {
        for (const std::wstring& name : FileNamesMatching(folder, kTemporaryPattern)) {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            const std::wstring path = JoinPath(folder, name);
            if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
                found[path] = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        }
    }
    return found;
}

TEST_F(KillTest, KilledRunsLeaveEveryFileOldOrNewAndEveryBackupWhole) {
    const unsigned long long seed =
        EnvironmentNumber("TOVREL_KILL_SEED", static_cast<unsigned long long>(
                                                  Clock::now().time_since_epoch().count() & 0xFFFFFFFF));
    const int kills = static_cast<int>(EnvironmentNumber("TOVREL_KILL_COUNT", 102));
    const size_t size = static_cast<size_t>(EnvironmentNumber("TOVREL_KILL_MB", 32)) << 20;
    std::printf("kill test: seed %llu (TOVREL_KILL_SEED repeats it), %d kills, components of %zu MiB\n", seed,
                kills, size >> 20);
    std::fflush(stdout);
    std::mt19937_64 random(seed);

    const std::wstring stem = UniqueStem(L"kil");
    const std::vector<std::wstring> folders = {SystemFolder(), WindowsFolder()};
    std::vector<Component> components(2);
    std::vector<std::wstring> lines;
    const wchar_t* tokens[] = {L"Systempath$", L"winpath$"};
    for (size_t i = 0; i < components.size(); ++i) {
        Component& c = components[i];
        c.name = stem + (i == 0 ? L"s.dll" : L"w.dll");
        c.destination = JoinPath(folders[i], c.name);
        c.old = Content(static_cast<int>(i), 0, size);
        c.fresh = Content(static_cast<int>(i), 1, size);
        WriteBytes(c.destination, c.old);
        WriteBytes(InApp(c.name), c.fresh);
        RemoveAtEnd(c.destination);
        for (int n = 0; n < 3; ++n) RemoveAtEnd(c.Backup(n));
        lines.push_back(c.name + L"," + tokens[i]);
    }
    Prepare(lines);
    for (const auto& [path, bytes] : Temporaries(folders)) RemoveFileIfPresent(path);  // an earlier test's

    // One whole run first: how long a run takes, for drawing the moments.
    StartAndWaitForForm1();
    const auto started = Clock::now();
    Click(Control(tovrel::ui::kCmdRegistrar));
    ExpectFinalizado(milliseconds(120000));
    const long long runMs = std::chrono::duration_cast<milliseconds>(Clock::now() - started).count();
    app_->Terminate();
    std::printf("kill test: a whole run takes %lld ms\n", runMs);

    Tally tally;
    std::string bytes;
    const auto verify = [&](bool afterKill) {
        for (Component& c : components) {
            SCOPED_TRACE(ToUtf8(c.destination));
            ASSERT_TRUE(ReadBytes(c.destination, bytes)) << "the destination is gone";
            const bool isNew = bytes == c.fresh;
            if (!isNew && bytes != c.old) {
                ++tally.torn;
                ADD_FAILURE() << "torn destination: " << bytes.size() << " bytes";
            }
            bool oldSaved = false;
            for (int n = 0; n < 3; ++n) {
                if (!ReadBytes(c.Backup(n), bytes)) continue;
                if (bytes == c.old) {
                    oldSaved = true;
                } else if (!(n > 0 && bytes == c.fresh)) {  // a second backup saves the new content
                    ++tally.torn;
                    ADD_FAILURE() << "torn backup " << n << ": " << bytes.size() << " bytes";
                }
            }
            if (isNew && !oldSaved) {
                ++tally.lost;
                ADD_FAILURE() << "the old content is neither in place nor in a backup";
            }
            if (afterKill && isNew) {  // the next run replaces this content with another
                c.old = std::move(c.fresh);
                c.fresh = Content(static_cast<int>(&c - components.data()), ++c.generation, size);
                WriteBytes(InApp(c.name), c.fresh);
            }
            for (int n = 0; n < 3; ++n) RemoveFileIfPresent(c.Backup(n));
        }
    };

    for (int k = 0; k < kills && !HasFatalFailure(); ++k) {
        const auto before = Temporaries(folders);
        StartAndWaitForForm1();
        Click(Control(tovrel::ui::kCmdRegistrar));
        if (random() % 5 < 2) {
            // Aim at a copy: the moment a temporary file of this run appears, and a little after.
            PollUntil([&] { return Temporaries(folders) != before; }, milliseconds(runMs * 2 + 2000));
            Sleep(static_cast<DWORD>(random() % 15));
        } else {
            Sleep(static_cast<DWORD>(random() % (runMs * 12 / 10 + 1)));
        }
        TerminateProcess(app_->handle(), 1);
        ASSERT_TRUE(app_->WaitForExit(10000)) << "the killed program did not end";
        ++tally.kills;
        const auto after = Temporaries(folders);
        bool duringCopy = false;
        for (const auto& [path, length] : after) {
            const auto was = before.find(path);
            duringCopy |= was == before.end() || was->second != length;
        }
        tally.killsDuringCopy += duringCopy;
        tally.temporaryLeft += static_cast<int>(after.size());
        tally.maxTemporaryAtOnce = std::max(tally.maxTemporaryAtOnce, static_cast<int>(after.size()));
        // One destination, one temporary name: never more than one per destination.
        EXPECT_LE(after.size(), 2 * components.size());
        verify(true);
    }

    // A last run completes over whatever the kills left.
    const auto beforeLast = Temporaries(folders);
    StartAndWaitForForm1();
    PressRegistrarAndFinish();
    app_->Terminate();
    const auto afterLast = Temporaries(folders);
    const size_t leftAtEnd = afterLast.size();
    for (const auto& [path, length] : afterLast) {
        const auto was = beforeLast.find(path);
        std::printf("kill test: left after the last run: %s (%llu bytes, %s)\n", ToUtf8(path).c_str(), length,
                    was == beforeLast.end() ? "new" : "left by a kill");
    }
    // Each copy of the completed run clears what earlier copies left in its folder.
    EXPECT_EQ(leftAtEnd, 0u) << "the completed run left temporary files";
    for (const Component& c : components) {
        EXPECT_EQ(ContentsOf(c.destination) == c.fresh, true) << "the last run did not complete " << ToUtf8(c.name);
    }
    verify(false);
    std::printf("kill test: kills %d, kills during a copy %d, torn files found %d, old contents lost %d, "
                "temporary files left after the kills %d (at most %d at once), after the last run %zu\n",
                tally.kills, tally.killsDuringCopy, tally.torn, tally.lost, tally.temporaryLeft,
                tally.maxTemporaryAtOnce, leftAtEnd);
    EXPECT_EQ(tally.torn, 0);
    EXPECT_EQ(tally.lost, 0);
}

}  // namespace
}  // namespace e2e

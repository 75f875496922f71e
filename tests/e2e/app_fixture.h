#pragma once
// One test's Tovrel: a fresh application folder with the program, a registrar and a list
// file, the running process, and its main window's controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app_process.h"
#include "control_ids.h"
#include "files.h"
#include "launch_log.h"
#include "message_box.h"
#include "remote_listview.h"
#include "text.h"
#include "window_tree.h"

namespace e2e {

std::wstring TovrelExe();
std::wstring LoggingRegistrarExe();
std::wstring RealRegistrarExe();
std::wstring SampleADll();
std::wstring SampleDll(wchar_t letter);  // the sample servers A, B and C

// The list file's bytes: lines in the ANSI code page joined by CR LF; the last line has
// no terminator, as the reader allows.
std::string ListFileBytes(const std::vector<std::wstring>& lines);

inline constexpr wchar_t kForm1Title[] =
    L"Tovrel - Producto Desarrollado por Quirval - Soluciones Vevezoduveze";
inline constexpr COLORREF kGreen = RGB(0, 128, 0);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);

class TovrelAppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the list file and puts `registrarSource` (if any) as regsvr32.exe beside the
    // program; call before Start.
    void Prepare(const std::vector<std::wstring>& listLines,
                 const std::wstring& registrarSource = LoggingRegistrarExe());
    // The same with the list file's bytes as given, for lists no line joiner would write.
    void PrepareBytes(const std::string& listBytes,
                      const std::wstring& registrarSource = LoggingRegistrarExe());
    void Start();                 // starts the program, waits for nothing
    HWND StartAndWaitForForm1();  // starts it and waits for the main window

    std::wstring AppPath() const { return folder_ + L"\\"; }
    std::wstring InApp(const std::wstring& name) const { return JoinPath(folder_, name); }
    std::wstring LaunchLog() const { return InApp(L"regsvr32.log"); }
    // The command line the program gives the registrar for `component`.
    std::wstring RegistrarCommand(const std::wstring& component, bool silent) const;

    HWND Control(int id) const { return Child(form1_, id); }
    bool Checked(int buttonId) const;

    // Waits for the next message box, checks it and presses OK.
    void ExpectBox(const std::wstring& text, const std::wstring& title, BoxIcon icon);
    void PressRegistrarAndFinish();  // a run that must end with "Finalizado"
    // ExpectBox with its own deadline, for work that may take long under Wine.
    void ExpectBoxWithin(milliseconds timeout, const std::wstring& text, const std::wstring& title,
                         BoxIcon icon);
    void ExpectFinalizado(milliseconds timeout = kDefaultTimeout);

    // The lines of TxtError: its text split at CR LF, without the empty first piece that
    // every appended line leaves before it.
    std::vector<std::wstring> ErrorLines() const;
    // ErrorLines less the launches Wine itself refused: now and then, with many programs
    // starting, a new process of Wine's dies while it initialises and CreateProcess fails
    // with ERROR_INTERNAL_ERROR, which the program reports as "<component> <its text>".
    // Those components go to `refused`, and each is printed: a test that launches
    // hundreds of times accounts for them instead of failing on the platform's fault.
    std::vector<std::wstring> ErrorLinesBesideWineRefusals(std::vector<std::wstring>& refused) const;
    // The main window answers a message within a few seconds: the program is not hung.
    void ExpectResponsive() const;

    // Files outside the application folder that the test made; removed at the end.
    void RemoveAtEnd(const std::wstring& path) { outsideFiles_.push_back(path); }

    std::wstring folder_;  // the application folder, no trailing backslash
    std::unique_ptr<AppProcess> app_;
    HWND form1_ = nullptr;

private:
    std::vector<std::wstring> outsideFiles_;
};

}  // namespace e2e

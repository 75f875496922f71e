#include "app_fixture.h"

#include <cstdio>

namespace e2e {

std::wstring TovrelExe() { return ToWindowsPath(TOVREL_EXE_PATH); }
std::wstring LoggingRegistrarExe() { return ToWindowsPath(LOGGING_REGISTRAR_PATH); }
std::wstring RealRegistrarExe() { return ToWindowsPath(REGISTRAR_PATH); }
std::wstring SampleADll() { return ToWindowsPath(SAMPLE_A_PATH); }
std::wstring SampleDll(wchar_t letter) {
    return ToWindowsPath(letter == L'A' ? SAMPLE_A_PATH : letter == L'B' ? SAMPLE_B_PATH : SAMPLE_C_PATH);
}

std::string ListFileBytes(const std::vector<std::wstring>& lines) {
    std::string bytes;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) bytes += "\r\n";
        bytes += ToAnsi(lines[i]);
    }
    return bytes;
}

void TovrelAppTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = MakeUniqueFolder(FromUtf8(info->name()).substr(0, 12));
}

void TovrelAppTest::TearDown() {
    app_.reset();
    for (const std::wstring& path : outsideFiles_) RemoveFileIfPresent(path);
    if (!HasFailure()) RemoveTree(folder_);  // kept for a look when something failed
}

void TovrelAppTest::Prepare(const std::vector<std::wstring>& listLines,
                            const std::wstring& registrarSource) {
    CopyOrThrow(TovrelExe(), InApp(L"Tovrel.exe"));
    if (!registrarSource.empty()) CopyOrThrow(registrarSource, InApp(L"regsvr32.exe"));
    WriteBytes(InApp(L"TovrelSvr.lst"), ListFileBytes(listLines));
}

void TovrelAppTest::Start() {
    app_ = std::make_unique<AppProcess>(InApp(L"Tovrel.exe"), folder_);
}

HWND TovrelAppTest::StartAndWaitForForm1() {
    Start();
    form1_ = WaitForWindow(app_->id(), tovrel::ui::kForm1ClassName);
    return form1_;
}

std::wstring TovrelAppTest::RegistrarCommand(const std::wstring& component, bool silent) const {
    return L"\"" + AppPath() + L"\\regsvr32.exe \"\"" + component + L"\"" +
           (silent ? L" /s " : L" ");
}

bool TovrelAppTest::Checked(int buttonId) const {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(Control(buttonId), BM_GETCHECK, 0, 0, AnswerFlags(), AnswerTimeoutMs(), &state);
    return state == BST_CHECKED;
}

void TovrelAppTest::ExpectBox(const std::wstring& text, const std::wstring& title, BoxIcon icon) {
    const MessageBoxSeen box = WaitForMessageBox(app_->id());
    EXPECT_EQ(Printable(box.text), Printable(text));
    EXPECT_EQ(Printable(box.title), Printable(title)) << "for the message " << Printable(text);
    EXPECT_STREQ(IconName(box.icon), IconName(icon)) << "for the message " << Printable(text);
    EXPECT_EQ(box.buttons.size(), 1u) << "for the message " << Printable(text);
    PressOk(box);
}

void TovrelAppTest::PressRegistrarAndFinish() {
    Click(Control(tovrel::ui::kCmdRegistrar));
    ExpectBox(L"Finalizado", L"Atenci\u00f3n", BoxIcon::Information);
}

void TovrelAppTest::PrepareBytes(const std::string& listBytes, const std::wstring& registrarSource) {
    Prepare({}, registrarSource);
    WriteBytes(InApp(L"TovrelSvr.lst"), listBytes);
}

void TovrelAppTest::ExpectBoxWithin(milliseconds timeout, const std::wstring& text,
                                    const std::wstring& title, BoxIcon icon) {
    const MessageBoxSeen box = WaitForMessageBox(app_->id(), timeout);
    EXPECT_EQ(Printable(box.text), Printable(text));
    EXPECT_EQ(Printable(box.title), Printable(title)) << "for the message " << Printable(text);
    EXPECT_STREQ(IconName(box.icon), IconName(icon)) << "for the message " << Printable(text);
    EXPECT_EQ(box.buttons.size(), 1u) << "for the message " << Printable(text);
    PressOk(box);
}

void TovrelAppTest::ExpectFinalizado(milliseconds timeout) {
    ExpectBoxWithin(timeout, L"Finalizado", L"Atenci\u00f3n", BoxIcon::Information);
}

std::vector<std::wstring> TovrelAppTest::ErrorLines() const {
    const std::wstring text = TextOf(Control(tovrel::ui::kTxtError));
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end == std::wstring::npos ? end : end - start));
        if (end == std::wstring::npos) break;
        start = end + 2;
    }
    if (!lines.empty() && lines.front().empty()) lines.erase(lines.begin());
    return lines;
}

std::vector<std::wstring> TovrelAppTest::ErrorLinesBesideWineRefusals(std::vector<std::wstring>& refused) const {
    const std::wstring suffix = L" " + SystemErrorText(ERROR_INTERNAL_ERROR);
    std::vector<std::wstring> others;
    for (const std::wstring& line : ErrorLines()) {
        if (suffix.size() > 1 && line.size() > suffix.size() &&
            line.compare(line.size() - suffix.size(), suffix.size(), suffix) == 0) {
            refused.push_back(line.substr(0, line.size() - suffix.size()));
            std::printf("Wine refused to start the registrar for %s\n", ToUtf8(refused.back()).c_str());
        } else {
            others.push_back(line);
        }
    }
    return others;
}

void TovrelAppTest::ExpectResponsive() const {
    EXPECT_TRUE(Answers(form1_, milliseconds(5000)))
        << "the main window does not answer; the process has: " << DescribeWindows(app_->id());
}

}  // namespace e2e

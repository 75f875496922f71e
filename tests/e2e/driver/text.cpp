#include "text.h"

#include <algorithm>

#include <windows.h>

#include <cstdio>

namespace e2e {

namespace {

std::wstring Decode(UINT codePage, const std::string& bytes) {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                      nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string Encode(UINT codePage, const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring FromUtf8(const std::string& bytes) { return Decode(CP_UTF8, bytes); }
std::string ToUtf8(const std::wstring& text) { return Encode(CP_UTF8, text); }
std::string ToAnsi(const std::wstring& text) { return Encode(CP_ACP, text); }
std::wstring FromAnsi(const std::string& bytes) { return Decode(CP_ACP, bytes); }

std::string Printable(const std::wstring& text) {
    std::wstring shown;
    for (wchar_t c : text) {
        if (c == L'\r') shown += L"\\r";
        else if (c == L'\n') shown += L"\\n";
        else if (c == L'\t') shown += L"\\t";
        else if (c < 0x20) {
            wchar_t buffer[8];
            swprintf(buffer, 8, L"\\x%02x", static_cast<unsigned>(c));
            shown += buffer;
        } else {
            shown += c;
        }
    }
    return "\"" + ToUtf8(shown) + "\"";
}

std::wstring SystemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text = n ? std::wstring(buffer, n) : L"";
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

bool StartsWith(const std::wstring& text, const std::wstring& head) {
    return text.compare(0, head.size(), head) == 0;
}

std::vector<std::string> SortedPrintable(std::vector<std::wstring> texts) {
    std::sort(texts.begin(), texts.end());
    std::vector<std::string> printable;
    for (const std::wstring& text : texts) printable.push_back(Printable(text));
    return printable;
}

}  // namespace e2e

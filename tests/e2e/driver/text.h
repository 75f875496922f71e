#pragma once
// Text conversions for the driver: ANSI list files, UTF-8 logs, readable failures.
#include <string>
#include <vector>

namespace e2e {

std::wstring FromUtf8(const std::string& bytes);
std::string ToUtf8(const std::wstring& text);
std::string ToAnsi(const std::wstring& text);  // the workstation's ANSI code page
std::wstring FromAnsi(const std::string& bytes);

// Makes control characters visible so failure messages show CR, LF and tabs.
std::string Printable(const std::wstring& text);

// The platform's own text for an error code, without the trailing line break.
std::wstring SystemErrorText(unsigned long code);

bool StartsWith(const std::wstring& text, const std::wstring& head);
// Printable forms, sorted: for comparing what arrives in no fixed order.
std::vector<std::string> SortedPrintable(std::vector<std::wstring> texts);

}  // namespace e2e

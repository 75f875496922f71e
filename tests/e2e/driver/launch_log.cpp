#include "launch_log.h"

#include <stdexcept>

#include "files.h"
#include "text.h"

namespace e2e {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    throw std::runtime_error("bad escape in the launch log");
}

std::wstring Unescape(const std::string& field) {
    std::string raw;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '%') {
            if (i + 2 >= field.size())
                throw std::runtime_error("truncated escape in the launch log");
            raw += static_cast<char>(HexValue(field[i + 1]) * 16 + HexValue(field[i + 2]));
            i += 2;
        } else {
            raw += field[i];
        }
    }
    return FromUtf8(raw);
}

}  // namespace

std::vector<LaunchRecord> ParseLaunchLog(const std::string& bytes) {
    std::vector<LaunchRecord> records;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) break;  // a record still being written
        const std::string line = bytes.substr(start, end - start);
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || line.find('\t', tab + 1) != std::string::npos)
            throw std::runtime_error("malformed launch record: " + line);
        records.push_back({Unescape(line.substr(0, tab)), Unescape(line.substr(tab + 1))});
        start = end + 2;
    }
    return records;
}

std::vector<LaunchRecord> ReadLaunchLog(const std::wstring& logPath) {
    std::string bytes;
    if (!ReadBytes(logPath, bytes)) return {};
    return ParseLaunchLog(bytes);
}

std::vector<LaunchRecord> WaitForLaunches(const std::wstring& logPath, size_t count,
                                          milliseconds timeout) {
    std::vector<LaunchRecord> records;
    if (PollUntil([&] { return (records = ReadLaunchLog(logPath)).size() >= count; }, timeout))
        return records;
    std::wstring seen;
    for (const LaunchRecord& r : records) seen += L"\n  " + FromUtf8(Printable(r.commandLine));
    throw WaitFailed{L"expected " + std::to_wstring(count) + L" launches in " + logPath +
                     L", saw " + std::to_wstring(records.size()) + L":" + seen};
}

std::vector<std::wstring> CommandLines(const std::vector<LaunchRecord>& records) {
    std::vector<std::wstring> commands;
    for (const LaunchRecord& r : records) commands.push_back(r.commandLine);
    return commands;
}

}  // namespace e2e

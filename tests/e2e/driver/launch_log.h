#pragma once
// Reading what the logging stand-in recorded: one record per launch.
#include <string>
#include <vector>

#include "wait.h"

namespace e2e {

struct LaunchRecord {
    std::wstring commandLine;
    std::wstring currentFolder;
};

// Parses the log; a malformed record throws.
std::vector<LaunchRecord> ParseLaunchLog(const std::string& bytes);
std::vector<LaunchRecord> ReadLaunchLog(const std::wstring& logPath);
std::vector<std::wstring> CommandLines(const std::vector<LaunchRecord>& records);
// Waits until the log holds at least `count` records; throws WaitFailed with what it holds.
std::vector<LaunchRecord> WaitForLaunches(const std::wstring& logPath, size_t count,
                                          milliseconds timeout = kDefaultTimeout);

}  // namespace e2e

#pragma once
// The check's answer as text: line by line what a run would do, the findings in the form
// compilers and build servers read ("TovrelSvr.lst(12): error TVR001: ..."), and a summary.
#include <string>
#include <vector>

#include "checker/list_check.h"

namespace tovrel::checker {

// "TovrelSvr.lst(12): error TVR001: text", or without "(line)" for the list as a whole.
std::wstring FindingLine(const Finding& finding);

std::wstring SummaryLine(const CheckResult& result);

// Everything, in output order.
std::vector<std::wstring> ReportLines(const CheckResult& result);

}  // namespace tovrel::checker

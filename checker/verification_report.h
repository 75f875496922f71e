#pragma once
// The verification's answer as text, in the check's format: each component the run hands to
// the registrar with what the registry says of it, the findings, and a summary.
#include <string>
#include <vector>

#include "checker/registration_verification.h"

namespace tovrel::checker {

std::vector<std::wstring> VerificationReportLines(const VerificationResult& result);

}  // namespace tovrel::checker

#include "checker/run_record.h"

namespace tovrel::checker {

void StartupRecord::EntryListed(long number, const std::wstring& line) {
  entries.push_back({number, line, EntryFate::Listed, {}});
  listedLines.push_back(number);
}

void StartupRecord::EntryPassedOver(long number, const std::wstring& line, const catalogue::ErrorLine& error) {
  entries.push_back({number, line, EntryFate::PassedOver, error.Text()});
}

void StartupRecord::EntryBeyondLimit(long number, const std::wstring& line) {
  entries.push_back({number, line, EntryFate::BeyondLimit, {}});
}

void StartupRecord::ListLoaded(const std::optional<std::wstring>& failure) {
  if (failure) readFailure = failure;
}

void RunRecord::Destination(const std::wstring& component, const registration::Placement& placement) {
  Current().component = component;
  Current().placement = placement;
}

void RunRecord::Copied(const std::wstring& from, const std::wstring& to) {
  Current().copies.push_back({from, to});
}

void RunRecord::Error(const catalogue::ErrorLine& error) {
  if (error.cause == catalogue::ErrorCause::ListUnreadable && !readFailure) readFailure = error.description;
  Current().errors.push_back(error);
}

}  // namespace tovrel::checker

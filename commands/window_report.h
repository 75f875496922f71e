#pragma once
// Start-up's and the run's events as the main window shows them: message boxes, the status
// label and the error box, in the order they happen.
#include <string>

#include "catalogue/report.h"
#include "platform/main_window.h"
#include "registration/run_report.h"

namespace tovrel::commands {

class WindowReport final : public catalogue::StartupReport, public registration::RunReport {
 public:
  explicit WindowReport(platform::WindowTexts& window) : window_(window) {}

  // Lines passed over go into the error box together once the list is read: one addition
  // instead of one per line.
  void EntryListed(long, const std::wstring&) override {}
  void EntryPassedOver(long number, const std::wstring& line, const catalogue::ErrorLine& error) override;
  void EntryBeyondLimit(long, const std::wstring&) override {}
  void ListLoaded(const std::optional<std::wstring>& failure) override;

  void Message(const platform::OperatorMessage& message) override;
  void Status(const std::wstring& text) override;
  void Error(const catalogue::ErrorLine& line) override;
  // After the last line: "Finalizado", then the status label is cleared.
  void Finished(const registration::RunEnd& end) override;

  // What the window does not show.
  void LineTakenUp(long, const std::wstring&) override {}
  void Destination(const std::wstring&, const registration::Placement&) override {}
  void ComponentLookedFor(const std::wstring&, bool) override {}
  void Backup(const registration::BackupResult&) override {}
  void Copied(const std::wstring&, const std::wstring&) override {}
  void RegistrarLaunched(const std::wstring&) override {}

 private:
  platform::WindowTexts& window_;
  std::wstring passedOver_;
};

}  // namespace tovrel::commands

#include "commands/window_report.h"

#include "registration/run_messages.h"

namespace tovrel::commands {

namespace {

// Every line of the error box starts with a line break.
std::wstring BoxLine(const catalogue::ErrorLine& line) { return L"\r\n" + line.Text(); }

}  // namespace

void WindowReport::EntryPassedOver(long, const std::wstring&, const catalogue::ErrorLine& error) {
  passedOver_ += BoxLine(error);
}

void WindowReport::ListLoaded(const std::optional<std::wstring>&) {
  if (!passedOver_.empty()) window_.AppendErrorText(passedOver_);
  passedOver_.clear();
}

void WindowReport::Message(const platform::OperatorMessage& message) {
  window_.ShowMessage(message.text, message.title, message.icon);
}

void WindowReport::Status(const std::wstring& text) { window_.SetStatus(text); }

void WindowReport::Error(const catalogue::ErrorLine& line) { window_.AppendErrorText(BoxLine(line)); }

void WindowReport::Finished(const registration::RunEnd& end) {
  if (end.outcome != registration::RunOutcome::Ended) return;
  Message(registration::ClosingMessage());
  window_.SetStatus(L"");
}

}  // namespace tovrel::commands

#pragma once
// What start-up and a run told of their work, kept as the checker reads it: each entry line
// with what start-up made of it, and under each line's number what the run did with it.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/report.h"
#include "registration/run_report.h"

namespace tovrel::checker {

enum class EntryFate { Listed, PassedOver, BeyondLimit };

struct ReadEntry {
  long number;
  std::wstring text;
  EntryFate fate;
  std::wstring shown;  // when passed over: its line in the error box
};

class StartupRecord final : public catalogue::StartupReport {
 public:
  std::vector<ReadEntry> entries;  // every entry line, in the order read
  std::vector<long> listedLines;   // the line of each checklist entry, by its index
  std::optional<std::wstring> readFailure;
  std::vector<platform::OperatorMessage> messages;

  void EntryListed(long number, const std::wstring& line) override;
  void EntryPassedOver(long number, const std::wstring& line, const catalogue::ErrorLine& error) override;
  void EntryBeyondLimit(long number, const std::wstring& line) override;
  void ListLoaded(const std::optional<std::wstring>& failure) override;
  void Message(const platform::OperatorMessage& message) override { messages.push_back(message); }
};

struct Lookup {
  std::wstring path;
  bool found;
};

struct CopyMade {
  std::wstring from;
  std::wstring to;
};

// What the run did while it handled one line.
struct LineEffects {
  std::wstring component;
  std::optional<registration::Placement> placement;
  std::optional<Lookup> lookup;
  std::optional<registration::BackupResult> backup;
  std::vector<CopyMade> copies;
  std::vector<std::wstring> statusTexts;
  std::vector<std::wstring> messages;
  std::vector<catalogue::ErrorLine> errors;
  std::vector<std::wstring> commandLines;
};

class RunRecord final : public registration::RunReport {
 public:
  long line = 0;  // the line being handled; 0 before the first
  std::map<long, LineEffects> effects;
  std::optional<std::wstring> readFailure;
  std::optional<registration::RunEnd> end;

  void LineTakenUp(long number, const std::wstring&) override { line = number; }
  void Destination(const std::wstring& component, const registration::Placement& placement) override;
  void ComponentLookedFor(const std::wstring& path, bool found) override { Current().lookup = Lookup{path, found}; }
  void Backup(const registration::BackupResult& backup) override { Current().backup = backup; }
  void Copied(const std::wstring& from, const std::wstring& to) override;
  void Status(const std::wstring& text) override { Current().statusTexts.push_back(text); }
  void Message(const platform::OperatorMessage& message) override { Current().messages.push_back(message.text); }
  void Error(const catalogue::ErrorLine& error) override;
  void RegistrarLaunched(const std::wstring& commandLine) override { Current().commandLines.push_back(commandLine); }
  void Finished(const registration::RunEnd& runEnd) override { end = runEnd; }

 private:
  LineEffects& Current() { return effects[line]; }
};

}  // namespace tovrel::checker

#pragma once
// The location tokens of an entry line and the folders they name.
#include <optional>
#include <string_view>

#include "platform/text_comparer.h"

namespace tovrel::catalogue {

enum class Location {
  AppFolder,    // empty token: AppPath
  Crystal,      // Crystal$: CrystalPath
  WindowsDir,   // winpath$: WinPath
  SystemDir,    // Systempath$: SysPath
  CurrentPath,  // CurrentPath$: registered where it lies
};

// Trims the token of spaces and compares it, ignoring letter case, with the empty token,
// Crystal$, winpath$, Systempath$ and CurrentPath$ in that order. Nothing when none is equal.
std::optional<Location> ResolveLocationToken(std::wstring_view token, platform::TextComparer& text);

}  // namespace tovrel::catalogue

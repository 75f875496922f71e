#pragma once
// The main window's state record: written once by start-up, read by every run.
#include <cstdint>
#include <string>

namespace tovrel::catalogue {

struct MainState {
  std::int16_t FileNum = 0;   // number of the open list file; each run takes it afresh
  std::wstring ListFile;      // "TovrelSvr.lst" once the registrar was found
  std::wstring AppPath;       // application folder, ending in exactly one backslash
  std::wstring CrystalPath;   // WinPath + "\Crystal"
  std::wstring WinPath;       // Windows folder, as the platform reports it
  std::wstring SysPath;       // system folder, as the platform reports it
};

inline constexpr wchar_t kListFileName[] = L"TovrelSvr.lst";
inline constexpr wchar_t kRegistrarFileName[] = L"regsvr32.exe";

}  // namespace tovrel::catalogue

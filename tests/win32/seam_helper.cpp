// A small program the seam's tests start as a separate process, to see the seam from
// inside a program they launched. Each mode writes what it found to an output file; the
// file appears whole (written aside, then renamed), so a poller never reads half of it.
#include <string>

#include "platform/win32/win32_platform.h"

namespace {

bool WriteWhole(const std::wstring& path, const void* data, std::size_t size) {
  const std::wstring aside = path + L".partial";
  HANDLE file = ::CreateFileW(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  ::CloseHandle(file);
  return ok && ::MoveFileExW(aside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

bool WriteText(const std::wstring& path, const std::wstring& text) {
  return WriteWhole(path, text.data(), text.size() * sizeof(wchar_t));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring mode = argv[1];
  const std::wstring out = argv[2];
  try {
    if (mode == L"write" && argc == 4) return WriteText(out, argv[3]) ? 0 : 1;
    if (mode == L"command-line") return WriteText(out, ::GetCommandLineW()) ? 0 : 1;
    if (mode == L"app-folder") {
      return WriteText(out, tovrel::platform::Win32SystemFolders().ApplicationFolder()) ? 0 : 1;
    }
    if (mode == L"load" && argc == 5) {
      if (std::wstring(argv[4]) == L"harden") tovrel::platform::HardenDllSearch();
      const HMODULE module = ::LoadLibraryW(argv[3]);
      return WriteText(out, module != nullptr ? L"loaded" : L"refused") ? 0 : 1;
    }
  } catch (const tovrel::platform::PlatformError& error) {
    WriteText(out, L"error: " + error.Description());
    return 1;
  }
  return 2;
}

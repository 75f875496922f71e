#pragma once
// The seam's real implementation on Win32. Every failure goes through ThrowLastError (or
// ThrowWin32Error), so the logic always sees a PlatformError with the system's own text.
#include <windows.h>

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/background_work.h"
#include "platform/file_system.h"
#include "platform/platform_error.h"
#include "platform/process_launcher.h"
#include "platform/system_folders.h"
#include "platform/text_comparer.h"
#include "platform/text_files.h"
#include "platform/win32/unique_handle.h"

namespace tovrel::platform {

// The system's description of `code`, without its trailing line break; a text with the
// number when the system has none.
std::wstring DescribeWin32Error(DWORD code);
// Throws PlatformError describing `code`.
[[noreturn]] void ThrowWin32Error(DWORD code);
// Throws PlatformError describing GetLastError().
[[noreturn]] void ThrowLastError();

// Restricts implicit DLL loading to the system folder: the program runs elevated in a
// folder full of DLLs, any of which would otherwise be loaded in place of a system one.
void HardenDllSearch();

class Win32FileSystem final : public FileSystem {
 public:
  bool FindNormalFile(const std::wstring& pattern) override;
  std::optional<CopyRefusal> WhyCopyRefused(const std::wstring& from, const std::wstring& to,
                                            bool replaceExisting) override;
  void Copy(const std::wstring& from, const std::wstring& to, bool replaceExisting) override;
};

class Win32TextFileSystem final : public TextFileSystem {
 public:
  std::unique_ptr<TextFile> OpenText(const std::wstring& path) override;
};

class Win32SystemFolders final : public SystemFolders {
 public:
  std::uint32_t WindowsDirectory(wchar_t* buffer, std::uint32_t size) override;
  std::uint32_t SystemDirectory(wchar_t* buffer, std::uint32_t size) override;
  std::wstring ApplicationFolder() override;
};

class Win32ProcessLauncher final : public ProcessLauncher {
 public:
  void Launch(const std::wstring& applicationPath, const std::wstring& commandLine) override;
};

class Win32TextComparer final : public TextComparer {
 public:
  bool Equal(std::wstring_view a, std::wstring_view b) override;
  std::string SortKey(std::wstring_view text) override;
};

// One thread at a time beside the caller's; destroying it waits for the work.
class Win32BackgroundWork final : public BackgroundWork {
 public:
  Win32BackgroundWork() = default;
  ~Win32BackgroundWork() override;
  Win32BackgroundWork(const Win32BackgroundWork&) = delete;
  Win32BackgroundWork& operator=(const Win32BackgroundWork&) = delete;

  void Start(std::function<void()> work) override;
  void Wait() override;

 private:
  static unsigned __stdcall Run(void* self);

  std::function<void()> work_;
  std::exception_ptr failure_;
  detail::UniqueHandle thread_;
};

}  // namespace tovrel::platform

#include <climits>
#include <string>

#include "platform/line_splitter.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_platform.h"

namespace tovrel::platform {

namespace {

constexpr DWORD kChunkBytes = 64 * 1024;

// Decodes from the ANSI code page with explicit lengths, so NUL bytes and bytes the code
// page does not map come through as characters instead of ending the line.
std::wstring DecodeAnsi(const std::string& bytes) {
  if (bytes.empty()) return {};
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) ThrowWin32Error(ERROR_ARITHMETIC_OVERFLOW);
  const int byteCount = static_cast<int>(bytes.size());
  const int needed = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), byteCount, nullptr, 0);
  if (needed <= 0) ThrowLastError();
  std::wstring text(static_cast<std::size_t>(needed), L'\0');
  const int written = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), byteCount, text.data(), needed);
  if (written <= 0) ThrowLastError();
  text.resize(static_cast<std::size_t>(written));
  return text;
}

}  // namespace

struct Win32TextFiles::OpenFile {
  detail::UniqueHandle handle;
  LineSplitter splitter;
  std::string ahead;  // the next line, once the end test has had to read it
  bool hasAhead = false;

  // Makes the next line available in `ahead`; false at the end of the file.
  bool FillAhead() {
    if (hasAhead) return true;
    std::string chunk;
    for (;;) {
      if (splitter.NextLine(ahead)) return hasAhead = true;
      if (splitter.Exhausted()) return false;
      chunk.resize(kChunkBytes);
      DWORD got = 0;
      if (!::ReadFile(handle.get(), chunk.data(), kChunkBytes, &got, nullptr)) ThrowLastError();
      if (got == 0) {
        splitter.FinishInput();
      } else {
        chunk.resize(got);
        splitter.Feed(chunk);
      }
    }
  }
};

Win32TextFiles::Win32TextFiles() = default;
Win32TextFiles::~Win32TextFiles() = default;

std::int16_t Win32TextFiles::FreeFileNumber() {
  for (std::int16_t number = 1; number <= kMaxFileNumber; ++number) {
    if (!files_[static_cast<std::size_t>(number)]) return number;
  }
  ThrowWin32Error(ERROR_TOO_MANY_OPEN_FILES);
}

void Win32TextFiles::Open(std::int16_t number, const std::wstring& path) {
  if (number < 1 || number > kMaxFileNumber) ThrowWin32Error(ERROR_INVALID_PARAMETER);
  auto& slot = files_[static_cast<std::size_t>(number)];
  if (slot) ThrowWin32Error(ERROR_BUSY);
  if (detail::HasEmbeddedNull(path)) ThrowWin32Error(ERROR_INVALID_NAME);
  // Others may keep writing, renaming or deleting the file while it is read.
  detail::UniqueHandle handle(::CreateFileW(path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                            nullptr));
  if (handle.get() == INVALID_HANDLE_VALUE) {
    handle.release();
    ThrowLastError();
  }
  auto file = std::make_unique<OpenFile>();
  file->handle = std::move(handle);
  slot = std::move(file);
}

Win32TextFiles::OpenFile& Win32TextFiles::Lookup(std::int16_t number) {
  if (number < 1 || number > kMaxFileNumber || !files_[static_cast<std::size_t>(number)]) {
    ThrowWin32Error(ERROR_INVALID_HANDLE);
  }
  return *files_[static_cast<std::size_t>(number)];
}

bool Win32TextFiles::AtEnd(std::int16_t number) { return !Lookup(number).FillAhead(); }

std::wstring Win32TextFiles::ReadLine(std::int16_t number) {
  OpenFile& file = Lookup(number);
  if (!file.FillAhead()) ThrowWin32Error(ERROR_HANDLE_EOF);
  file.hasAhead = false;
  return DecodeAnsi(file.ahead);
}

void Win32TextFiles::Close(std::int16_t number) noexcept {
  if (number < 1 || number > kMaxFileNumber) return;
  files_[static_cast<std::size_t>(number)].reset();
}

}  // namespace tovrel::platform

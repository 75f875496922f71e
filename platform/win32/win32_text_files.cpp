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

// One file open for reading: the line rule over chunks read from its handle.
class Win32TextFile final : public TextFile {
 public:
  explicit Win32TextFile(detail::UniqueHandle handle) : handle_(std::move(handle)) {}

  bool AtEnd() override { return !FillAhead(); }

  std::wstring ReadLine() override {
    if (!FillAhead()) ThrowWin32Error(ERROR_HANDLE_EOF);
    hasAhead_ = false;
    return DecodeAnsi(ahead_);
  }

 private:
  // Makes the next line available in `ahead_`; false at the end of the file.
  bool FillAhead() {
    if (hasAhead_) return true;
    std::string chunk;
    for (;;) {
      if (splitter_.NextLine(ahead_)) return hasAhead_ = true;
      if (splitter_.Exhausted()) return false;
      chunk.resize(kChunkBytes);
      DWORD got = 0;
      if (!::ReadFile(handle_.get(), chunk.data(), kChunkBytes, &got, nullptr)) ThrowLastError();
      if (got == 0) {
        splitter_.FinishInput();
      } else {
        chunk.resize(got);
        splitter_.Feed(chunk);
      }
    }
  }

  detail::UniqueHandle handle_;
  LineSplitter splitter_;
  std::string ahead_;  // the next line, once the end test has had to read it
  bool hasAhead_ = false;
};

}  // namespace

std::unique_ptr<TextFile> Win32TextFileSystem::OpenText(const std::wstring& path) {
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
  return std::make_unique<Win32TextFile>(std::move(handle));
}

}  // namespace tovrel::platform

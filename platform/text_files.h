#pragma once
// Sequential reading of text files. The seam only opens, reads and closes (TextFileSystem,
// TextFile); the small file numbers that the logic reads under, the lowest free number first,
// are kept once, above it (TextFiles).
// A line ends at CR or at CR LF; a lone LF is an ordinary character; the terminator is not
// part of the line; the last line needs none. Bytes are decoded from the workstation's
// ANSI code page; a byte-order mark is ordinary text.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace tovrel::platform {

// One text file open for reading; closed when destroyed.
class TextFile {
 public:
  virtual ~TextFile() = default;
  // True when no byte is left to read. Throws PlatformError on a read failure.
  virtual bool AtEnd() = 0;
  // The next line. Throws PlatformError on a read failure or past the end.
  virtual std::wstring ReadLine() = 0;
};

class TextFileSystem {
 public:
  virtual ~TextFileSystem() = default;
  // Opens `path` for reading. Throws PlatformError when it cannot.
  virtual std::unique_ptr<TextFile> OpenText(const std::wstring& path) = 0;
};

// Text files under numbers from 1 to kMaxFileNumber, over the seam.
class TextFiles final {
 public:
  // File numbers run from 1 to this; taking one when all are open fails.
  static constexpr std::int16_t kMaxFileNumber = 255;

  explicit TextFiles(TextFileSystem& files) : files_(files) {}

  // The lowest file number not in use. Throws PlatformError when none is free.
  std::int16_t FreeFileNumber() const;
  // Opens `path` for reading under `number`. Throws PlatformError when it cannot.
  void Open(std::int16_t number, const std::wstring& path);
  // True when no byte is left to read. Throws PlatformError on a read failure.
  bool AtEnd(std::int16_t number);
  // The next line. Throws PlatformError on a read failure or past the end.
  std::wstring ReadLine(std::int16_t number);
  // Closes the file and frees its number; closing a number not open does nothing.
  void Close(std::int16_t number) noexcept;

 private:
  TextFile& Lookup(std::int16_t number);

  TextFileSystem& files_;
  // Index 0 is unused so that a file number is its own index.
  std::array<std::unique_ptr<TextFile>, kMaxFileNumber + 1> open_;
};

}  // namespace tovrel::platform

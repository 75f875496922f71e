#pragma once
// Sequential reading of text files under small file numbers, the lowest free number first.
// A line ends at CR or at CR LF; a lone LF is an ordinary character; the terminator is not
// part of the line; the last line needs none. Bytes are decoded from the workstation's
// ANSI code page; a byte-order mark is ordinary text.
#include <cstdint>
#include <string>

namespace tovrel::platform {

class TextFiles {
 public:
  // File numbers run from 1 to this; taking one when all are open fails.
  static constexpr std::int16_t kMaxFileNumber = 255;

  virtual ~TextFiles() = default;

  // The lowest file number not in use. Throws PlatformError when none is free.
  virtual std::int16_t FreeFileNumber() = 0;
  // Opens `path` for reading under `number`. Throws PlatformError when it cannot.
  virtual void Open(std::int16_t number, const std::wstring& path) = 0;
  // True when no byte is left to read. Throws PlatformError on a read failure.
  virtual bool AtEnd(std::int16_t number) = 0;
  // The next line. Throws PlatformError on a read failure or past the end.
  virtual std::wstring ReadLine(std::int16_t number) = 0;
  // Closes the file and frees its number; closing a number not open does nothing.
  virtual void Close(std::int16_t number) noexcept = 0;
};

}  // namespace tovrel::platform

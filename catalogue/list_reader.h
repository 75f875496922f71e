#pragma once
// Goes through the list file the way both readers do: the lowest free file number into
// FileNum, open AppPath + ListFile, read line by line, close at the end (or when the reader
// is destroyed early).
#include <string>

#include "catalogue/main_state.h"
#include "platform/text_files.h"

namespace tovrel::catalogue {

class ListReader {
 public:
  // Takes the lowest free file number into state.FileNum and opens the list file under it.
  // Throws platform::PlatformError when no number is free or the file cannot be opened.
  ListReader(MainState& state, platform::TextFiles& files);
  ~ListReader();
  ListReader(const ListReader&) = delete;
  ListReader& operator=(const ListReader&) = delete;

  // Reads the next line into `line`; false at the end of the file, which it then closes.
  // Throws platform::PlatformError when reading fails.
  bool Next(std::wstring& line);
  // 1-based number of the line last read.
  long LineNumber() const { return lineNumber_; }

 private:
  platform::TextFiles& files_;
  std::int16_t number_;
  bool open_ = false;
  long lineNumber_ = 0;
};

}  // namespace tovrel::catalogue

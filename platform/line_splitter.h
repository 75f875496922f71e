#pragma once
// Splits a byte stream into lines the way the list file is read: a line ends at CR or at
// CR LF, a lone LF is ordinary text. Portable, so that the Win32 reader and the test
// substitute share one rule. Fed in chunks; a CR at the end of one chunk waits for the
// next chunk to tell whether an LF follows.
#include <cstddef>
#include <string>
#include <string_view>

namespace tovrel::platform {

class LineSplitter {
 public:
  // Appends `chunk` to what is buffered.
  void Feed(std::string_view chunk);
  // Marks that no more bytes will come.
  void FinishInput() { inputFinished_ = true; }
  // Moves the next complete line (terminator removed) into `line`; false when no complete
  // line is buffered yet. After FinishInput the remaining bytes form the last line.
  bool NextLine(std::string& line);
  // True when every byte fed has been handed out and no more will come.
  bool Exhausted() const { return inputFinished_ && pos_ >= buffer_.size(); }

 private:
  std::string buffer_;
  std::size_t pos_ = 0;
  std::size_t scanFrom_ = 0;  // no CR lies in [pos_, scanFrom_): a long line is scanned once
  bool inputFinished_ = false;
};

}  // namespace tovrel::platform

#include "platform/line_splitter.h"

namespace tovrel::platform {

void LineSplitter::Feed(std::string_view chunk) {
  // Drop what has been handed out already, so the buffer holds at most one line and a chunk.
  if (pos_ > 0) {
    buffer_.erase(0, pos_);
    scanFrom_ = scanFrom_ > pos_ ? scanFrom_ - pos_ : 0;
    pos_ = 0;
  }
  buffer_.append(chunk);
}

bool LineSplitter::NextLine(std::string& line) {
  if (pos_ >= buffer_.size()) return false;
  if (scanFrom_ < pos_) scanFrom_ = pos_;
  const std::size_t cr = buffer_.find('\r', scanFrom_);
  if (cr == std::string::npos) {
    scanFrom_ = buffer_.size();
    if (!inputFinished_) return false;
    line.assign(buffer_, pos_, std::string::npos);
    pos_ = buffer_.size();
    return true;
  }
  if (cr + 1 == buffer_.size() && !inputFinished_) {
    scanFrom_ = cr;  // an LF may still follow
    return false;
  }
  line.assign(buffer_, pos_, cr - pos_);
  pos_ = cr + 1;
  if (pos_ < buffer_.size() && buffer_[pos_] == '\n') ++pos_;
  return true;
}

}  // namespace tovrel::platform

#include "catalogue/list_reader.h"

namespace tovrel::catalogue {

ListReader::ListReader(MainState& state, platform::TextFiles& files)
    : files_(files), number_(files.FreeFileNumber()) {
  state.FileNum = number_;
  files_.Open(number_, state.AppPath + state.ListFile);
  open_ = true;
}

ListReader::~ListReader() {
  if (open_) files_.Close(number_);
}

bool ListReader::Next(std::wstring& line) {
  if (!open_) return false;
  if (files_.AtEnd(number_)) {
    files_.Close(number_);
    open_ = false;
    return false;
  }
  line = files_.ReadLine(number_);
  ++lineNumber_;
  return true;
}

}  // namespace tovrel::catalogue

#include "tests/fake/selection_by_scan.h"

#include "catalogue/list_line.h"

namespace tovrel::fake {

bool ArchSeleccionadoByScan(const std::wstring& nombre, platform::Checklist& list, platform::TextComparer& text) {
  const int count = list.Count();
  for (int i = 0; i < count; ++i) {
    if (text.Equal(catalogue::TrimSpaces(nombre), catalogue::TrimSpaces(list.Text(i)))) return list.Checked(i);
  }
  return false;
}

}  // namespace tovrel::fake

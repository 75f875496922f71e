#pragma once
// The literal lookup of an entry's mark, kept as the oracle that the checklist index must
// agree with: scans the list from the top; the first entry whose text, trimmed of spaces,
// equals `nombre` trimmed of spaces (ignoring case) decides. False when none does.
#include <string>

#include "platform/checklist.h"
#include "platform/text_comparer.h"

namespace tovrel::fake {

bool ArchSeleccionadoByScan(const std::wstring& nombre, platform::Checklist& list, platform::TextComparer& text);

}  // namespace tovrel::fake

#pragma once
// Looking up an entry's mark by its text, and inverting every mark.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/checklist.h"
#include "platform/text_comparer.h"

namespace tovrel::catalogue {

// Looks up an entry's mark in constant time: the first entry whose text, trimmed of spaces,
// equals `nombre` trimmed of spaces (ignoring case) decides; false when none does. Built once
// from the entries' texts (they never change after start-up; only their marks do). Once
// finished it keeps a small hash of each entry's sort key, not the texts; a hash hit is
// confirmed against the entry's own text, so collisions cannot mislead.
class ChecklistIndex {
 public:
  void Clear();
  // Collects the entry at `index` (entries are added in index order). Only copies its text:
  // the keys are worked out in Finish, which may run on another thread.
  void Add(int index, const std::wstring& text);
  // Hashes what Add collected and sorts it; call after the last Add, before any lookup. When a
  // key cannot be worked out it throws and leaves what Add collected, to be finished again.
  void Finish(platform::TextComparer& comparer);
  // Index of the first entry whose key equals `nombre`'s, or -1.
  int FirstMatch(const std::wstring& nombre, platform::Checklist& list,
                 platform::TextComparer& comparer) const;
  std::size_t size() const { return keys_.size(); }

 private:
  std::size_t Slot(std::uint64_t hash) const;
  int FirstMatchByHash(const std::wstring& nombre, platform::Checklist& list,
                       platform::TextComparer& comparer) const;

  // The texts Add collected, end to end, and where each ends with its entry's index; freed
  // once hashed.
  std::wstring added_;
  std::vector<std::pair<std::size_t, std::int32_t>> addedEnds_;
  std::vector<std::pair<std::uint64_t, std::int32_t>> keys_;  // (key hash, entry index), sorted
  // Where each run of keys sharing their top `directoryBits_` bits starts in keys_, so a
  // lookup lands next to its key at once instead of searching the whole vector.
  std::vector<std::uint32_t> directory_;
  unsigned directoryBits_ = 0;
  // Whether each entry is the first (lowest index) of the entries sharing its key hash.
  std::vector<bool> firstOfHash_;
  // A run asks for the lines in the order start-up listed them: the entry after the last one
  // found is tried first, which spares hashing and a jump into the tables. Only a hint.
  mutable int nextGuess_ = 0;
  bool finished_ = false;
};

// ArchSeleccionado through the index: the mark is read from the list when asked.
bool ArchSeleccionado(const std::wstring& nombre, const ChecklistIndex& index,
                      platform::Checklist& list, platform::TextComparer& text);

// Brackets a bulk change of the list, so it need not repaint per entry.
class ChecklistUpdateBracket {
 public:
  explicit ChecklistUpdateBracket(platform::Checklist& list) : list_(list) { list_.BeginUpdate(); }
  ~ChecklistUpdateBracket() { list_.EndUpdate(); }
  ChecklistUpdateBracket(const ChecklistUpdateBracket&) = delete;
  ChecklistUpdateBracket& operator=(const ChecklistUpdateBracket&) = delete;

 private:
  platform::Checklist& list_;
};

// Click of CmdMarcar: every mark inverted by itself.
void InvertAllMarks(platform::Checklist& list);

}  // namespace tovrel::catalogue

#include "catalogue/checklist_selection.h"

#include <algorithm>
#include <optional>

#include "catalogue/list_line.h"

namespace tovrel::catalogue {

namespace {

std::uint64_t Fnv1a64(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::uint64_t KeyHash(std::wstring_view text, platform::TextComparer& comparer) {
  return Fnv1a64(comparer.SortKey(TrimSpaces(text)));
}

bool SameKey(std::wstring_view a, std::wstring_view b, platform::TextComparer& comparer) {
  return comparer.Equal(TrimSpaces(a), TrimSpaces(b));
}


}  // namespace

void ChecklistIndex::Clear() {
  added_.clear();
  addedEnds_.clear();
  keys_.clear();
  directory_.clear();
  directoryBits_ = 0;
  firstOfHash_.clear();
  nextGuess_ = 0;
  finished_ = false;
}

void ChecklistIndex::Add(int index, const std::wstring& text) {
  added_ += text;
  addedEnds_.emplace_back(added_.size(), static_cast<std::int32_t>(index));
}

void ChecklistIndex::Finish(platform::TextComparer& comparer) {
  if (finished_) return;
  std::vector<std::pair<std::uint64_t, std::int32_t>> keys;
  keys.reserve(addedEnds_.size());
  std::size_t begin = 0;
  for (const auto& [end, index] : addedEnds_) {
    keys.emplace_back(KeyHash(std::wstring_view(added_).substr(begin, end - begin), comparer), index);
    begin = end;
  }
  keys_ = std::move(keys);
  std::wstring().swap(added_);
  std::vector<std::pair<std::size_t, std::int32_t>>().swap(addedEnds_);
  // About one key per slot: hashes are uniform, so each slot holds a handful at most.
  directoryBits_ = 1;
  while ((std::size_t{1} << directoryBits_) < keys_.size()) ++directoryBits_;
  const std::size_t slots = std::size_t{1} << directoryBits_;
  // Distribute the keys by slot (counting, so the work stays linear in the entries), then
  // order the few keys of each slot by (hash, index).
  directory_.assign(slots + 1, 0);
  for (const auto& key : keys_) ++directory_[Slot(key.first) + 1];
  for (std::size_t slot = 0; slot < slots; ++slot) directory_[slot + 1] += directory_[slot];
  std::vector<std::pair<std::uint64_t, std::int32_t>> bySlot(keys_.size());
  std::vector<std::uint32_t> next(directory_.begin(), directory_.end() - 1);
  for (const auto& key : keys_) bySlot[next[Slot(key.first)]++] = key;
  keys_ = std::move(bySlot);
  for (std::size_t slot = 0; slot < slots; ++slot) {
    std::sort(keys_.begin() + directory_[slot], keys_.begin() + directory_[slot + 1]);
  }
  // Sorted by (hash, index): the first of each run of equal hashes is its lowest index.
  std::int32_t largest = -1;
  for (const auto& key : keys_) largest = std::max(largest, key.second);
  firstOfHash_.assign(static_cast<std::size_t>(largest + 1), false);
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (i == 0 || keys_[i].first != keys_[i - 1].first) {
      firstOfHash_[static_cast<std::size_t>(keys_[i].second)] = true;
    }
  }
  nextGuess_ = 0;
  finished_ = true;
}

std::size_t ChecklistIndex::Slot(std::uint64_t hash) const {
  return static_cast<std::size_t>(hash >> (64 - directoryBits_));
}

int ChecklistIndex::FirstMatch(const std::wstring& nombre, platform::Checklist& list,
                               platform::TextComparer& comparer) const {
  if (directory_.empty()) return -1;
  // The guessed entry answers only when it is the first of its hash: then no earlier entry
  // can share its key, so it is the first match, as the search would find.
  const int guess = nextGuess_;
  if (guess >= 0 && static_cast<std::size_t>(guess) < firstOfHash_.size() && firstOfHash_[guess] &&
      guess < list.Count() && SameKey(nombre, list.Text(guess), comparer)) {
    nextGuess_ = guess + 1;
    return guess;
  }
  const int found = FirstMatchByHash(nombre, list, comparer);
  if (found >= 0) nextGuess_ = found + 1;
  return found;
}

int ChecklistIndex::FirstMatchByHash(const std::wstring& nombre, platform::Checklist& list,
                                     platform::TextComparer& comparer) const {
  const std::uint64_t hash = KeyHash(nombre, comparer);
  const std::size_t slot = Slot(hash);
  const auto slotEnd = keys_.begin() + directory_[slot + 1];
  auto it = std::lower_bound(keys_.begin() + directory_[slot], slotEnd, std::make_pair(hash, std::int32_t{-1}));
  const int count = list.Count();
  // Candidates with this hash come in index order; a hit is only a hit once the texts agree.
  for (; it != slotEnd && it->first == hash; ++it) {
    if (it->second >= count) continue;
    if (SameKey(nombre, list.Text(it->second), comparer)) return it->second;
  }
  return -1;
}

bool ArchSeleccionado(const std::wstring& nombre, const ChecklistIndex& index,
                      platform::Checklist& list, platform::TextComparer& text) {
  const int match = index.FirstMatch(nombre, list, text);
  return match >= 0 && list.Checked(match);
}

void InvertAllMarks(platform::Checklist& list) {
  ChecklistUpdateBracket bracket(list);
  const int count = list.Count();
  if (count == 0) return;
  // The marks are read only when the list cannot tell that they are all alike, as start-up
  // leaves them.
  std::optional<int> checked = list.CheckedCount();
  std::vector<char> marks;
  if (!checked || (*checked != 0 && *checked != count)) {
    marks.resize(static_cast<std::size_t>(count));
    checked = 0;
    for (int i = 0; i < count; ++i) {
      marks[static_cast<std::size_t>(i)] = list.Checked(i);
      *checked += marks[static_cast<std::size_t>(i)];
    }
  }
  // The entries that share the commoner mark (every one, after start-up) get its opposite in
  // one go; only the others are then set one by one, each to the commoner mark. Every mark
  // changes once, to its opposite: a list takes one message for all far faster than one each.
  const bool commoner = *checked * 2 >= count;
  list.SetAllChecked(!commoner);
  for (std::size_t i = 0; i < marks.size(); ++i) {
    if (marks[i] != commoner) list.SetChecked(static_cast<int>(i), commoner);
  }
}

}  // namespace tovrel::catalogue

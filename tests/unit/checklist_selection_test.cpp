#include <gtest/gtest.h>

#include <random>

#include "catalogue/checklist_selection.h"
#include "catalogue/list_line.h"
#include "tests/fake/fake_text.h"
#include "tests/fake/fake_window.h"
#include "tests/fake/selection_by_scan.h"

namespace tovrel::catalogue {
namespace {

class ChecklistSelectionTest : public ::testing::Test {
 protected:
  // Fills the list and the index the way start-up does.
  void Fill(const std::vector<std::pair<std::wstring, bool>>& entries) {
    list_.entries.clear();
    index_.Clear();
    for (const auto& [text, checked] : entries) {
      list_.entries.push_back({text, checked});
      index_.Add(list_.Count() - 1, text);
    }
    index_.Finish(text_);
  }
  // Both lookups must agree; returns their answer.
  bool Selected(const std::wstring& nombre) {
    const bool byIndex = ArchSeleccionado(nombre, index_, list_, text_);
    EXPECT_EQ(byIndex, fake::ArchSeleccionadoByScan(nombre, list_, text_)) << nombre;
    return byIndex;
  }

  fake::FakeChecklist list_;
  fake::FakeComparer text_;
  ChecklistIndex index_;
};

TEST_F(ChecklistSelectionTest, EmptyListSelectsNothing) {
  Fill({});
  EXPECT_FALSE(Selected(L"comp.dll,"));
  EXPECT_FALSE(Selected(L""));
  EXPECT_EQ(index_.FirstMatch(L"", list_, text_), -1);
}

TEST_F(ChecklistSelectionTest, MatchesIgnoringCaseAndOuterSpacesButNotTabs) {
  Fill({{L"  Comp.dll,winpath$ ", true}, {L"\xC9l.ocx,", true}, {L"off.dll,", false}});
  EXPECT_TRUE(Selected(L"comp.DLL,WINPATH$"));
  EXPECT_TRUE(Selected(L"   comp.dll,winpath$      "));
  EXPECT_TRUE(Selected(L"\xE9L.OCX,"));  // Latin-1 capital and small E acute
  EXPECT_FALSE(Selected(L"\tcomp.dll,winpath$"));
  EXPECT_FALSE(Selected(L"comp.dll,winpath$\t"));
  EXPECT_FALSE(Selected(L"comp.dll, winpath$"));  // inner spaces count
  EXPECT_FALSE(Selected(L"off.dll,"));            // found, unchecked
  EXPECT_FALSE(Selected(L"new.dll,"));            // not listed
  EXPECT_EQ(index_.FirstMatch(L"off.dll,", list_, text_), 2);
}

TEST_F(ChecklistSelectionTest, TheFirstOfEqualKeysDecidesAndMarksAreReadWhenAsked) {
  Fill({{L"a.dll,", true}, {L"A.DLL, ", true}});
  list_.entries[1].checked = false;
  EXPECT_TRUE(Selected(L"a.dll,"));
  list_.entries[0].checked = false;
  list_.entries[1].checked = true;
  EXPECT_FALSE(Selected(L"a.dll,"));
  EXPECT_EQ(index_.FirstMatch(L" a.dll, ", list_, text_), 0);
}

TEST_F(ChecklistSelectionTest, InvertingFlipsEachMarkByItself) {
  Fill({{L"a,", true}, {L"b,", false}, {L"c,", true}});
  InvertAllMarks(list_);
  EXPECT_FALSE(list_.entries[0].checked);
  EXPECT_TRUE(list_.entries[1].checked);
  EXPECT_FALSE(list_.entries[2].checked);
  InvertAllMarks(list_);
  EXPECT_TRUE(list_.entries[0].checked);
  EXPECT_FALSE(list_.entries[1].checked);
  EXPECT_EQ(list_.updateDepth, 0);

  // All alike, as start-up leaves them, and back.
  Fill({{L"a,", true}, {L"b,", true}});
  InvertAllMarks(list_);
  EXPECT_FALSE(list_.entries[0].checked || list_.entries[1].checked);
  InvertAllMarks(list_);
  EXPECT_TRUE(list_.entries[0].checked && list_.entries[1].checked);

  Fill({});
  InvertAllMarks(list_);
  EXPECT_EQ(list_.Count(), 0);

  // Any mix, ties and lone exceptions among them: each mark is the opposite of what it was.
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    const int count = 1 + static_cast<int>(random() % 12);
    std::vector<std::pair<std::wstring, bool>> entries;
    for (int i = 0; i < count; ++i) entries.push_back({std::to_wstring(i) + L",", random() % 3 != 0});
    Fill(entries);
    InvertAllMarks(list_);
    for (int i = 0; i < count; ++i) ASSERT_NE(list_.entries[i].checked, entries[i].second) << round << " " << i;
  }
}

// A comparer whose keys all collide: the index must still confirm each candidate.
class CollidingComparer : public fake::FakeComparer {
 public:
  std::string SortKey(std::wstring_view) override { return "same"; }
};

TEST(ChecklistIndexTest, HashCollisionsAreConfirmedAgainstTheEntryText) {
  fake::FakeChecklist list;
  CollidingComparer text;
  ChecklistIndex index;
  for (const wchar_t* t : {L"a,", L"b,", L"c,"}) {
    list.entries.push_back({t, true});
    index.Add(list.Count() - 1, t);
  }
  index.Finish(text);
  EXPECT_EQ(index.FirstMatch(L"c,", list, text), 2);
  EXPECT_EQ(index.FirstMatch(L"d,", list, text), -1);
}

wchar_t ToggleCase(wchar_t c) {
  const wchar_t lower = fake::FoldCase(c);
  if (lower != c) return lower;
  if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<wchar_t>(c - 32);
  return c;
}

// Thousands of lists and lookups with case variants, accented letters, outer spaces, tabs and
// duplicates: the index must answer exactly as the literal scan does.
TEST_F(ChecklistSelectionTest, IndexAgreesWithTheScanOnRandomLists) {
  std::mt19937 random(20240611u);
  const std::wstring alphabet = L"abAB,.\xE9\xC9\xF1\xD1 \t";
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  auto randomText = [&]() {
    std::wstring s;
    const std::size_t length = pick(5);
    for (std::size_t i = 0; i < length; ++i) s += alphabet[pick(alphabet.size())];
    return s;
  };
  auto variant = [&](std::wstring s) {
    for (wchar_t& c : s) {
      if (pick(2)) c = ToggleCase(c);
    }
    const std::wstring pads[] = {L"", L" ", L"  ", L"\t"};
    return pads[pick(4)] + s + pads[pick(4)];
  };
  long positives = 0;
  for (int round = 0; round < 2000; ++round) {
    std::vector<std::pair<std::wstring, bool>> entries;
    const std::size_t count = pick(12);
    for (std::size_t i = 0; i < count; ++i) {
      std::wstring text = (i > 0 && pick(4) == 0) ? variant(entries[pick(i)].first) : randomText();
      entries.emplace_back(text, pick(2) == 1);
    }
    Fill(entries);
    for (int lookup = 0; lookup < 8; ++lookup) {
      const std::wstring nombre = (count > 0 && pick(3) != 0) ? variant(entries[pick(count)].first) : randomText();
      const int byIndex = index_.FirstMatch(nombre, list_, text_);
      int byScan = -1;
      for (int i = 0; i < list_.Count() && byScan < 0; ++i) {
        if (text_.Equal(TrimSpaces(nombre), TrimSpaces(list_.Text(i)))) byScan = i;
      }
      ASSERT_EQ(byIndex, byScan) << "round " << round;
      if (Selected(nombre)) ++positives;
    }    // A run asks in file order: every entry's text (or a variant of it) in turn, which
    // takes the guessing path, duplicates and misses included.
    for (std::size_t i = 0; i < count; ++i) {
      const std::wstring nombre = pick(5) == 0 ? randomText() : variant(entries[i].first);
      int byScan = -1;
      for (int j = 0; j < list_.Count() && byScan < 0; ++j) {
        if (text_.Equal(TrimSpaces(nombre), TrimSpaces(list_.Text(j)))) byScan = j;
      }
      ASSERT_EQ(index_.FirstMatch(nombre, list_, text_), byScan) << "round " << round << ", in order";
    }
  }
  EXPECT_GT(positives, 1000);  // the set exercises matches, not only misses
}

}  // namespace
}  // namespace tovrel::catalogue

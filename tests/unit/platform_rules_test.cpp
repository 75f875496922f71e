// The portable rules that every implementation of the seam shares: the line rule, wildcard
// names, why a copy is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/line_splitter.h"
#include "platform/wildcard_match.h"

namespace tovrel::platform {
namespace {

std::vector<std::string> Lines(const std::vector<std::string>& pieces) {
  LineSplitter splitter;
  std::vector<std::string> lines;
  std::string line;
  for (const std::string& piece : pieces) {
    splitter.Feed(piece);
    while (splitter.NextLine(line)) lines.push_back(line);
  }
  splitter.FinishInput();
  while (splitter.NextLine(line)) lines.push_back(line);
  EXPECT_TRUE(splitter.Exhausted());
  return lines;
}

TEST(LineSplitterTest, LinesEndAtCrOrCrLfWhereverTheInputIsCut) {
  const struct {
    std::vector<std::string> pieces;
    std::vector<std::string> lines;
  } cases[] = {
      {{"a\r"}, {"a"}},                    // a lone CR at the end ends the last line
      {{"a\r\r"}, {"a", ""}},
      {{"a\r", "\nb"}, {"a", "b"}},        // CR at the end of one piece, LF at the start of the next
      {{"a\r", "b"}, {"a", "b"}},
      {{"a\r", "", "\n", "b\r\n"}, {"a", "b"}},
      {{"a\nb\r\n"}, {"a\nb"}},            // a lone LF is text
      {{"\r\n"}, {""}},
      {{"a", "b", "\rc"}, {"ab", "c"}},
      {{}, {}},
      {{"", ""}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Lines(c.pieces), c.lines) << ::testing::PrintToString(c.pieces);
}

TEST(WildcardMatchTest, StarAnyRunQuestionMarkOneCharacterCaseIgnored) {
  const struct {
    const wchar_t* pattern;
    const wchar_t* name;
    bool matches;
  } cases[] = {
      {L"comp*", L"comp", true},  // a trailing star matches nothing too
      {L"comp*", L"comp.dll", true},
      {L"*.dll", L"a.dll", true},
      {L"*.dll", L"a.dl", false},
      {L"a?c", L"abc", true},
      {L"a?c", L"ac", false},
      {L"COMP.DLL", L"comp.dll", true},
      {L"a*b", L"a", false},
      {L"*", L"", true},
      {L"?", L"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.matches) << "pattern " << ::testing::PrintToString(std::wstring(c.pattern))
                                                           << ", name " << ::testing::PrintToString(std::wstring(c.name));
  }
}

TEST(JudgeCopyTest, SourceThenFolderThenWhatStandsAtTheDestination) {
  const PathFacts none{};
  const PathFacts file{true, false, false};
  const PathFacts folder{true, true, false};
  const PathFacts protectedFile{true, false, true};
  const struct {
    PathFacts source, destinationFolder, destination;
    bool replace;
    std::optional<CopyObstacle> obstacle;
  } cases[] = {
      {file, folder, none, false, std::nullopt},
      {file, folder, file, true, std::nullopt},
      {none, none, protectedFile, true, CopyObstacle::SourceMissing},
      {folder, folder, none, true, CopyObstacle::SourceIsFolder},
      {file, none, none, true, CopyObstacle::FolderMissing},
      {file, file, none, true, CopyObstacle::FolderMissing},  // a file where the folder should be
      {file, folder, folder, true, CopyObstacle::DestinationIsFolder},
      {file, folder, file, false, CopyObstacle::DestinationTaken},
      {file, folder, protectedFile, false, CopyObstacle::DestinationTaken},
      {file, folder, protectedFile, true, CopyObstacle::DestinationProtected},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    EXPECT_EQ(JudgeCopy(c.source, c.destinationFolder, c.destination, c.replace), c.obstacle) << "row " << i;
  }
}

}  // namespace
}  // namespace tovrel::platform

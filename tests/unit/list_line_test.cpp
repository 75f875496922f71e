#include <gtest/gtest.h>

#include "catalogue/list_line.h"
#include "catalogue/location_token.h"
#include "catalogue/startup.h"
#include "tests/fake/fake_text.h"

namespace tovrel::catalogue {
namespace {

TEST(ListLineTest, TrimRemovesSpacesOnlyFromBothEnds) {
  EXPECT_EQ(TrimSpaces(L"  a b  "), L"a b");
  EXPECT_EQ(TrimSpaces(L"\ta\t"), L"\ta\t");
  EXPECT_EQ(TrimSpaces(L" \t "), L"\t");
  EXPECT_EQ(TrimSpaces(L"    "), L"");
  EXPECT_EQ(TrimSpaces(L""), L"");
}

TEST(ListLineTest, ClassifiesBlankCommentAndEntryLines) {
  const struct {
    const wchar_t* line;
    LineKind kind;
  } cases[] = {
      {L"", LineKind::Blank},
      {L"     ", LineKind::Blank},
      {L"'comentario", LineKind::Comment},
      {L"   ' comp.dll,winpath$", LineKind::Comment},
      {L"\t'comp.dll", LineKind::Entry},   // a tab is not trimmed
      {L"\t\t", LineKind::Entry},
      {L"\xEF\xBB\xBF'x", LineKind::Entry},  // a byte-order mark is ordinary text
      {L"comp.dll,", LineKind::Entry},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyLine(c.line), c.kind) << '"' << c.line << '"';
}

TEST(ListLineTest, SplitsAtTheFirstCommaKeepingEverythingAsRead) {
  EntryLine e = SplitEntryLine(L"  comp.dll ,Systempath$");
  EXPECT_EQ(e.component, L"  comp.dll ");
  EXPECT_EQ(e.token, L"Systempath$");

  e = SplitEntryLine(L"comp.dll,Systempath$,x");
  EXPECT_EQ(e.component, L"comp.dll");
  EXPECT_EQ(e.token, L"Systempath$,x");

  e = SplitEntryLine(L",winpath$");
  EXPECT_EQ(e.component, L"");
  EXPECT_EQ(e.token, L"winpath$");

  e = SplitEntryLine(L"comp.dll,");
  EXPECT_EQ(e.token, L"");
}

TEST(ListLineTest, SplitRefusesLinesWithoutCommaOrWithTheCommaOutOfReach) {
  try {
    SplitEntryLine(L"comp.dll winpath$");
    FAIL() << "no comma must not split";
  } catch (const LineSplitError& e) {
    EXPECT_NE(e.Description().find(L"coma"), std::wstring::npos);
  }
  // The last position a comma may take is 32,766 (1-based).
  const std::wstring atLimit = std::wstring(kMaxCommaPosition - 1, L'a') + L",x";
  EXPECT_EQ(SplitEntryLine(atLimit).component.size(), kMaxCommaPosition - 1);
  const std::wstring pastLimit = std::wstring(kMaxCommaPosition, L'a') + L",x";
  EXPECT_THROW(SplitEntryLine(pastLimit), LineSplitError);
}

TEST(ListLineTest, StartUpHoldsTheCommaLimitAndTheLengthLimitApart) {
  const std::wstring tooLong = L"La línea tiene más de 32767 caracteres.";
  const std::wstring commaTooFar = L"La primera coma de la línea está más allá del carácter 32766.";
  const struct {
    std::size_t comma;   // 1-based position of the only comma
    std::size_t length;  // of the whole line
    std::optional<std::wstring> problem;
  } cases[] = {
      {32766, 32766, std::nullopt}, {32766, 32767, std::nullopt}, {1, 32767, std::nullopt},
      {32767, 32767, commaTooFar},  {32766, 32768, tooLong},      {1, 32768, tooLong},
      {32768, 32768, tooLong},  // the length is judged first
  };
  for (const auto& c : cases) {
    const std::wstring line = std::wstring(c.comma - 1, L'a') + L"," + std::wstring(c.length - c.comma, L'b');
    EXPECT_EQ(EntryProblem(line), c.problem) << "comma at " << c.comma << ", length " << c.length;
  }
}

TEST(LocationTokenTest, ResolvesTheTableInOrderIgnoringCaseAndOuterSpaces) {
  fake::FakeComparer text;
  const struct {
    const wchar_t* token;
    std::optional<Location> location;
  } cases[] = {
      {L"", Location::AppFolder},
      {L"   ", Location::AppFolder},
      {L"Crystal$", Location::Crystal},
      {L" WINPATH$  ", Location::WindowsDir},
      {L"systempath$", Location::SystemDir},
      {L"currentpath$", Location::CurrentPath},
      {L"Crystal", std::nullopt},
      {L"winpath$\t", std::nullopt},
      {L"Systempath$,x", std::nullopt},
      {L"otra", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveLocationToken(c.token, text), c.location) << '"' << c.token << '"';
}

}  // namespace
}  // namespace tovrel::catalogue

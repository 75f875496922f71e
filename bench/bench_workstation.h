#pragma once
// A workstation in memory holding a generated list file of a given number of entries, as the
// benchmarks need it: the program beside its registrar, the system folders present, and no
// journal (only the launcher records), so the logic's own cost shows.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/fake/fake_platform.h"

namespace tovrel::bench {

inline constexpr wchar_t kAppFolder[] = L"C:\\Tovrel";
inline constexpr wchar_t kListPath[] = L"C:\\Tovrel\\TovrelSvr.lst";

enum class Tokens {
  Mixed,  // the five location tokens in turn, in odd letter case
  Empty,  // every entry registered where the program lies: the cheapest placement
};

// `entries` entry lines "componente00001.dll,<token>" with some variety in case and spaces,
// a comment line every 100 entries, joined by CR LF.
std::string GenerateList(int entries, Tokens tokens);

// The entry lines of GenerateList, decoded, in file order.
std::vector<std::wstring> EntryLines(int entries, Tokens tokens);

class BenchWorkstation : public fake::FakePlatform {
 public:
  BenchWorkstation(int entries, Tokens tokens);
};

}  // namespace tovrel::bench

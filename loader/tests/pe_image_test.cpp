// The reading of a component's file, on the failing components built for both bitnesses and
// on damaged copies of them.
#include "loader/pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "loader/tests/fixture_files.h"

namespace tovrel::loader {
namespace {

using testing::FixtureBytes;
using testing::kArches;
using Names = std::vector<std::string>;

Names Sorted(Names names) {
  std::sort(names.begin(), names.end());
  return names;
}

const Names kServerExports = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer",
                              "FixtureUse"};

struct Expected {
  const char* file;
  Names exports;
  Names imports;  // sorted: the linker, not the component, picks the table's order
  Names delayImports;
  std::optional<FileVersion> version;
};

const Expected kFixtures[] = {
    {"imports_absent.dll", kServerExports, {"KERNEL32.dll", "absent_runtime.dll"}, {}, std::nullopt},
    {"needs_helper.dll", kServerExports, {"KERNEL32.dll", "helper.dll"}, {}, std::nullopt},
    {"helper.dll", {"helper_value"}, {"KERNEL32.dll", "helper_runtime.dll"}, {}, std::nullopt},
    {"no_register.dll", {"DllCanUnloadNow", "DllGetClassObject", "FixtureUse"}, {"KERNEL32.dll"}, {}, std::nullopt},
    {"delay_absent.dll", kServerExports, {"KERNEL32.dll"}, {"delayed_runtime.dll"}, std::nullopt},
    {"old/versioned.ocx", kServerExports, {"KERNEL32.dll"}, {}, FileVersion{{2, 5, 0, 17}}},
    {"new/versioned.ocx", kServerExports, {"KERNEL32.dll"}, {}, FileVersion{{2, 10, 3, 1}}},
};

TEST(PeImage, ReadsEveryFixtureOfBothBitnesses) {
  for (const std::string arch : kArches) {
    const bool wide = arch == "x86_64";
    for (const Expected& e : kFixtures) {
      SCOPED_TRACE(arch + "/" + e.file);
      const PeImage image = ReadPeImage(FixtureBytes(arch, e.file));
      ASSERT_TRUE(image.IsProgram()) << image.problem;
      EXPECT_EQ(image.machine, wide ? 0x8664 : 0x014C);
      EXPECT_EQ(image.pe32Plus, wide);
      EXPECT_TRUE(image.isDll);
      EXPECT_EQ(image.exports, e.exports);
      EXPECT_EQ(Sorted(image.imports), e.imports);
      EXPECT_EQ(image.delayImports, e.delayImports);
      EXPECT_EQ(image.fileVersion, e.version);
      EXPECT_EQ(image.Exports("DllRegisterServer"), e.exports == kServerExports);
      EXPECT_FALSE(image.Exports("dllregisterserver"));
    }
    const PeImage page = ReadPeImage(FixtureBytes(arch, "not_a_program.ocx"));
    EXPECT_EQ(page.problem, "no program header (MZ)");
  }
  EXPECT_LT((FileVersion{{2, 5, 0, 17}}), (FileVersion{{2, 10, 3, 1}}));
  EXPECT_EQ(FileVersion({{2, 10, 3, 1}}).Text(), L"2.10.3.1");
  EXPECT_EQ(MachineName(0xAA64), L"0xAA64");
}

// Where to poke a fixture: the header fields, found here independently of the reader.
class Poke {
 public:
  explicit Poke(std::vector<std::uint8_t>& bytes) : b_(bytes) {
    pe = Get32(0x3C);
    optional = pe + 24;
    directories = optional + (Get16(optional) == 0x20B ? 112 : 96);
    sections = optional + Get16(pe + 20);
  }
  std::uint32_t Get16(std::size_t at) const { return b_.at(at) | b_.at(at + 1) << 8; }
  std::uint32_t Get32(std::size_t at) const { return Get16(at) | Get16(at + 2) << 16; }
  void Put16(std::size_t at, std::uint32_t v) {
    b_.at(at) = v & 0xFF;
    b_.at(at + 1) = v >> 8 & 0xFF;
  }
  void Put32(std::size_t at, std::uint32_t v) {
    Put16(at, v & 0xFFFF);
    Put16(at + 2, v >> 16);
  }
  std::uint32_t DirectoryRva(int entry) const { return Get32(directories + 8 * entry); }
  // The section header holding `rva` in its file data.
  std::size_t SectionOf(std::uint32_t rva) const {
    for (std::uint32_t i = 0; i < Get16(pe + 6); ++i) {
      const std::size_t s = sections + 40 * i;
      if (rva >= Get32(s + 12) && rva - Get32(s + 12) < Get32(s + 16)) return s;
    }
    throw std::out_of_range("rva outside every section");
  }
  std::size_t FileOffset(std::uint32_t rva) const {
    const std::size_t s = SectionOf(rva);
    return Get32(s + 20) + rva - Get32(s + 12);
  }
  std::size_t SectionEnd(std::uint32_t rva) const { return Get32(SectionOf(rva) + 20) + Get32(SectionOf(rva) + 16); }
  std::size_t DataEnd() const {
    std::size_t end = 0;
    for (std::uint32_t i = 0; i < Get16(pe + 6); ++i)
      end = std::max<std::size_t>(end, Get32(sections + 40 * i + 20) + Get32(sections + 40 * i + 16));
    return end;
  }
  std::vector<std::uint8_t>& b_;
  std::size_t pe, optional, directories, sections;
};

// A copy cut short anywhere before the end of its sections' data is refused, as the loader
// refuses it; past that end (the symbol table) it reads exactly as the whole file. Never a
// partial list of imports that would hide a missing DLL.
TEST(PeImage, ACopyCutShortIsRefusedOrReadWhole) {
  for (const std::string arch : kArches) {
    for (const char* file : {"needs_helper.dll", "delay_absent.dll", "new/versioned.ocx"}) {
      SCOPED_TRACE(arch + "/" + file);
      std::vector<std::uint8_t> bytes = FixtureBytes(arch, file);
      const std::size_t needed = Poke(bytes).DataEnd();
      ASSERT_LT(needed, bytes.size());
      const PeImage whole = ReadPeImage(bytes);
      for (std::size_t length = 0; length < bytes.size(); ++length) {
        const PeImage cut = ReadPeImage(bytes.data(), length);
        ASSERT_EQ(cut.IsProgram(), length >= needed) << length;
        if (!cut.IsProgram()) continue;
        ASSERT_EQ(cut.exports, whole.exports) << length;
        ASSERT_EQ(cut.imports, whole.imports) << length;
        ASSERT_EQ(cut.delayImports, whole.delayImports) << length;
        ASSERT_EQ(cut.fileVersion, whole.fileVersion) << length;
      }
    }
  }
}

struct Damage {
  const char* what;
  std::function<void(Poke&)> apply;
  const char* problem;
};

const Damage kDamages[] = {
    {"PE header past the end", [](Poke& p) { p.Put32(0x3C, static_cast<std::uint32_t>(p.b_.size()) - 2); },
     "no PE header"},
    {"PE header offset that wraps", [](Poke& p) { p.Put32(0x3C, 0xFFFFFFFC); }, "no PE header"},
    {"optional header larger than the file", [](Poke& p) { p.Put16(p.pe + 20, 0xFFFF); },
     "optional header outside the file"},
    {"unknown optional header", [](Poke& p) { p.Put16(p.optional, 0x0107); }, "unknown optional header"},
    {"65535 sections", [](Poke& p) { p.Put16(p.pe + 6, 0xFFFF); }, "section table outside the file"},
    {"a library object, not an image", [](Poke& p) { p.Put16(p.pe + 22, p.Get16(p.pe + 22) & ~0x0002u); },
     "not marked as an executable image"},
    {"a section larger than the file", [](Poke& p) { p.Put32(p.sections + 16, 0x7FFFFFFF); },
     "section data beyond the end of the file"},
    {"import table at the top of the address space", [](Poke& p) { p.Put32(p.directories + 8, 0xFFFFFFF0); },
     "import table outside the file"},
    {"imported name outside every section",
     [](Poke& p) { p.Put32(p.FileOffset(p.DirectoryRva(1)) + 12, 0x7FFFFFFF); }, "imported DLL name outside the file"},
    {"imported name without its end",
     [](Poke& p) {
       const std::uint32_t name = p.Get32(p.FileOffset(p.DirectoryRva(1)) + 12);
       std::fill(p.b_.begin() + p.FileOffset(name), p.b_.begin() + p.SectionEnd(name), 'A');
     },
     "imported DLL name outside the file"},
    {"four billion exported names", [](Poke& p) { p.Put32(p.FileOffset(p.DirectoryRva(0)) + 24, 0xFFFFFFFF); },
     "export table too long"},
    {"exported names outside every section",
     [](Poke& p) { p.Put32(p.FileOffset(p.DirectoryRva(0)) + 32, 0x7FFFFFF0); }, "exported names outside the file"},
};

TEST(PeImage, DamagedHeadersAndTablesAreNotAProgram) {
  for (const std::string arch : kArches) {
    for (const Damage& d : kDamages) {
      SCOPED_TRACE(arch + ": " + d.what);
      std::vector<std::uint8_t> bytes = FixtureBytes(arch, "imports_absent.dll");
      Poke poke(bytes);
      d.apply(poke);
      EXPECT_EQ(ReadPeImage(bytes).problem, d.problem);
    }
  }
}

TEST(PeImage, OddButLoadableTables) {
  for (const std::string arch : kArches) {
    SCOPED_TRACE(arch);
    // A resource type whose entry leads back to the root: no version, and no endless walk.
    std::vector<std::uint8_t> versioned = FixtureBytes(arch, "new/versioned.ocx");
    Poke v(versioned);
    const std::size_t root = v.FileOffset(v.DirectoryRva(2));
    ASSERT_EQ(v.Get16(root + 12), 0u);  // no named types: the first entry is RT_VERSION's
    ASSERT_EQ(v.Get32(root + 16), 16u);
    v.Put32(root + 20, 0x80000000);
    const PeImage looped = ReadPeImage(versioned);
    EXPECT_TRUE(looped.IsProgram()) << looped.problem;
    EXPECT_EQ(looped.fileVersion, std::nullopt);
  }
  // The old form of a delay descriptor (no RVA attribute) holds addresses: 32-bit images only.
  std::vector<std::uint8_t> delayed = FixtureBytes("i686", "delay_absent.dll");
  Poke d(delayed);
  const std::size_t descriptor = d.FileOffset(d.DirectoryRva(13));
  const std::uint32_t imageBase = d.Get32(d.optional + 28);
  ASSERT_EQ(d.Get32(descriptor), 1u);
  d.Put32(descriptor, 0);
  d.Put32(descriptor + 4, d.Get32(descriptor + 4) + imageBase);
  EXPECT_EQ(ReadPeImage(delayed).delayImports, Names{"delayed_runtime.dll"});
}

}  // namespace
}  // namespace tovrel::loader

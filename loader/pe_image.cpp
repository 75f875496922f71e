#include "loader/pe_image.h"

#include <algorithm>
#include <cwchar>

namespace tovrel::loader {
namespace {

constexpr std::uint16_t kFileExecutableImage = 0x0002;
constexpr std::uint16_t kFileDll = 0x2000;
constexpr std::uint16_t kMagicPe32 = 0x010B;
constexpr std::uint16_t kMagicPe32Plus = 0x020B;
constexpr unsigned kExportEntry = 0, kImportEntry = 1, kResourceEntry = 2, kDelayImportEntry = 13;
constexpr unsigned kMaxDirectories = 16;
constexpr std::uint32_t kResourceVersion = 16;  // RT_VERSION
constexpr std::uint32_t kResourceSubdirectory = 0x80000000;
constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
constexpr std::size_t kFixedFileInfoAt = 40;  // after three WORDs, L"VS_VERSION_INFO\0" and padding
constexpr std::size_t kFixedFileInfoSize = 52;
constexpr std::size_t kImportDescriptorSize = 20;
constexpr std::size_t kDelayDescriptorSize = 32;

// Little-endian reads that say whether the bytes were there.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Has(std::uint64_t at, std::uint64_t length) const {
    return at <= size_ && length <= size_ - at;
  }
  std::uint8_t At(std::uint64_t at) const { return data_[at]; }
  bool U16(std::uint64_t at, std::uint16_t& value) const {
    if (!Has(at, 2)) return false;
    value = static_cast<std::uint16_t>(data_[at] | data_[at + 1] << 8);
    return true;
  }
  bool U32(std::uint64_t at, std::uint32_t& value) const {
    if (!Has(at, 4)) return false;
    value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | data_[at + i];
    return true;
  }
  bool U64(std::uint64_t at, std::uint64_t& value) const {
    std::uint32_t low = 0, high = 0;
    if (!U32(at, low) || !U32(at + 4, high)) return false;
    value = static_cast<std::uint64_t>(high) << 32 | low;
    return true;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

struct Section {
  std::uint32_t address = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t rawAt = 0;
};

struct Directory {
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};

// The image as the loader would lay it out, seen through the file: an RVA is readable when
// it falls in the headers or in the part of a section that the file holds.
class Layout {
 public:
  Layout(const Bytes& bytes, std::uint32_t headersSize, std::vector<Section> sections)
      : bytes_(bytes), headersSize_(headersSize), sections_(std::move(sections)) {}

  // The file offset of `rva` when `length` bytes from there are in the file, and how many
  // bytes of the same region follow it.
  bool Map(std::uint64_t rva, std::uint64_t length, std::uint64_t& at, std::uint64_t& room) const {
    if (rva < headersSize_ && bytes_.Has(rva, length) && length <= headersSize_ - rva) {
      at = rva;
      room = headersSize_ - rva;
      return true;
    }
    for (const Section& s : sections_) {
      if (rva < s.address || rva - s.address >= s.rawSize) continue;
      const std::uint64_t into = rva - s.address;
      if (length > s.rawSize - into || !bytes_.Has(std::uint64_t{s.rawAt} + into, length)) return false;
      at = std::uint64_t{s.rawAt} + into;
      room = s.rawSize - into;
      return true;
    }
    return false;
  }
  bool Map(std::uint64_t rva, std::uint64_t length, std::uint64_t& at) const {
    std::uint64_t room = 0;
    return Map(rva, length, at, room);
  }

  // A NUL-terminated name of at most kMaxNameLength characters, all within one region.
  bool Name(std::uint64_t rva, std::string& name) const {
    std::uint64_t at = 0, room = 0;
    if (!Map(rva, 1, at, room)) return false;
    const std::uint64_t limit = std::min<std::uint64_t>(room, kMaxNameLength + 1);
    name.clear();
    for (std::uint64_t i = 0; i < limit && bytes_.Has(at + i, 1); ++i) {
      const char c = static_cast<char>(bytes_.At(at + i));
      if (c == '\0') return true;
      name.push_back(c);
    }
    return false;
  }

  const Bytes& bytes() const { return bytes_; }

 private:
  const Bytes& bytes_;
  std::uint32_t headersSize_;
  std::vector<Section> sections_;
};

bool AllZero(const Bytes& bytes, std::uint64_t at, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i)
    if (bytes.At(at + i) != 0) return false;
  return true;
}

const char* ReadExports(const Layout& image, Directory table, std::vector<std::string>& names) {
  const Bytes& bytes = image.bytes();
  std::uint64_t at = 0;
  std::uint32_t count = 0, namesRva = 0;
  if (!image.Map(table.rva, 40, at) || !bytes.U32(at + 24, count) || !bytes.U32(at + 32, namesRva))
    return "export table outside the file";
  if (count > kMaxExportNames) return "export table too long";
  std::uint64_t list = 0;
  if (count > 0 && !image.Map(namesRva, std::uint64_t{count} * 4, list)) return "exported names outside the file";
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t nameRva = 0;
    std::string name;
    if (!bytes.U32(list + 4 * std::uint64_t{i}, nameRva) || !image.Name(nameRva, name))
      return "exported name outside the file";
    names.push_back(std::move(name));
  }
  return nullptr;
}

// Both tables are arrays of fixed-size descriptors ending with one whose name is 0.
// `nameAt` is where the name's RVA sits in a descriptor; `toRva` turns it into an RVA.
template <typename ToRva>
const char* ReadDllNames(const Layout& image, Directory table, std::size_t descriptorSize,
                         std::size_t nameAt, ToRva toRva, std::vector<std::string>& names) {
  const Bytes& bytes = image.bytes();
  for (std::size_t i = 0;; ++i) {
    if (i == kMaxImportedDlls) return "import table too long";
    std::uint64_t at = 0;
    if (!image.Map(std::uint64_t{table.rva} + i * descriptorSize, descriptorSize, at))
      return "import table outside the file";
    std::uint32_t nameRef = 0;
    bytes.U32(at + nameAt, nameRef);
    if (nameRef == 0 || AllZero(bytes, at, descriptorSize)) return nullptr;
    std::uint64_t nameRva = 0;
    std::string name;
    if (!toRva(bytes, at, nameRef, nameRva) || !image.Name(nameRva, name))
      return "imported DLL name outside the file";
    names.push_back(std::move(name));
  }
}

// The data entry of a resource, first match at each level: type, then name (1 when there is
// one, as VS_VERSION_INFO is), then language. Three levels deep at most, so no cycle can hold it.
bool FindResource(const Layout& image, Directory table, std::uint32_t type, ResourceLocation& found) {
  const Bytes& bytes = image.bytes();
  std::uint32_t directory = 0;  // offset from the table's start
  const std::uint32_t wanted[] = {type, 1, 0};
  for (int level = 0; level < 3; ++level) {
    std::uint64_t at = 0;
    std::uint16_t named = 0, numbered = 0;
    if (!image.Map(std::uint64_t{table.rva} + directory, 16, at) || !bytes.U16(at + 12, named) ||
        !bytes.U16(at + 14, numbered))
      return false;
    const std::uint32_t total = std::uint32_t{named} + numbered;
    std::uint64_t entries = 0;
    if (total == 0 || !image.Map(std::uint64_t{table.rva} + directory + 16, std::uint64_t{total} * 8, entries))
      return false;
    std::uint32_t chosen = level == 0 ? total : 0;  // the type must match; the rest may fall back
    for (std::uint32_t i = named; i < total; ++i) {
      std::uint32_t id = 0;
      bytes.U32(entries + 8 * std::uint64_t{i}, id);
      if (id == wanted[level] && level < 2) {
        chosen = i;
        break;
      }
    }
    if (chosen == total) return false;
    std::uint32_t target = 0;
    bytes.U32(entries + 8 * std::uint64_t{chosen} + 4, target);
    const bool subdirectory = (target & kResourceSubdirectory) != 0;
    if (subdirectory != (level < 2)) return false;
    directory = target & ~kResourceSubdirectory;
  }
  std::uint64_t at = 0;
  if (!image.Map(std::uint64_t{table.rva} + directory, 16, at)) return false;
  bytes.U32(at, found.rva);
  bytes.U32(at + 4, found.size);
  return true;
}

// VS_VERSIONINFO: wLength, wValueLength, wType, L"VS_VERSION_INFO", then VS_FIXEDFILEINFO.
std::optional<FileVersion> ReadFixedFileVersion(const Layout& image, ResourceLocation resource) {
  const Bytes& bytes = image.bytes();
  constexpr std::size_t kNeeded = kFixedFileInfoAt + kFixedFileInfoSize;
  std::uint64_t at = 0;
  if (resource.size < kNeeded || !image.Map(resource.rva, kNeeded, at)) return std::nullopt;
  std::uint16_t length = 0, valueLength = 0;
  bytes.U16(at, length);
  bytes.U16(at + 2, valueLength);
  if (length < kNeeded || valueLength < kFixedFileInfoSize) return std::nullopt;
  const char key[] = "VS_VERSION_INFO";
  for (std::size_t i = 0; i < sizeof key; ++i) {
    std::uint16_t c = 0;
    bytes.U16(at + 6 + 2 * i, c);
    if (c != static_cast<unsigned char>(key[i])) return std::nullopt;
  }
  std::uint32_t signature = 0, high = 0, low = 0;
  bytes.U32(at + kFixedFileInfoAt, signature);
  bytes.U32(at + kFixedFileInfoAt + 8, high);
  bytes.U32(at + kFixedFileInfoAt + 12, low);
  if (signature != kFixedFileInfoSignature) return std::nullopt;
  FileVersion version;
  version.parts = {static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high),
                   static_cast<std::uint16_t>(low >> 16), static_cast<std::uint16_t>(low)};
  return version;
}

}  // namespace

std::wstring FileVersion::Text() const {
  return std::to_wstring(parts[0]) + L'.' + std::to_wstring(parts[1]) + L'.' + std::to_wstring(parts[2]) +
         L'.' + std::to_wstring(parts[3]);
}

bool PeImage::Exports(std::string_view name) const {
  return std::find(exports.begin(), exports.end(), name) != exports.end();
}

std::wstring MachineName(std::uint16_t machine) {
  if (machine == kMachineI386) return L"i386";
  if (machine == kMachineAmd64) return L"AMD64";
  wchar_t text[8];
  std::swprintf(text, 8, L"0x%04X", machine);
  return text;
}

PeImage ReadPeImage(const std::uint8_t* data, std::size_t size) {
  PeImage image;
  const Bytes bytes(data, size);
  auto stop = [&image](const char* why) {
    image.problem = why;
    return image;
  };

  std::uint32_t peAt = 0;
  if (!bytes.Has(0, 64) || bytes.At(0) != 'M' || bytes.At(1) != 'Z' || !bytes.U32(0x3C, peAt))
    return stop("no program header (MZ)");
  if (!bytes.Has(peAt, 24) || bytes.At(peAt) != 'P' || bytes.At(peAt + 1) != 'E' || bytes.At(peAt + 2) != 0 ||
      bytes.At(peAt + 3) != 0)
    return stop("no PE header");
  std::uint16_t sectionCount = 0, optionalSize = 0, characteristics = 0;
  bytes.U16(peAt + 4, image.machine);
  bytes.U16(peAt + 6, sectionCount);
  bytes.U16(peAt + 20, optionalSize);
  bytes.U16(peAt + 22, characteristics);
  image.isDll = (characteristics & kFileDll) != 0;

  const std::uint64_t optional = std::uint64_t{peAt} + 24;
  std::uint16_t magic = 0;
  if (!bytes.Has(optional, optionalSize) || optionalSize < 2) return stop("optional header outside the file");
  bytes.U16(optional, magic);
  std::uint64_t imageBase = 0;
  std::uint32_t headersSize = 0, directoryCount = 0;
  std::uint64_t directories = 0;
  if (magic == kMagicPe32 && optionalSize >= 96) {
    std::uint32_t base32 = 0;
    bytes.U32(optional + 28, base32);
    imageBase = base32;
    bytes.U32(optional + 92, directoryCount);
    directories = optional + 96;
  } else if (magic == kMagicPe32Plus && optionalSize >= 112) {
    image.pe32Plus = true;
    bytes.U64(optional + 24, imageBase);
    bytes.U32(optional + 108, directoryCount);
    directories = optional + 112;
  } else {
    return stop("unknown optional header");
  }
  bytes.U32(optional + 60, headersSize);
  directoryCount = static_cast<std::uint32_t>(std::min<std::uint64_t>(
      {directoryCount, kMaxDirectories, (optional + optionalSize - directories) / 8}));
  auto directory = [&](unsigned entry) {
    Directory d;
    if (entry < directoryCount) {
      bytes.U32(directories + 8 * entry, d.rva);
      bytes.U32(directories + 8 * entry + 4, d.size);
    }
    return d;
  };

  const std::uint64_t table = optional + optionalSize;
  if (!bytes.Has(table, std::uint64_t{sectionCount} * 40)) return stop("section table outside the file");
  std::vector<Section> sections(sectionCount);
  for (std::uint16_t i = 0; i < sectionCount; ++i) {
    bytes.U32(table + 40 * i + 12, sections[i].address);
    bytes.U32(table + 40 * i + 16, sections[i].rawSize);
    bytes.U32(table + 40 * i + 20, sections[i].rawAt);
  }
  if ((characteristics & kFileExecutableImage) == 0) return stop("not marked as an executable image");
  // The loader refuses a file that ends before a section's data does (a copy cut short).
  for (const Section& s : sections)
    if (!bytes.Has(s.rawAt, s.rawSize)) return stop("section data beyond the end of the file");
  const Layout layout(bytes, headersSize, std::move(sections));

  if (const Directory d = directory(kExportEntry); d.rva != 0)
    if (const char* why = ReadExports(layout, d, image.exports)) return stop(why);

  auto plainRva = [](const Bytes&, std::uint64_t, std::uint32_t ref, std::uint64_t& rva) {
    rva = ref;
    return true;
  };
  if (const Directory d = directory(kImportEntry); d.rva != 0)
    if (const char* why = ReadDllNames(layout, d, kImportDescriptorSize, 12, plainRva, image.imports))
      return stop(why);

  // A delay descriptor without the RVA attribute (bit 0) holds addresses, not RVAs: the old
  // 32-bit form.
  auto delayRva = [&image, imageBase](const Bytes& b, std::uint64_t at, std::uint32_t ref, std::uint64_t& rva) {
    std::uint32_t attributes = 0;
    b.U32(at, attributes);
    if (attributes & 1) {
      rva = ref;
      return true;
    }
    if (image.pe32Plus || ref < imageBase) return false;
    rva = ref - imageBase;
    return true;
  };
  if (const Directory d = directory(kDelayImportEntry); d.rva != 0)
    if (const char* why = ReadDllNames(layout, d, kDelayDescriptorSize, 4, delayRva, image.delayImports))
      return stop(why);

  // A damaged resource table does not keep the loader from loading the file: then there is
  // simply no version.
  ResourceLocation version;
  if (const Directory d = directory(kResourceEntry); d.rva != 0 && FindResource(layout, d, kResourceVersion, version)) {
    image.versionResource = version;
    image.fileVersion = ReadFixedFileVersion(layout, version);
  }
  return image;
}

}  // namespace tovrel::loader

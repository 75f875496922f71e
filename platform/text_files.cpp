#include "platform/text_files.h"

#include "platform/platform_error.h"

namespace tovrel::platform {

namespace {

bool InRange(std::int16_t number) { return number >= 1 && number <= TextFiles::kMaxFileNumber; }

}  // namespace

std::int16_t TextFiles::FreeFileNumber() const {
  for (std::int16_t number = 1; number <= kMaxFileNumber; ++number) {
    if (!open_[static_cast<std::size_t>(number)]) return number;
  }
  throw PlatformError(L"Demasiados archivos abiertos.");
}

void TextFiles::Open(std::int16_t number, const std::wstring& path) {
  if (!InRange(number)) throw PlatformError(L"Número de archivo incorrecto.");
  std::unique_ptr<TextFile>& slot = open_[static_cast<std::size_t>(number)];
  if (slot) throw PlatformError(L"El número de archivo ya está en uso.");
  slot = files_.OpenText(path);
}

TextFile& TextFiles::Lookup(std::int16_t number) {
  if (!InRange(number) || !open_[static_cast<std::size_t>(number)]) {
    throw PlatformError(L"Número de archivo incorrecto.");
  }
  return *open_[static_cast<std::size_t>(number)];
}

bool TextFiles::AtEnd(std::int16_t number) { return Lookup(number).AtEnd(); }

std::wstring TextFiles::ReadLine(std::int16_t number) { return Lookup(number).ReadLine(); }

void TextFiles::Close(std::int16_t number) noexcept {
  if (InRange(number)) open_[static_cast<std::size_t>(number)].reset();
}

}  // namespace tovrel::platform

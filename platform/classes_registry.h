#pragma once
// The registered classes as the logic reads them (HKEY_CLASSES_ROOT), in the registry view of
// a given bitness: 64-bit programs and components see one view, 32-bit ones the other.
// Read-only: nothing here writes to the registry.
#include <optional>
#include <string>
#include <vector>

namespace tovrel::platform {

enum class RegistryView { Bits32, Bits64 };

class ClassesRegistry {
 public:
  virtual ~ClassesRegistry() = default;

  // The text of value `name` (empty: the key's default value) of `key`, a path below the
  // classes root ("CLSID\\{...}\\InprocServer32"); environment strings expanded. Nothing when
  // the key or the value is missing or is not text.
  virtual std::optional<std::wstring> Value(RegistryView view, const std::wstring& key,
                                            const std::wstring& name) = 0;

  // The names of the subkeys of `key`; none when it is missing.
  virtual std::vector<std::wstring> Subkeys(RegistryView view, const std::wstring& key) = 0;
};

}  // namespace tovrel::platform

#pragma once
// The checker's read-only seams on Win32: the registered classes of either registry view, and
// a component's bytes and type library.
#include <windows.h>

#include "platform/classes_registry.h"
#include "platform/component_files.h"

namespace tovrel::platform {

class Win32ClassesRegistry final : public ClassesRegistry {
 public:
  std::optional<std::wstring> Value(RegistryView view, const std::wstring& key,
                                    const std::wstring& name) override;
  std::vector<std::wstring> Subkeys(RegistryView view, const std::wstring& key) override;

 private:
  static std::optional<std::wstring> ReadText(HKEY key, const std::wstring& name);
};

class Win32ComponentFiles final : public ComponentFiles {
 public:
  bool Exists(const std::wstring& path) override;
  std::optional<std::array<std::uint16_t, 4>> FileVersionOf(const std::wstring& path) override;
  LoaderEnvironment LoaderEnvironmentFor(bool sixtyFourBit) override;
  std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path) override;
  std::optional<TypeLibrary> TypeLibraryOf(const std::wstring& path) override;
};

}  // namespace tovrel::platform

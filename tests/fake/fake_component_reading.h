#pragma once
// The checker's read-only seams in memory: registered classes per registry view, and
// component files with the type library each carries.
#include <algorithm>
#include <cwctype>
#include <map>
#include <set>
#include <utility>

#include "loader/pe_image.h"
#include "platform/classes_registry.h"
#include "platform/component_files.h"

namespace tovrel::fake {

class FakeClassesRegistry final : public platform::ClassesRegistry {
 public:
  // Key paths are matched without regard to case, as the registry does.
  void Set(platform::RegistryView view, const std::wstring& key, const std::wstring& name,
           const std::wstring& value) {
    values_[{view, Lower(key)}][Lower(name)] = value;
  }
  void DeleteTree(platform::RegistryView view, const std::wstring& key) {
    const std::wstring lower = Lower(key);
    for (auto it = values_.begin(); it != values_.end();) {
      const bool inside = it->first.first == view &&
                          (it->first.second == lower || it->first.second.rfind(lower + L"\\", 0) == 0);
      it = inside ? values_.erase(it) : std::next(it);
    }
  }

  std::optional<std::wstring> Value(platform::RegistryView view, const std::wstring& key,
                                    const std::wstring& name) override {
    const auto keyIt = values_.find({view, Lower(key)});
    if (keyIt == values_.end()) return std::nullopt;
    const auto valueIt = keyIt->second.find(Lower(name));
    if (valueIt == keyIt->second.end()) return std::nullopt;
    return valueIt->second;
  }
  std::vector<std::wstring> Subkeys(platform::RegistryView view, const std::wstring& key) override {
    const std::wstring prefix = Lower(key) + L"\\";
    std::set<std::wstring> names;
    for (const auto& [where, values] : values_) {
      if (where.first != view || where.second.rfind(prefix, 0) != 0) continue;
      const std::wstring rest = where.second.substr(prefix.size());
      names.insert(rest.substr(0, rest.find(L'\\')));
    }
    return {names.begin(), names.end()};
  }

 private:
  static std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
  }
  std::map<std::pair<platform::RegistryView, std::wstring>, std::map<std::wstring, std::wstring>> values_;
};

class FakeComponentFiles final : public platform::ComponentFiles {
 public:
  std::map<std::wstring, std::vector<std::uint8_t>> files;
  std::map<std::wstring, platform::TypeLibrary> typeLibraries;
  platform::LoaderEnvironment environment32;
  platform::LoaderEnvironment environment64;

  bool Exists(const std::wstring& path) override { return files.count(path) != 0; }
  // The version as the portable reader finds it in the file's bytes.
  std::optional<std::array<std::uint16_t, 4>> FileVersionOf(const std::wstring& path) override {
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    const auto version = loader::ReadPeImage(it->second).fileVersion;
    if (!version) return std::nullopt;
    return version->parts;
  }
  platform::LoaderEnvironment LoaderEnvironmentFor(bool sixtyFourBit) override {
    return sixtyFourBit ? environment64 : environment32;
  }

  std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path) override {
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  std::optional<platform::TypeLibrary> TypeLibraryOf(const std::wstring& path) override {
    const auto it = typeLibraries.find(path);
    if (it == typeLibraries.end() || !files.count(path)) return std::nullopt;
    return it->second;
  }
};

}  // namespace tovrel::fake

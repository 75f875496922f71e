#include <windows.h>

#include <memory>
#include <set>

#include "platform/win32/win32_component_reading.h"

namespace tovrel::platform {
namespace {

// Chosen by the view asked for, never by this program's own bitness.
REGSAM ViewFlag(RegistryView view) {
  return view == RegistryView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

struct KeyCloser {
  void operator()(HKEY key) const noexcept { ::RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

// HKEY_CLASSES_ROOT merges the user's classes over the machine's; each is opened under
// Software\Classes with the view's flag, which the merged root does not take everywhere.
const HKEY kClassRoots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

UniqueKey OpenForReading(HKEY root, RegistryView view, const std::wstring& key) {
  HKEY opened = nullptr;
  const std::wstring path = L"Software\\Classes\\" + key;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | ViewFlag(view), &opened) != ERROR_SUCCESS) {
    return nullptr;
  }
  return UniqueKey(opened);
}

}  // namespace

std::optional<std::wstring> Win32ClassesRegistry::Value(RegistryView view, const std::wstring& key,
                                                        const std::wstring& name) {
  for (HKEY root : kClassRoots) {
    if (UniqueKey opened = OpenForReading(root, view, key)) {
      if (auto text = ReadText(opened.get(), name)) return text;
    }
  }
  return std::nullopt;
}

std::optional<std::wstring> Win32ClassesRegistry::ReadText(HKEY opened, const std::wstring& name) {
  const wchar_t* valueName = name.empty() ? nullptr : name.c_str();
  // REG_SZ, and REG_EXPAND_SZ with its environment strings expanded (asking for the latter by
  // name would mean unexpanded).
  constexpr DWORD kText = RRF_RT_REG_SZ;
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD bytes = 0;
    if (::RegGetValueW(opened, nullptr, valueName, kText, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const LSTATUS status =
        ::RegGetValueW(opened, nullptr, valueName, kText, nullptr, text.data(), &bytes);
    if (status == ERROR_MORE_DATA) continue;  // it grew in between
    if (status != ERROR_SUCCESS) return std::nullopt;
    text.resize(bytes / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
  }
  return std::nullopt;
}

std::vector<std::wstring> Win32ClassesRegistry::Subkeys(RegistryView view, const std::wstring& key) {
  std::set<std::wstring> seen;
  std::vector<std::wstring> names;
  wchar_t name[256];  // a key name has at most 255 characters
  for (HKEY root : kClassRoots) {
    UniqueKey opened = OpenForReading(root, view, key);
    if (!opened) continue;
    for (DWORD index = 0;; ++index) {
      DWORD length = ARRAYSIZE(name);
      const LSTATUS status =
          ::RegEnumKeyExW(opened.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (status != ERROR_SUCCESS) break;  // ERROR_NO_MORE_ITEMS, or the key went away
      std::wstring upper(name, length);
      for (wchar_t& c : upper) c = static_cast<wchar_t>(::towupper(c));
      if (seen.insert(upper).second) names.emplace_back(name, length);
    }
  }
  return names;
}

}  // namespace tovrel::platform

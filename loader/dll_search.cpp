#include "loader/dll_search.h"

namespace tovrel::loader {
namespace {

bool HasFolder(const std::wstring& name) { return name.find_first_of(L"\\/") != std::wstring::npos; }

}  // namespace

std::wstring FoldName(const std::wstring& name) {
  std::wstring folded = name;
  for (wchar_t& c : folded)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return folded;
}

std::wstring WidenName(const std::string& name) {
  std::wstring wide;
  for (char c : name) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return wide;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  if (folder.back() == L'\\' || folder.back() == L'/') return folder + name;
  return folder + L'\\' + name;
}

std::wstring FirstSearchFolder(const std::wstring& component, const std::wstring& registrarFolder) {
  const auto slash = component.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return registrarFolder;
  // "C:\comp.dll": the folder is the drive's root, kept with its backslash.
  if (slash == 0 || component[slash - 1] == L':') return component.substr(0, slash + 1);
  return component.substr(0, slash);
}

DllLocation LocateDll(const std::wstring& importName, const SearchOrder& order, const ExistsQuery& exists) {
  std::wstring name = importName;
  const auto lastPart = name.find_last_of(L"\\/");
  if (name.find(L'.', lastPart == std::wstring::npos ? 0 : lastPart) == std::wstring::npos) name += L".dll";
  const std::wstring folded = FoldName(name);

  for (const std::wstring& prefix : order.apiSetPrefixes)
    if (!prefix.empty() && folded.compare(0, prefix.size(), FoldName(prefix)) == 0) return {DllSource::kApiSet, {}};
  if (HasFolder(name)) return exists(name) ? DllLocation{DllSource::kFile, name} : DllLocation{};
  for (const std::wstring& known : order.knownDlls)
    if (FoldName(known) == folded) return {DllSource::kKnownDll, JoinPath(order.systemFolder, name)};

  std::vector<const std::wstring*> folders{&order.firstFolder, &order.systemFolder, &order.windowsFolder,
                                           &order.currentFolder};
  for (const std::wstring& folder : order.pathFolders) folders.push_back(&folder);
  for (const std::wstring* folder : folders) {
    if (folder->empty()) continue;
    const std::wstring path = JoinPath(*folder, name);
    if (exists(path)) return {DllSource::kFile, path};
  }
  return {};
}

}  // namespace tovrel::loader

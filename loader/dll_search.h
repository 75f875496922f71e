#pragma once
// Where the loader finds a DLL that a component imports, when the registrar loads that
// component. The one place that knows the search order.
#include <functional>
#include <string>
#include <vector>

namespace tovrel::loader {

// The folders searched, in order, after API sets and KnownDLLs. All of them for the
// component's bitness: a 32-bit component's system folder is the 32-bit one.
struct SearchOrder {
  // The registrar's folder when it is handed a bare name; the component's own folder when it
  // is handed a path, which it loads with the altered search path (FirstSearchFolder).
  std::wstring firstFolder;
  std::wstring systemFolder;
  std::wstring windowsFolder;
  std::wstring currentFolder;
  std::vector<std::wstring> pathFolders;  // PATH's entries, in order; empty ones are skipped
  // Names that resolve without a file: API sets by prefix, KnownDLLs by name (compared
  // without regard to ASCII case, as the loader does).
  std::vector<std::wstring> apiSetPrefixes{L"api-ms-win-", L"ext-ms-"};
  std::vector<std::wstring> knownDlls;
};

// The folder searched first for the imports of `component` as the registrar is handed it.
std::wstring FirstSearchFolder(const std::wstring& component, const std::wstring& registrarFolder);

enum class DllSource { kApiSet, kKnownDll, kFile, kMissing };

struct DllLocation {
  DllSource source = DllSource::kMissing;
  std::wstring path;  // for kFile and kKnownDll (the system folder's copy)
};

// True when a file exists at the given path. Supplied by the caller: the platform on
// Windows, an in-memory map in tests.
using ExistsQuery = std::function<bool(const std::wstring& path)>;

// Where `importName` (as written in an import table) would be found. A name without an
// extension gets ".dll", as the loader adds it; a name with a folder in it is looked up
// only there.
DllLocation LocateDll(const std::wstring& importName, const SearchOrder& order, const ExistsQuery& exists);

// An import table's name as a path's last part. Names there are ASCII in practice; a byte
// beyond it is taken as its Latin-1 character.
std::wstring WidenName(const std::string& name);

// `folder` and `name` joined with one backslash.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// ASCII letters folded to lower case, nothing else changed: how the loader compares names.
std::wstring FoldName(const std::wstring& name);

}  // namespace tovrel::loader

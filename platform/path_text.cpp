#include "platform/path_text.h"

namespace tovrel::platform {

PathParts SplitAtLastBackslash(std::wstring_view path) {
  const std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring_view::npos) return {{}, std::wstring(path)};
  return {std::wstring(path.substr(0, slash)), std::wstring(path.substr(slash + 1))};
}

std::wstring ContainingFolder(std::wstring_view path) {
  const std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring_view::npos) return {};
  std::wstring folder(path.substr(0, slash));
  if (folder.empty() || folder.back() == L':') folder += L'\\';
  return folder;
}

std::wstring WithTrailingBackslash(std::wstring folder) {
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring CollapseBackslashes(std::wstring_view path) {
  std::wstring out;
  out.reserve(path.size());
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == L'\\' && i > 1 && !out.empty() && out.back() == L'\\') continue;
    out.push_back(path[i]);
  }
  return out;
}

}  // namespace tovrel::platform

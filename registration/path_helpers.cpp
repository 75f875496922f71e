#include "registration/path_helpers.h"

#include "platform/path_text.h"
#include "platform/platform_error.h"

namespace tovrel::registration {

bool FileExists(const std::wstring& path, platform::FileSystem& files) {
  return files.FindNormalFile(path);
}

void SplitPath(const std::wstring& Todo, std::wstring& LPath, std::wstring& nombre) {
  // Copy first: a caller may pass the same text as input and as an output.
  std::wstring whole = Todo;
  LPath.clear();
  if (whole.size() > kMaxSplitPathLength) {
    nombre = std::move(whole);
    throw platform::PlatformError(L"La ruta tiene más de " + std::to_wstring(kMaxSplitPathLength) +
                                  L" caracteres y no se puede dividir.");
  }
  platform::PathParts parts = platform::SplitAtLastBackslash(whole);
  LPath = std::move(parts.folder);
  nombre = std::move(parts.name);
}

void SplitPath(const std::wstring& Todo, std::wstring& LPath) {
  std::wstring unused;
  SplitPath(Todo, LPath, unused);
}

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

}  // namespace tovrel::registration

#include <windows.h>
#include <oleauto.h>

#include <algorithm>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_component_reading.h"

namespace tovrel::platform {
namespace {

// Components are small; anything far larger is not one, and is not read whole.
constexpr LONGLONG kLargestComponent = 512LL * 1024 * 1024;

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(guid, text, ARRAYSIZE(text));
  std::wstring upper(text);
  for (wchar_t& c : upper) c = static_cast<wchar_t>(::towupper(c));
  return upper;
}

struct Released {
  void operator()(IUnknown* object) const noexcept { object->Release(); }
};

std::wstring FromSystem(UINT (WINAPI* query)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH + 1] = {};
  const UINT length = query(buffer, MAX_PATH + 1);
  return length > 0 && length <= MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

bool RunsOn64BitWindows() {
  if (sizeof(void*) == 8) return true;
  BOOL wow64 = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

bool Win32ComponentFiles::Exists(const std::wstring& path) {
  if (detail::HasEmbeddedNull(path)) return false;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::array<std::uint16_t, 4>> Win32ComponentFiles::FileVersionOf(const std::wstring& path) {
  if (detail::HasEmbeddedNull(path)) return std::nullopt;
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<std::uint8_t> block(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  return std::array<std::uint16_t, 4>{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                                      HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
}

LoaderEnvironment Win32ComponentFiles::LoaderEnvironmentFor(bool sixtyFourBit) {
  LoaderEnvironment environment;
  environment.windowsFolder = FromSystem(::GetWindowsDirectoryW);
  if (!RunsOn64BitWindows() || sixtyFourBit == (sizeof(void*) == 8)) {
    environment.systemFolder = FromSystem(::GetSystemDirectoryW);
  } else if (sixtyFourBit) {
    // A 32-bit checker reaches the 64-bit system folder past its redirection.
    environment.systemFolder = environment.windowsFolder + L"\\Sysnative";
  } else {
    environment.systemFolder = FromSystem(::GetSystemWow64DirectoryW);
  }
  wchar_t current[MAX_PATH + 1] = {};
  const DWORD currentLength = ::GetCurrentDirectoryW(MAX_PATH + 1, current);
  if (currentLength > 0 && currentLength <= MAX_PATH) environment.currentFolder.assign(current, currentLength);
  const DWORD pathLength = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
  if (pathLength > 0) {
    std::wstring path(pathLength, L'\0');
    path.resize(::GetEnvironmentVariableW(L"PATH", path.data(), pathLength));
    for (std::size_t start = 0; start <= path.size();) {
      const std::size_t end = std::min(path.find(L';', start), path.size());
      if (end > start) environment.pathFolders.push_back(path.substr(start, end - start));
      start = end + 1;
    }
  }
  HKEY known = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs", 0,
                      KEY_READ | (sixtyFourBit ? KEY_WOW64_64KEY : KEY_WOW64_32KEY), &known) == ERROR_SUCCESS) {
    wchar_t name[256];
    wchar_t value[MAX_PATH];
    for (DWORD index = 0;; ++index) {
      DWORD nameLength = ARRAYSIZE(name);
      DWORD valueBytes = sizeof(value);
      DWORD type = 0;
      if (::RegEnumValueW(known, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(value),
                          &valueBytes) != ERROR_SUCCESS) {
        break;
      }
      if (type == REG_SZ && valueBytes >= sizeof(wchar_t)) {
        environment.knownDlls.emplace_back(value, valueBytes / sizeof(wchar_t) - 1);
      }
    }
    ::RegCloseKey(known);
  }
  return environment;
}

std::optional<std::vector<std::uint8_t>> Win32ComponentFiles::Read(const std::wstring& path) {
  if (detail::HasEmbeddedNull(path)) return std::nullopt;
  detail::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestComponent) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    if (!::ReadFile(file.get(), bytes.data() + done, want, &got, nullptr)) return std::nullopt;
    if (got == 0) break;  // it shrank in between
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

std::optional<TypeLibrary> Win32ComponentFiles::TypeLibraryOf(const std::wstring& path) {
  if (detail::HasEmbeddedNull(path)) return std::nullopt;
  // REGKIND_NONE: the library is read from the file's resources and nothing is registered;
  // the component is mapped as data, never run.
  ITypeLib* opened = nullptr;
  if (FAILED(::LoadTypeLibEx(path.c_str(), REGKIND_NONE, &opened)) || !opened) return std::nullopt;
  std::unique_ptr<ITypeLib, Released> library(opened);
  TLIBATTR* attributes = nullptr;
  if (FAILED(library->GetLibAttr(&attributes)) || !attributes) return std::nullopt;
  TypeLibrary found;
  found.libraryId = GuidText(attributes->guid);
  found.major = attributes->wMajorVerNum;
  found.minor = attributes->wMinorVerNum;
  library->ReleaseTLibAttr(attributes);
  const UINT count = library->GetTypeInfoCount();
  for (UINT index = 0; index < count; ++index) {
    TYPEKIND kind{};
    if (FAILED(library->GetTypeInfoType(index, &kind)) || kind != TKIND_COCLASS) continue;
    ITypeInfo* info = nullptr;
    if (FAILED(library->GetTypeInfo(index, &info)) || !info) continue;
    std::unique_ptr<ITypeInfo, Released> type(info);
    TYPEATTR* typeAttributes = nullptr;
    if (FAILED(type->GetTypeAttr(&typeAttributes)) || !typeAttributes) continue;
    found.classIds.push_back(GuidText(typeAttributes->guid));
    type->ReleaseTypeAttr(typeAttributes);
  }
  return found;
}

}  // namespace tovrel::platform

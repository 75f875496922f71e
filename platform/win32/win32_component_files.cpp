#include <windows.h>
#include <oleauto.h>

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

}  // namespace

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

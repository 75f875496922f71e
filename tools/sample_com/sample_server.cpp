// A minimal in-process COM server: one class whose objects tell who they are
// (ISampleIdentity). The build compiles this file once per sample with its own class id and
// ProgID.
#include <windows.h>
#include <oleauto.h>
#include <objbase.h>

#include <cwchar>
#include <new>
#include <string>

#include "sample_identity.h"

namespace {

const CLSID kClsid = {SAMPLE_CLSID_PARTS};
const wchar_t kClsidText[] = SAMPLE_CLSID_TEXT;
const wchar_t kProgId[] = SAMPLE_PROGID;

HMODULE g_module = nullptr;
LONG g_liveObjects = 0;
LONG g_locks = 0;

class SampleObject final : public ISampleIdentity {
public:
    SampleObject() { InterlockedIncrement(&g_liveObjects); }
    ~SampleObject() { InterlockedDecrement(&g_liveObjects); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIidSampleIdentity)) {
            *out = static_cast<ISampleIdentity*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE Identify(wchar_t* buffer, UINT capacity) override {
        if (!buffer) return E_POINTER;
        const std::wstring answer = std::wstring(kProgId) + L" " + SampleBitness();
        if (answer.size() >= capacity) return E_INVALIDARG;
        std::wmemcpy(buffer, answer.c_str(), answer.size() + 1);
        return S_OK;
    }

private:
    LONG refs_ = 1;
};

class SampleFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is static: its lifetime is the module's.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        SampleObject* object = new (std::nothrow) SampleObject;
        if (!object) return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(riid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            InterlockedIncrement(&g_locks);
        else
            InterlockedDecrement(&g_locks);
        return S_OK;
    }
};

SampleFactory g_factory;

class RegKey {
public:
    ~RegKey() {
        if (key_) RegCloseKey(key_);
    }
    LSTATUS Create(HKEY parent, const std::wstring& path) {
        return RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key_,
                               nullptr);
    }
    LSTATUS Set(const wchar_t* name, const std::wstring& value) {
        return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

private:
    HKEY key_ = nullptr;
};

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

LSTATUS WriteKey(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    RegKey key;
    LSTATUS status = key.Create(HKEY_CLASSES_ROOT, path);
    if (status == ERROR_SUCCESS) status = key.Set(name, value);
    return status;
}

LSTATUS DeleteTreeIfPresent(const std::wstring& path) {
    LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    status = RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, out);
}

STDAPI DllCanUnloadNow() {
    return (g_liveObjects == 0 && g_locks == 0) ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    const std::wstring path = ModulePath();
    if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
    const std::wstring clsidKey = std::wstring(L"CLSID\\") + kClsidText;
    const std::wstring progIdKey = kProgId;

    LSTATUS status = WriteKey(clsidKey, nullptr, progIdKey);
    if (status == ERROR_SUCCESS) status = WriteKey(clsidKey + L"\\ProgID", nullptr, progIdKey);
    if (status == ERROR_SUCCESS) status = WriteKey(clsidKey + L"\\InprocServer32", nullptr, path);
    if (status == ERROR_SUCCESS)
        status = WriteKey(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    if (status == ERROR_SUCCESS) status = WriteKey(progIdKey, nullptr, progIdKey);
    if (status == ERROR_SUCCESS) status = WriteKey(progIdKey + L"\\CLSID", nullptr, kClsidText);
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
#ifdef SAMPLE_HAS_TYPE_LIBRARY
    // The type library it carries, registered as such servers do (TypeLib\{id}\1.0).
    ITypeLib* library = nullptr;
    HRESULT result = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
    if (SUCCEEDED(result)) {
        std::wstring fullPath = path;  // the API takes a writable string
        result = RegisterTypeLib(library, fullPath.data(), nullptr);
        library->Release();
    }
    return result;
#else
    return S_OK;
#endif
}

STDAPI DllUnregisterServer() {
#ifdef SAMPLE_HAS_TYPE_LIBRARY
    ITypeLib* library = nullptr;
    if (SUCCEEDED(LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &library))) {
        TLIBATTR* attributes = nullptr;
        if (SUCCEEDED(library->GetLibAttr(&attributes))) {
            UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                              attributes->lcid, attributes->syskind);
            library->ReleaseTLibAttr(attributes);
        }
        library->Release();
    }
#endif
    LSTATUS status = DeleteTreeIfPresent(std::wstring(L"CLSID\\") + kClsidText);
    const LSTATUS progStatus = DeleteTreeIfPresent(kProgId);
    if (status == ERROR_SUCCESS) status = progStatus;
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

// Creates each class named on the command line with CoCreateInstance, as any client of the
// components would, and asks it who it is. One line per class: the answer, or the failure with
// its code (0x80040154, REGDB_E_CLASSNOTREG, when this client's registry view holds no such
// class). Exit 0 when every class was created and answered.
//   TovrelComClient.exe {CLSID} [{CLSID}...]
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cwchar>

#include "sample_identity.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: TovrelComClient {CLSID} [{CLSID}...]\n");
        return 2;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        CLSID clsid;
        ISampleIdentity* object = nullptr;
        HRESULT hr = CLSIDFromString(argv[i], &clsid);
        if (SUCCEEDED(hr))
            hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidSampleIdentity,
                                  reinterpret_cast<void**>(&object));
        wchar_t answer[128] = L"";
        if (SUCCEEDED(hr)) {
            hr = object->Identify(answer, ARRAYSIZE(answer));
            object->Release();
        }
        if (SUCCEEDED(hr)) {
            std::wprintf(L"%ls (%ls client): %ls\n", argv[i], SampleBitness(), answer);
        } else {
            std::wprintf(L"%ls (%ls client): not created, 0x%08lX\n", argv[i], SampleBitness(),
                         static_cast<unsigned long>(hr));
            ++failures;
        }
    }
    CoUninitialize();
    return failures == 0 ? 0 : 1;
}

#pragma once
// What a sample server's object answers about itself: its ProgID and the bitness it was built
// for. Only that sample knows both, so a client that gets the answer it expects has created the
// sample it asked for, through a registration its own bitness sees, and called it across the
// real vtable (calling convention included).
#include <windows.h>
#include <unknwn.h>

// {6F1C2A10-3B4D-4E5F-8A91-2C3D4E5F6AFF}
inline constexpr IID kIidSampleIdentity = {
    0x6F1C2A10, 0x3B4D, 0x4E5F, {0x8A, 0x91, 0x2C, 0x3D, 0x4E, 0x5F, 0x6A, 0xFF}};

struct ISampleIdentity : public IUnknown {
    // Writes "<ProgID> <32|64>-bit" into `buffer` (NUL-terminated); E_INVALIDARG when it does
    // not fit.
    virtual HRESULT STDMETHODCALLTYPE Identify(wchar_t* buffer, UINT capacity) = 0;
};

inline const wchar_t* SampleBitness() { return sizeof(void*) == 4 ? L"32-bit" : L"64-bit"; }

// A real COM registration: our registrar beside the program, a sample server in the list.
#include "app_fixture.h"

#include <objbase.h>

#include "sample_identity.h"

namespace e2e {
namespace {

using namespace tovrel::ui;

constexpr wchar_t kSampleClsid[] = L"{6F1C2A10-3B4D-4E5F-8A91-2C3D4E5F6A01}";
const std::wstring kServerKey = std::wstring(L"CLSID\\") + kSampleClsid + L"\\InprocServer32";

void Unregister() {
    for (const std::wstring& key : {std::wstring(L"CLSID\\") + kSampleClsid,
                                   std::wstring(L"Tovrel.SampleA")}) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
        RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
    }
}

bool ReadValue(const std::wstring& key, const wchar_t* name, std::wstring& value) {
    wchar_t buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    wchar_t fullA[MAX_PATH], fullB[MAX_PATH];
    if (!GetFullPathNameW(a.c_str(), MAX_PATH, fullA, nullptr) ||
        !GetFullPathNameW(b.c_str(), MAX_PATH, fullB, nullptr))
        return false;
    return CompareStringOrdinal(fullA, -1, fullB, -1, TRUE) == CSTR_EQUAL;
}

class RealRegistrationTest : public TovrelAppTest {
protected:
    void SetUp() override {
        TovrelAppTest::SetUp();
        Unregister();
        CopyOrThrow(SampleADll(), InApp(L"TovrelSampleA.dll"));
    }
    void TearDown() override {
        Unregister();
        TovrelAppTest::TearDown();
    }
};

TEST_F(RealRegistrationTest, RunRegistersASampleServerThroughOurRegistrar) {
    Prepare({L"TovrelSampleA.dll,"}, RealRegistrarExe());
    StartAndWaitForForm1();
    PressRegistrarAndFinish();

    // Tovrel does not wait for the registrar: wait until it has written every value.
    std::wstring server, model, clsid;
    ASSERT_TRUE(PollUntil([&] {
        return ReadValue(kServerKey, nullptr, server) && ReadValue(kServerKey, L"ThreadingModel", model) &&
               ReadValue(L"Tovrel.SampleA\\CLSID", nullptr, clsid);
    })) << "HKCR\\" << ToUtf8(kServerKey) << " or the ProgID was not written";
    EXPECT_TRUE(SamePath(server, InApp(L"TovrelSampleA.dll"))) << Printable(server);
    EXPECT_EQ(model, L"Apartment");
    EXPECT_EQ(clsid, kSampleClsid);

    // A client of the program's bitness creates it and calls it: the registration is in the
    // registry view that such clients read, and the object answers what only that sample knows.
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    CLSID classId;
    ASSERT_EQ(CLSIDFromString(kSampleClsid, &classId), S_OK);
    ISampleIdentity* object = nullptr;
    ASSERT_EQ(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, kIidSampleIdentity,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    wchar_t answer[128] = L"";
    EXPECT_EQ(object->Identify(answer, ARRAYSIZE(answer)), S_OK);
    object->Release();
    CoUninitialize();
    EXPECT_EQ(std::wstring(answer), std::wstring(L"Tovrel.SampleA ") + SampleBitness());
}

TEST_F(RealRegistrationTest, RegistrarSplitsTheProgramsCommandLineAndReportsFailures) {
    CopyOrThrow(RealRegistrarExe(), InApp(L"regsvr32.exe"));
    const std::wstring registrar = L"\"" + AppPath() + L"\\regsvr32.exe \"";
    std::wstring server;

    EXPECT_EQ(RunToEnd(registrar + L"\"TovrelSampleA.dll\" /s ", folder_), 0u);
    EXPECT_TRUE(ReadValue(kServerKey, nullptr, server));

    EXPECT_EQ(RunToEnd(registrar + L"\"TovrelSampleA.dll\" /u /s ", folder_), 0u);
    EXPECT_FALSE(ReadValue(kServerKey, nullptr, server)) << "/u removes the registration";

    EXPECT_NE(RunToEnd(registrar + L"\"no-existe.dll\" /s ", folder_), 0u);
    WriteBytes(InApp(L"texto.dll"), "no soy una biblioteca");
    EXPECT_NE(RunToEnd(registrar + L"\"texto.dll\" /s ", folder_), 0u)
        << "a file that is no DLL fails";
    EXPECT_NE(RunToEnd(registrar + L"/s ", folder_), 0u) << "no DLL named";
    EXPECT_NE(RunToEnd(registrar + L"/x \"TovrelSampleA.dll\" /s ", folder_), 0u)
        << "an unknown switch is refused";
    EXPECT_FALSE(ReadValue(kServerKey, nullptr, server));
}

}  // namespace
}  // namespace e2e

// qfcLibRegistry as its clients see it: through the vtable after InitCore,
// and from a script under cscript.
#include <thread>

#include "TestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kAppKey = L"Software\\Brannock\\Apps\\Vantorel";

class RegistryClient : public ComTest {
protected:
    void SetUp() override
    {
        registry_ = create<_qfcLibRegistry>(CLSID_qfcLibRegistry, IID__qfcLibRegistry);
        core_ = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
        ASSERT_TRUE(registry_ && core_);
        initCore();
    }

    std::wstring get(const std::wstring& value, const std::wstring& fallback = L"", const std::wstring& sub = L"",
                     qcRegBaseKeys baseKey = qcApps)
    {
        raii::UniqueBstr text;
        EXPECT_EQ(S_OK,
                  registry_->KeyGet(bstr(value).get(), bstr(fallback).get(), bstr(sub).get(), baseKey, text.put()));
        return raii::toWString(text.get());
    }

    bool set(const std::wstring& value, const std::wstring& data, const std::wstring& sub = L"")
    {
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(S_OK, registry_->KeySet(bstr(value).get(), bstr(data).get(), bstr(sub).get(), qcApps, &ok));
        return ok == VARIANT_TRUE;
    }

    ScratchCurrentUser scratch_{L"RegistryClient"};
    raii::ComPtr<_qfcLibRegistry> registry_;
    raii::ComPtr<_qfcLibCore> core_;
};

} // namespace

TEST_F(RegistryClient, KeySetAndKeyGetUseTheApplicationKeyOfInitCore)
{
    EXPECT_EQ(L"fallback", get(L"EXEPath", L"fallback")) << "a missing value gives the default";
    ASSERT_TRUE(set(L"EXEPath", L"C:\\Games\\main.exe"));
    EXPECT_EQ(L"C:\\Games\\main.exe", storedText(HKEY_CURRENT_USER, kAppKey, L"EXEPath"));
    EXPECT_EQ(L"C:\\Games\\main.exe", get(L"EXEPath", L"", L"", qcRegBaseKeys(7))) << "base key 7 acts as 1";

    ASSERT_TRUE(set(L"Left", L"120", L"Forms"));
    EXPECT_EQ(L"120", get(L"Left", L"", L"\\Forms")) << "Forms and \\Forms are the same key";

    ASSERT_TRUE(set(L"Deep", L"", L"One\\Two\\Three"));
    DWORD type = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, (kAppKey + L"\\One\\Two\\Three").c_str(), L"Deep",
                                          RRF_RT_ANY, &type, nullptr, nullptr));
    EXPECT_EQ(DWORD(REG_SZ), type) << "an empty text is an empty REG_SZ";
    EXPECT_EQ(L"", get(L"Deep", L"not empty", L"One\\Two\\Three"));

    const std::wstring unicode = L"\u0416\u0443\u043a \u65e5\u672c \U0001F680", form = L"\u0424\u043e\u0440\u043c";
    ASSERT_TRUE(set(L"\u00c9t\u00e9", unicode, form));
    EXPECT_EQ(unicode, get(L"\u00c9t\u00e9", L"", form)) << "names and data cross as UTF-16";
    EXPECT_EQ(unicode, storedText(HKEY_CURRENT_USER, kAppKey + L"\\" + form, L"\u00c9t\u00e9"));

    for (size_t length : {256u, 100000u}) {
        ASSERT_TRUE(set(L"Long", std::wstring(length, L'q')));
        EXPECT_EQ(std::wstring(length, L'q'), get(L"Long")) << "values of any length read back exactly";
    }

    initCore(L"Other");
    EXPECT_EQ(L"none", get(L"EXEPath", L"none")) << "a second InitCore moves later reads";
    ASSERT_TRUE(set(L"EXEPath", L"D:\\other.exe"));
    EXPECT_EQ(L"D:\\other.exe", storedText(HKEY_CURRENT_USER, L"Software\\Brannock\\Apps\\Other", L"EXEPath"));
    EXPECT_EQ(L"C:\\Games\\main.exe", storedText(HKEY_CURRENT_USER, kAppKey, L"EXEPath"));

    VARIANT_BOOL ok = VARIANT_TRUE;
    EXPECT_EQ(S_OK, registry_->RegDeleteValue(nullptr, bstr(kAppKey).get(), bstr(L"V").get(), &ok));
    EXPECT_EQ(VARIANT_FALSE, ok) << "a missing by-reference root is a trapped failure, not a crash";
}

// Names holding a NUL are refused by every method (NameTests); data keeps its NUL characters, and a refused
// InitCore keeps the earlier application key.
TEST_F(RegistryClient, DataRoundTripsWholeAndARefusedInitCoreKeepsTheKey)
{
    const std::wstring nul(1, L'\0');
    ASSERT_TRUE(set(L"Marker", L"m"));
    const std::wstring data = L"a" + nul + L"b" + nul;
    ASSERT_TRUE(set(L"Data", data));
    EXPECT_EQ(data, get(L"Data")) << "data was cut at a NUL";

    EXPECT_EQ(HRESULT(0x800A0005), core_->InitCore(bstr(L"V").get(), bstr(L"Vantorel" + nul + L"x").get(),
                                                   bstr(L"C:\\").get(), 1, 1, 1));
    EXPECT_EQ(L"m", get(L"Marker")) << "a refused InitCore kept the earlier title";
}

// Before InitCore the application key is "Apps\" itself: deletes below it are refused.
TEST_F(RegistryClient, DeletesBeforeInitCoreAreRefused)
{
    ASSERT_TRUE(set(L"Marker", L"m"));
    VARIANT_BOOL deletedKey = VARIANT_TRUE, deletedValue = VARIANT_TRUE;
    std::thread([&] {
        raii::ComScope com;
        auto fresh = create<_qfcLibRegistry>(CLSID_qfcLibRegistry, IID__qfcLibRegistry);
        fresh->KeyDelete(bstr(L"Vantorel").get(), qcApps, &deletedKey);
        fresh->KeyDeleteValue(bstr(L"Marker").get(), bstr(L"Vantorel").get(), qcApps, &deletedValue);
    }).join();
    EXPECT_EQ(VARIANT_FALSE, deletedKey);
    EXPECT_EQ(VARIANT_FALSE, deletedValue);
    EXPECT_EQ(L"m", storedText(HKEY_CURRENT_USER, kAppKey, L"Marker"));
}

TEST(RegistryScriptClient, CscriptWritesAndReadsWithOmittedArguments)
{
    raii::ComScope com;
    const std::wstring title = L"RegistryScript" + std::to_wstring(GetCurrentProcessId());
    const std::wstring appKey = L"Software\\Brannock\\Apps\\" + title;
    long exitCode = -1;
    std::string output = captureProcess(L"cscript.exe //nologo \"" + programFolder() + L"RegistryClient.vbs\" " + title,
                                        &exitCode);
    bool leftBehind = keyExists(HKEY_CURRENT_USER, appKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, appKey.c_str());

    EXPECT_EQ(0, exitCode) << output;
    EXPECT_EQ("set=True\r\nget=Hello from a script\r\nsetblank=True\r\nblank=[]\r\n"
              "setsub=True\r\ngetsub=deep\r\nsetdefault=True\r\ngetdefault=unnamed\r\n"
              "kept=Hello from a script\r\ndeletevalue=True\r\n"
              "deletesub=True\r\ncleanup=True\r\n",
              output);
    EXPECT_FALSE(leftBehind) << "the script's RegDeleteKey did not remove its key";
}

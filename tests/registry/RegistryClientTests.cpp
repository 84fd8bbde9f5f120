// qfcLibRegistry as its clients see it: through the vtable after InitCore.
#include "TestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kAppKey = L"Software\\Brannock\\Apps\\Vantorel";

class RegistryClient : public ClientTest<_qfcLibRegistry> {
protected:
    std::wstring get(const std::wstring& value, const std::wstring& fallback = L"", const std::wstring& sub = L"")
    {
        raii::UniqueBstr text;
        EXPECT_EQ(S_OK, object_->KeyGet(bstr(value).get(), bstr(fallback).get(), bstr(sub).get(), qcApps, text.put()));
        return raii::toWString(text.get());
    }

    bool set(const std::wstring& value, const std::wstring& data, const std::wstring& sub = L"")
    {
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(S_OK, object_->KeySet(bstr(value).get(), bstr(data).get(), bstr(sub).get(), qcApps, &ok));
        return ok == VARIANT_TRUE;
    }

    ScratchCurrentUser scratch_{L"RegistryClient"};
};

} // namespace

TEST_F(RegistryClient, TextsCrossWholeUnderTheApplicationKeyOfTheLastInitCore)
{
    ASSERT_TRUE(set(L"EXEPath", L"C:\\Games\\main.exe"));
    EXPECT_EQ(L"C:\\Games\\main.exe", storedText(HKEY_CURRENT_USER, kAppKey, L"EXEPath"));
    ASSERT_TRUE(set(L"Deep", L"", L"One\\Two\\Three"));
    EXPECT_EQ(L"", storedText(HKEY_CURRENT_USER, kAppKey + L"\\One\\Two\\Three", L"Deep")) << "an empty REG_SZ";
    EXPECT_EQ(L"", get(L"Deep", L"not empty", L"One\\Two\\Three"));

    const std::wstring unicode = L"\u0416\u0443\u043a \u65e5\u672c \U0001F680", form = L"\u0424\u043e\u0440\u043c";
    const std::wstring nul(1, L'\0'), withNuls = L"a" + nul + L"b" + nul;
    for (const std::wstring& data : {unicode, withNuls, std::wstring(256, L'q'), std::wstring(100000, L'q')}) {
        ASSERT_TRUE(set(L"\u00c9t\u00e9", data, form));
        EXPECT_EQ(data, get(L"\u00c9t\u00e9", L"", form)) << "data of " << data.size() << " characters";
    }
    EXPECT_EQ(std::wstring(100000, L'q'), storedText(HKEY_CURRENT_USER, kAppKey + L"\\" + form, L"\u00c9t\u00e9"));

    initCore(L"Other");
    EXPECT_EQ(L"none", get(L"EXEPath", L"none")) << "a second InitCore moves later reads";
    ASSERT_TRUE(set(L"EXEPath", L"D:\\other.exe"));
    EXPECT_EQ(L"D:\\other.exe", storedText(HKEY_CURRENT_USER, L"Software\\Brannock\\Apps\\Other", L"EXEPath"));
    raii::ComPtr<_qfcLibCore> core = create<_qfcLibCore>();
    EXPECT_EQ(HRESULT(0x800A0005), core->InitCore(bstr(L"V").get(), bstr(L"Vantorel" + nul + L"x").get(),
                                                  bstr(L"C:\\").get(), 1, 1, 1));
    EXPECT_EQ(L"D:\\other.exe", get(L"EXEPath")) << "a refused InitCore keeps the earlier title";

    VARIANT_BOOL ok = VARIANT_TRUE;
    EXPECT_EQ(S_OK, object_->RegDeleteValue(nullptr, bstr(kAppKey).get(), bstr(L"V").get(), &ok));
    EXPECT_EQ(VARIANT_FALSE, ok) << "a missing by-reference root is a trapped failure, not a crash";
}

// qfcLibCore as a client sees it: through the vtable, through IDispatch by
// name with omitted optional arguments, and per thread.
#include <thread>

#include "TestSupport.h"
#include "core/qfcLibCoreA.h"

using namespace testing_support;

namespace {

std::wstring versionOf(_qfcLibCore* core, bool formatted)
{
    raii::UniqueBstr text;
    EXPECT_EQ(S_OK, core->GetAppVersion(formatted ? VARIANT_TRUE : VARIANT_FALSE, text.put()));
    return raii::toWString(text.get());
}

HRESULT initCore(_qfcLibCore* core, const std::wstring& title, short major, short minor, short revision)
{
    return core->InitCore(bstr(L"Vantorel").get(), bstr(title).get(), bstr(L"C:\\Games\\").get(), major, minor,
                          revision);
}

// Calls a method by name through IDispatch with positional arguments (given in order).
HRESULT callByName(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args, VARIANT* result,
                   EXCEPINFO* exception = nullptr)
{
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO ignored = {};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result,
                          exception ? exception : &ignored, nullptr);
}

VARIANT boolArg(bool value)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

} // namespace

// The generated header must keep every enumerator's value (C++ callers use them by name).
static_assert(qcApps == 1 && qcBrannock == 2 && qcUser == 3, "qcRegBaseKeys");
static_assert(OS_WinNT_40 == 40 && OS_Win2000 == 2000 && qcRunServicesOnce == 4, "registry enumerations");
static_assert(qcStayOnTop == -1 && qcSendToBack == 1 && qcImplode == 5, "form enumerations");
static_assert(qcNoCofirmMkDir == 512 && qcWindowsSystem == 256 && qcPrinters == 3, "file enumerations");

TEST(VersionText, JoinsNumbersOrFormatsThemKeepingSigns)
{
    using quillon::qfcLibCoreA::FormatVersion;
    EXPECT_EQ(L"1132", FormatVersion(1, 1, 32, false));
    EXPECT_EQ(L"v1.1.32", FormatVersion(1, 1, 32, true));
    EXPECT_EQ(L"000", FormatVersion(0, 0, 0, false));
    EXPECT_EQ(L"v0.0.0", FormatVersion(0, 0, 0, true));
    EXPECT_EQ(L"-1-2-3", FormatVersion(-1, -2, -3, false));
    EXPECT_EQ(L"v-1.0.-32768", FormatVersion(-1, 0, -32768, true));
    EXPECT_EQ(L"v32767.10.0", FormatVersion(32767, 10, 0, true));
}

class CoreClient : public ComTest {};

TEST_F(CoreClient, VersionBeforeAndAfterInitCoreThroughTheVtable)
{
    auto core = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
    ASSERT_TRUE(core);
    // Every test runs in a fresh thread context only in its own process, so
    // measure "before" on a new thread.
    std::wstring before[2];
    std::thread([&] {
        raii::ComScope com;
        auto local = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
        before[0] = versionOf(local.get(), true);
        before[1] = versionOf(local.get(), false);
    }).join();
    EXPECT_EQ(L"v0.0.0", before[0]);
    EXPECT_EQ(L"000", before[1]);

    ASSERT_EQ(S_OK, initCore(core.get(), L"Vantorel", 1, 1, 32));
    EXPECT_EQ(L"1132", versionOf(core.get(), false));
    EXPECT_EQ(L"v1.1.32", versionOf(core.get(), true));

    ASSERT_EQ(S_OK, initCore(core.get(), L"Other", -2, 0, -7));
    EXPECT_EQ(L"-20-7", versionOf(core.get(), false));
    EXPECT_EQ(L"v-2.0.-7", versionOf(core.get(), true));
}

TEST_F(CoreClient, ContextIsPerThread)
{
    auto core = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
    ASSERT_EQ(S_OK, initCore(core.get(), L"Vantorel", 1, 1, 32));

    std::wstring seen, afterOwnInit;
    std::thread([&] {
        raii::ComScope com;
        auto local = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
        seen = versionOf(local.get(), true);
        initCore(local.get(), L"Second", 2, 3, 4);
        afterOwnInit = versionOf(local.get(), true);
    }).join();

    EXPECT_EQ(L"v0.0.0", seen);
    EXPECT_EQ(L"v2.3.4", afterOwnInit);
    EXPECT_EQ(L"v1.1.32", versionOf(core.get(), true)) << "another thread's InitCore leaked into this one";
}

TEST_F(CoreClient, DispatchByNameFillsOmittedOptionalArguments)
{
    auto core = create<IDispatch>(CLSID_qfcLibCore, IID_IDispatch);
    ASSERT_TRUE(core);
    VARIANT none;
    VariantInit(&none);
    raii::UniqueVariant args[6];
    const wchar_t* texts[] = {L"Vantorel", L"Vantorel", L"C:\\Games\\"};
    std::vector<VARIANT> init;
    for (const wchar_t* text : texts) {
        VARIANT v;
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(text);
        init.push_back(v);
    }
    for (short number : {1, 1, 32}) {
        VARIANT v;
        V_VT(&v) = VT_I2;
        V_I2(&v) = number;
        init.push_back(v);
    }
    raii::UniqueVariant ignored;
    ASSERT_EQ(S_OK, callByName(core.get(), L"InitCore", init, ignored.put()));
    for (VARIANT& v : init) VariantClear(&v);

    raii::UniqueVariant omitted, formatted;
    ASSERT_EQ(S_OK, callByName(core.get(), L"GetAppVersion", {}, omitted.put()));
    ASSERT_EQ(VT_BSTR, V_VT(omitted.get()));
    EXPECT_STREQ(L"1132", V_BSTR(omitted.get())) << "the omitted vFormatted must default to false";
    ASSERT_EQ(S_OK, callByName(core.get(), L"GetAppVersion", {boolArg(true)}, formatted.put()));
    EXPECT_STREQ(L"v1.1.32", V_BSTR(formatted.get()));
}

TEST_F(CoreClient, StagedMethodFailsWithNotImplementedAndErrorInfo)
{
    auto core = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
    HRESULT hr = core->ShowRunOnceDialog(bstr(L"text").get(), bstr(L"").get(), bstr(L"").get(), bstr(L"").get(),
                                         6495, 4800);
    EXPECT_EQ(E_NOTIMPL, hr);

    raii::ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(S_OK, core.as(support, IID_ISupportErrorInfo));
    EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID__qfcLibCore));
    raii::ComPtr<IErrorInfo> info;
    ASSERT_EQ(S_OK, GetErrorInfo(0, info.put()));
    raii::UniqueBstr source;
    info->GetSource(source.put());
    EXPECT_STREQ(L"Quillon.qfcLibCore", source.get());
}

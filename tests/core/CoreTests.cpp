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

} // namespace

// The generated header must keep every enumerator's value (C++ callers use them by name).
static_assert(qcApps == 1 && qcBrannock == 2 && qcUser == 3, "qcRegBaseKeys");
static_assert(OS_WinNT_40 == 40 && OS_Win2000 == 2000 && qcRunServicesOnce == 4, "registry enumerations");
static_assert(qcStayOnTop == -1 && qcSendToBack == 1 && qcImplode == 5, "form enumerations");
static_assert(qcNoCofirmMkDir == 512 && qcWindowsSystem == 256 && qcPrinters == 3, "file enumerations");

TEST(VersionText, JoinsNumbersOrFormatsThemKeepingSigns)
{
    using quillon::qfcLibCoreA::FormatVersion;
    EXPECT_EQ(L"1132 v1.1.32", FormatVersion(1, 1, 32, false) + L" " + FormatVersion(1, 1, 32, true));
    EXPECT_EQ(L"000 v0.0.0", FormatVersion(0, 0, 0, false) + L" " + FormatVersion(0, 0, 0, true));
    EXPECT_EQ(L"-1-2-3 v-1.0.-32768", FormatVersion(-1, -2, -3, false) + L" " + FormatVersion(-1, 0, -32768, true));
}

class CoreClient : public ComTest {};

// Through the vtable: each thread starts empty, sees only its own InitCore, and a
// later InitCore replaces the earlier one (negative numbers keep their sign).
TEST_F(CoreClient, ContextIsPerThreadAndReplacedByEachInitCore)
{
    auto core = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
    ASSERT_TRUE(core);
    ASSERT_EQ(S_OK, initCore(core.get(), L"Vantorel", 1, 1, 32));
    EXPECT_EQ(L"1132", versionOf(core.get(), false));

    std::wstring before, beforePlain, afterOwnInit;
    std::thread([&] {
        raii::ComScope com;
        auto local = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
        before = versionOf(local.get(), true);
        beforePlain = versionOf(local.get(), false);
        initCore(local.get(), L"Second", 2, 3, 4);
        afterOwnInit = versionOf(local.get(), true);
    }).join();
    EXPECT_EQ(L"v0.0.0 000 v2.3.4", before + L" " + beforePlain + L" " + afterOwnInit);
    EXPECT_EQ(L"v1.1.32", versionOf(core.get(), true)) << "another thread's InitCore leaked into this one";

    ASSERT_EQ(S_OK, initCore(core.get(), L"Other", -2, 0, -7));
    EXPECT_EQ(L"v-2.0.-7", versionOf(core.get(), true));
}

TEST_F(CoreClient, DispatchByNameFillsOmittedOptionalArguments)
{
    auto core = create<IDispatch>(CLSID_qfcLibCore, IID_IDispatch);
    ASSERT_TRUE(core);
    latebound::Args identity;
    identity.text(L"Vantorel").text(L"Vantorel").text(L"C:\\Games\\").i2(1).i2(1).i2(32);
    ASSERT_EQ(S_OK, latebound::call(core.get(), L"InitCore", identity).hr);

    latebound::Result omitted = latebound::call(core.get(), L"GetAppVersion");
    ASSERT_EQ(S_OK, omitted.hr);
    EXPECT_EQ(L"1132", omitted.text()) << "the omitted vFormatted must default to false";
    EXPECT_EQ(L"v1.1.32", latebound::call(core.get(), L"GetAppVersion", latebound::Args().boolean(true)).text());
}

TEST_F(CoreClient, RunTimeErrorsCarryErrorInfoNamingTheClass)
{
    auto files = create<_qfcLibFiles>(CLSID_qfcLibFiles, IID__qfcLibFiles);
    VARIANT_BOOL exists = VARIANT_TRUE;
    EXPECT_EQ(HRESULT(0x800A0005), files->FileExists(bstr(std::wstring(L"a\0b", 3)).get(), &exists));

    raii::ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(S_OK, files.as(support, IID_ISupportErrorInfo));
    EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID__qfcLibFiles));
    raii::ComPtr<IErrorInfo> info;
    ASSERT_EQ(S_OK, GetErrorInfo(0, info.put()));
    raii::UniqueBstr source;
    info->GetSource(source.put());
    EXPECT_STREQ(L"Quillon.qfcLibFiles", source.get());
}

// qfcLibCore: the context InitCore sets for its own thread, and the version texts made from it.
#include <thread>

#include "TestSupport.h"

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

using CoreClient = ClientTest<_qfcLibCore>;

// Through the vtable: each thread starts empty, sees only its own InitCore, and a
// later InitCore replaces the earlier one.
TEST_F(CoreClient, ContextIsPerThreadAndReplacedByEachInitCore)
{
    std::wstring before, afterOwnInit;
    std::thread([&] {
        raii::ComScope com;
        auto local = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
        before = versionOf(local.get(), true) + L" " + versionOf(local.get(), false);
        initCore(local.get(), L"Second", 2, 3, 4);
        afterOwnInit = versionOf(local.get(), true);
    }).join();
    EXPECT_EQ(L"v0.0.0 000", before);
    EXPECT_EQ(L"v2.3.4", afterOwnInit);
    EXPECT_EQ(L"v1.1.32", versionOf(object_.get(), true)) << "another thread's InitCore leaked into this one";
    ASSERT_EQ(S_OK, initCore(object_.get(), L"Other", -2, 0, -7));
    EXPECT_EQ(L"v-2.0.-7 -20-7", versionOf(object_.get(), true) + L" " + versionOf(object_.get(), false));
}

} // namespace

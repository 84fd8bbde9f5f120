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

using CoreClient = ClientTest<_qfcLibCore>;

// Through the vtable: each thread starts empty and sees only its own InitCore. (A later
// InitCore moving the application key: the registry client's test.)
TEST_F(CoreClient, ContextIsPerThreadAndReplacedByEachInitCore)
{
    std::wstring before, afterOwnInit;
    std::thread([&] {
        raii::ComScope com;
        auto local = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
        before = versionOf(local.get(), true) + L" " + versionOf(local.get(), false);
        local->InitCore(bstr(L"Vantorel").get(), bstr(L"Second").get(), bstr(L"C:\\").get(), 2, 3, 4);
        afterOwnInit = versionOf(local.get(), true);
    }).join();
    EXPECT_EQ(L"v0.0.0 000", before);
    EXPECT_EQ(L"v2.3.4", afterOwnInit);
    EXPECT_EQ(L"v1.1.32", versionOf(object_.get(), true)) << "another thread's InitCore leaked into this one";
}

} // namespace

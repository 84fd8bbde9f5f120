// A failure of the server frame as C++ callers see it.
#include <stdexcept>

#include "TestSupport.h"
#include "server/DispatchObject.h"

using namespace testing_support;

namespace {

// A class over an existing interface whose routine throws what no routine of the library should.
class Failing final : public quillon::DispatchObject<Failing, _qfcLibCore> {
public:
    static constexpr const wchar_t* kName = L"qfcLibFailing";
    static const IID& iid() { return IID__qfcLibCore; }
    STDMETHODIMP ShowRunOnceDialog(BSTR, BSTR, BSTR, BSTR, LONG, LONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetAppVersion(VARIANT_BOOL, BSTR* out) override
    { return call(out, []() -> std::wstring { throw std::runtime_error("not an automation error"); }); }
    STDMETHODIMP InitCore(BSTR, BSTR, BSTR, short, short, short) override { return E_NOTIMPL; }
};

// Lends the real Quillon.dll's type information to the test class.
struct ModuleScope {
    explicit ModuleScope(HMODULE dll) { quillon::server::setModule(dll); }
    ~ModuleScope() { quillon::server::releaseTypeLibrary(); quillon::server::setModule(nullptr); }
};

} // namespace

// Something thrown that is no automation error is a plain failure with no result. (An automation error as
// 0x800A0000 + its number: the strings client tests through the vtable, the reference's examples late-bound.)
TEST(ErrorPath, AnythingElseThrownIsAPlainFailureWithNoResult)
{
    raii::ComScope com;
    raii::UniqueModule dll(LoadLibraryW((programFolder() + L"Quillon.dll").c_str()));
    ModuleScope scope(dll.get());
    raii::ComPtr<_qfcLibCore> failing;
    ASSERT_EQ(S_OK, Failing::create(IID__qfcLibCore, failing.putVoid()));
    BSTR out = const_cast<BSTR>(L"not the server's to free"); // an [out] value is never read
    EXPECT_TRUE(FAILED(failing->GetAppVersion(VARIANT_FALSE, &out)));
    EXPECT_EQ(nullptr, out) << "a failed call hands back no result";
}

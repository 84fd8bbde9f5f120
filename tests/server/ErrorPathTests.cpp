// How failures reach a client: through the vtable as HRESULT plus error info,
// through IDispatch as DISP_E_EXCEPTION with EXCEPINFO; and the server's
// life count that DllCanUnloadNow answers from.
#include <stdexcept>
#include <vector>

#include "TestSupport.h"
#include "server/DispatchObject.h"

using namespace testing_support;

namespace {

std::wstring dllPath() { return programFolder() + L"Quillon.dll"; }

// A class over an existing interface whose routines fail the ways real
// routines can: automation errors 6 and 5, and a foreign C++ exception.
class Failing final : public quillon::DispatchObject<Failing, _qfcLibCore> {
public:
    static constexpr const wchar_t* kName = L"qfcLibFailing";
    static const IID& iid() { return IID__qfcLibCore; }

    STDMETHODIMP ShowRunOnceDialog(BSTR, BSTR, BSTR, BSTR, LONG, LONG) override
    {
        return call([] { throw quillon::RuntimeError(quillon::kOverflow); });
    }
    STDMETHODIMP GetAppVersion(VARIANT_BOOL, BSTR* result) override
    {
        return call(result, []() -> std::wstring { throw std::runtime_error("not an automation error"); });
    }
    STDMETHODIMP InitCore(BSTR, BSTR, BSTR, short, short, short) override
    {
        return call([] { throw quillon::RuntimeError(quillon::kInvalidArgument); });
    }
};

struct ExcepInfo : EXCEPINFO {
    ExcepInfo() : EXCEPINFO{} {}
    ~ExcepInfo()
    {
        SysFreeString(bstrSource);
        SysFreeString(bstrDescription);
        SysFreeString(bstrHelpFile);
    }
    ExcepInfo(const ExcepInfo&) = delete;
    ExcepInfo& operator=(const ExcepInfo&) = delete;
};

// Calls a method by name with positional arguments (given in order).
HRESULT invokeByName(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args, ExcepInfo& exception)
{
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    raii::UniqueVariant result;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.get(), &exception,
                          nullptr);
}

VARIANT text(BSTR value)
{
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = value;
    return v;
}

VARIANT number(short value)
{
    VARIANT v;
    V_VT(&v) = VT_I2;
    V_I2(&v) = value;
    return v;
}

VARIANT noObject()
{
    VARIANT v;
    V_VT(&v) = VT_DISPATCH;
    V_DISPATCH(&v) = nullptr;
    return v;
}

struct ErrorSeen {
    std::wstring source, description;
};

ErrorSeen threadError()
{
    raii::ComPtr<IErrorInfo> info;
    ErrorSeen seen;
    if (GetErrorInfo(0, info.put()) != S_OK) return seen;
    raii::UniqueBstr source, description;
    info->GetSource(source.put());
    info->GetDescription(description.put());
    return {raii::toWString(source.get()), raii::toWString(description.get())};
}

// Type information for the test class comes from the real Quillon.dll.
class ErrorPath : public ComTest {
protected:
    void SetUp() override
    {
        dll_.reset(LoadLibraryW(dllPath().c_str()));
        ASSERT_TRUE(dll_);
        quillon::server::setModule(dll_.get());
        ASSERT_EQ(S_OK, Failing::create(IID__qfcLibCore, failing_.putVoid()));
    }
    void TearDown() override
    {
        failing_.reset();
        quillon::server::releaseTypeLibrary();
        quillon::server::setModule(nullptr);
    }

    raii::UniqueModule dll_;
    raii::ComPtr<_qfcLibCore> failing_;
};

} // namespace

TEST_F(ErrorPath, VtableCallsReturnTheErrorNumberWithDescriptionAndSource)
{
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(HRESULT(0x800A0006), failing_->ShowRunOnceDialog(nullptr, nullptr, nullptr, nullptr, 0, 0));
    ErrorSeen seen = threadError();
    EXPECT_EQ(L"Overflow", seen.description);
    EXPECT_EQ(L"Quillon.qfcLibFailing", seen.source);

    BSTR out = const_cast<BSTR>(L"not the server's to free"); // an [out] value is never read
    HRESULT hr = failing_->GetAppVersion(VARIANT_FALSE, &out);
    EXPECT_TRUE(FAILED(hr)) << "a foreign exception must become a failure";
    EXPECT_EQ(nullptr, out) << "a failed call hands back no result";
    seen = threadError();
    EXPECT_FALSE(seen.description.empty());
    EXPECT_EQ(L"Quillon.qfcLibFailing", seen.source);
}

TEST_F(ErrorPath, DispatchCallsRaiseExceptionsWithExcepInfo)
{
    raii::ComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, failing_.as(dispatch, IID_IDispatch));
    raii::UniqueBstr name(SysAllocString(L"Vantorel"));
    {
        ExcepInfo exception;
        EXPECT_EQ(DISP_E_EXCEPTION,
                  invokeByName(dispatch.get(), L"InitCore",
                               {text(name.get()), text(name.get()), text(name.get()), number(1), number(1), number(32)},
                               exception));
        EXPECT_EQ(HRESULT(0x800A0005), exception.scode);
        EXPECT_STREQ(L"Invalid procedure call or argument", exception.bstrDescription);
        EXPECT_STREQ(L"Quillon.qfcLibFailing", exception.bstrSource);
    }
    {
        ExcepInfo exception;
        EXPECT_EQ(DISP_E_EXCEPTION, invokeByName(dispatch.get(), L"GetAppVersion", {}, exception));
        EXPECT_TRUE(FAILED(exception.scode));
    }
}

TEST_F(ErrorPath, StagedMethodsOfRealClassesFailAsExceptionsEvenWithOmittedObjectArguments)
{
    struct Case {
        const CLSID* clsid;
        const wchar_t* method;
        std::vector<VARIANT> args;
        const wchar_t* source;
    };
    raii::UniqueBstr phone(SysAllocString(L"5551234"));
    const Case cases[] = {
        {&CLSID_qfcLibStrings, L"PhoneFormat", {text(phone.get())}, L"Quillon.qfcLibStrings"},
        {&CLSID_qfcLibForms, L"CenterForm", {noObject()}, L"Quillon.qfcLibForms"},
        {&CLSID_qfcLibForms, L"FormOpen", {noObject()}, L"Quillon.qfcLibForms"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        auto object = create<IDispatch>(*c.clsid, IID_IDispatch);
        ASSERT_TRUE(object);
        ExcepInfo exception;
        EXPECT_EQ(DISP_E_EXCEPTION, invokeByName(object.get(), c.method, c.args, exception));
        EXPECT_EQ(E_NOTIMPL, exception.scode);
        EXPECT_STREQ(L"Not implemented", exception.bstrDescription);
        EXPECT_STREQ(c.source, exception.bstrSource);
    }
    auto core = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
    EXPECT_EQ(E_POINTER, core->GetAppVersion(VARIANT_TRUE, nullptr));
}

TEST(ServerLifetime, CanUnloadOnlyWhenNoObjectFactoryOrLockIsAlive)
{
    raii::ComScope com;
    raii::UniqueModule dll(LoadLibraryW(dllPath().c_str()));
    ASSERT_TRUE(dll);
    auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(dll.get(), "DllGetClassObject")));
    auto canUnloadNow =
        reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(dll.get(), "DllCanUnloadNow")));
    ASSERT_TRUE(getClassObject && canUnloadNow);

    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(IID_IDispatch, IID_IClassFactory, &none));
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(S_OK, canUnloadNow());

    raii::ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, getClassObject(CLSID_qfcLibStrings, IID_IClassFactory, factory.putVoid()));
    EXPECT_EQ(S_FALSE, canUnloadNow()) << "a live class factory";
    raii::ComPtr<IDispatch> object, aggregated;
    raii::ComPtr<IUnknown> outer = factory.get();
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer.get(), IID_IUnknown, aggregated.putVoid()));
    EXPECT_EQ(E_NOINTERFACE, factory->QueryInterface(IID_IDispatch, aggregated.putVoid()));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, object.putVoid()));
    ASSERT_EQ(S_OK, factory->LockServer(TRUE));
    factory.reset();
    outer.reset();
    EXPECT_EQ(S_FALSE, canUnloadNow()) << "a live object and a lock";
    object.reset();
    EXPECT_EQ(S_FALSE, canUnloadNow()) << "a lock";

    ASSERT_EQ(S_OK, getClassObject(CLSID_qfcLibStrings, IID_IClassFactory, factory.putVoid()));
    ASSERT_EQ(S_OK, factory->LockServer(FALSE));
    factory.reset();
    EXPECT_EQ(S_OK, canUnloadNow());
}

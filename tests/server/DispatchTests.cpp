// IDispatch calls a careful client can get wrong, and the class factory's lock count.
#include "TestSupport.h"

using namespace testing_support;

namespace {

DISPID idOf(IDispatch* object, const wchar_t* name)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    return id;
}

VARIANT boolArg(bool value)
{
    VARIANT v;
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

} // namespace

TEST(Dispatch, BadCallsFailWithTheMatchingCode)
{
    raii::ComScope com;
    auto core = create<IDispatch>(CLSID_qfcLibCore, IID_IDispatch);
    ASSERT_TRUE(core);
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(E_INVALIDARG, core->GetIDsOfNames(IID_NULL, nullptr, 1, LOCALE_USER_DEFAULT, &id));
    LPOLESTR nullName[] = {nullptr};
    EXPECT_EQ(E_INVALIDARG, core->GetIDsOfNames(IID_NULL, nullName, 1, LOCALE_USER_DEFAULT, &id));

    const DISPID version = idOf(core.get(), L"GetAppVersion"), init = idOf(core.get(), L"InitCore");
    VARIANT args[3] = {boolArg(true), boolArg(true), boolArg(true)};
    DISPID unknownName = 5, firstName = 0;
    struct Case { const char* what; DISPID member; DISPPARAMS params; HRESULT expected; };
    const Case cases[] = {
        {"null argument array", version, {nullptr, nullptr, 1, 0}, E_INVALIDARG},
        {"null named list", version, {args, nullptr, 1, 1}, E_INVALIDARG},
        {"more arguments than declared", version, {args, nullptr, 3, 0}, DISP_E_BADPARAMCOUNT},
        {"unknown named argument", version, {args, &unknownName, 1, 1}, DISP_E_PARAMNOTFOUND},
        {"required argument missing", init, {nullptr, nullptr, 0, 0}, DISP_E_PARAMNOTOPTIONAL},
        {"named argument also given by position", init, {args, &firstName, 2, 1}, DISP_E_PARAMNOTFOUND},
        {"unknown member", 12345, {nullptr, nullptr, 0, 0}, DISP_E_MEMBERNOTFOUND},
    };
    for (const Case& c : cases) {
        DISPPARAMS params = c.params;
        raii::UniqueVariant result;
        UINT bad = 99;
        EXPECT_EQ(c.expected, core->Invoke(c.member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                           result.get(), nullptr, &bad))
            << c.what;
    }
    EXPECT_EQ(E_INVALIDARG, core->Invoke(version, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, nullptr, nullptr,
                                         nullptr, nullptr));

    // A script host passes an EXCEPINFO and shows only what it carries.
    DISPPARAMS tooMany = {args, nullptr, 3, 0};
    EXCEPINFO exception = {};
    EXPECT_EQ(DISP_E_EXCEPTION, core->Invoke(version, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &tooMany,
                                             nullptr, &exception, nullptr));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, exception.scode);
    EXPECT_STREQ(L"Wrong number of arguments or invalid property assignment", exception.bstrDescription);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);

    // Named arguments reach their parameter by the type library's name.
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"GetAppVersion"), const_cast<LPOLESTR>(L"vFormatted")};
    DISPID ids[2] = {};
    ASSERT_EQ(S_OK, core->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids));
    DISPPARAMS named = {args, &ids[1], 1, 1};
    raii::UniqueVariant formatted;
    ASSERT_EQ(S_OK, core->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &named, formatted.get(),
                                 nullptr, nullptr));
    EXPECT_EQ(L'v', V_BSTR(formatted.get())[0]);
}

TEST(Dispatch, AnUnlockWithoutALockIsRefused)
{
    raii::ComScope com;
    raii::ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, CoGetClassObject(CLSID_qfcLibCore, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                     factory.putVoid()));
    EXPECT_EQ(E_UNEXPECTED, factory->LockServer(FALSE));
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(E_UNEXPECTED, factory->LockServer(FALSE)) << "the lock count went below zero";
}

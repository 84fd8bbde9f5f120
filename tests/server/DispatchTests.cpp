// IDispatch calls a careful client can get wrong, the class factory's lock
// count, and the by-reference optional arguments the frame fills in.
#include <algorithm>
#include <map>
#include <vector>

#include "TestSupport.h"
#include "server/Invocation.h"

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

// Every optional by-reference parameter in the type library, omitted, reaches the
// dispatcher as a valid reference of its type holding its default.
TEST(Dispatch, OmittedByReferenceOptionalsAreFilledWithTheirDefaults)
{
    raii::ComScope com;
    raii::ComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLibEx((programFolder() + L"Quillon.dll").c_str(), REGKIND_NONE, library.put()));
    const std::map<std::wstring, std::pair<VARTYPE, std::wstring>> expected = {
        {L"BrowseForFolder.vFlags", {VT_I4, L"1"}},
        {L"CenterForm.vParent", {VT_DISPATCH, L"none"}},
        {L"FormOpen.vParent", {VT_DISPATCH, L"none"}},
        {L"FormOpen.vShowModal", {VT_BOOL, L"False"}},
        {L"PhoneFormat.vTextControl", {VT_DISPATCH, L"none"}},
        {L"GetHTTPSource.iErrorNum", {VT_I4, L"0"}},
        {L"GetHTTPSource.sErrorMSG", {VT_BSTR, L""}},
        {L"MapNetDrive.vPermConnect", {VT_BOOL, L"False"}},
        {L"SetWallpaper.vFileName", {VT_BSTR, L"{None}"}},
    };
    size_t seen = 0;
    for (UINT t = 0; t < library->GetTypeInfoCount(); ++t) {
        raii::ComPtr<ITypeInfo> info;
        TYPEKIND kind = TKIND_MAX;
        library->GetTypeInfoType(t, &kind);
        if (kind != TKIND_DISPATCH || FAILED(library->GetTypeInfo(t, info.put()))) continue;
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
        for (UINT f = 0; f < attr->cFuncs; ++f) {
            FUNCDESC* func = nullptr;
            ASSERT_EQ(S_OK, info->GetFuncDesc(f, &func));
            BSTR names[32] = {};
            UINT count = 0;
            info->GetNames(func->memid, names, 32, &count);
            // Required parameters get an empty value; optional ones are left out.
            std::vector<VARIANT> given;
            for (SHORT p = 0; p < func->cParams; ++p)
                if (!(func->lprgelemdescParam[p].paramdesc.wParamFlags &
                      (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT | PARAMFLAG_FRETVAL)))
                    given.resize(p + 1, VARIANT{});
            std::reverse(given.begin(), given.end());
            DISPPARAMS params = {given.data(), nullptr, static_cast<UINT>(given.size()), 0};
            quillon::server::PreparedCall call;
            UINT bad = 0;
            ASSERT_EQ(S_OK, call.prepare(info.get(), func->memid, func->invkind, &params, &bad)) << names[0];
            const DISPPARAMS& prepared = *call.params();
            for (SHORT p = 0; p < func->cParams; ++p) {
                const ELEMDESC& param = func->lprgelemdescParam[p];
                if (param.tdesc.vt != VT_PTR || !(param.paramdesc.wParamFlags & PARAMFLAG_FOPT)) continue;
                const std::wstring name = std::wstring(names[0]) + L"." + (p + 1 < int(count) ? names[p + 1] : L"?");
                auto want = expected.find(name);
                if (want == expected.end()) {
                    ADD_FAILURE() << "no expectation for " << std::string(name.begin(), name.end());
                    continue;
                }
                ++seen;
                ASSERT_LT(UINT(p), prepared.cArgs) << "not handed to the dispatcher";
                const VARIANT& arg = prepared.rgvarg[prepared.cArgs - 1 - p];
                EXPECT_EQ(VT_BYREF | want->second.first, V_VT(&arg)) << std::string(name.begin(), name.end());
                ASSERT_NE(nullptr, V_BYREF(&arg));
                raii::UniqueVariant value, text;
                VariantCopyInd(value.get(), const_cast<VARIANT*>(&arg));
                std::wstring shown = L"none";
                if (V_VT(value.get()) != VT_DISPATCH || V_DISPATCH(value.get())) {
                    VariantChangeType(text.get(), value.get(), VARIANT_ALPHABOOL, VT_BSTR);
                    shown = raii::toWString(V_BSTR(text.get()));
                }
                EXPECT_EQ(want->second.second, shown) << std::string(name.begin(), name.end());
            }
            for (UINT n = 0; n < count; ++n) SysFreeString(names[n]);
            info->ReleaseFuncDesc(func);
        }
        info->ReleaseTypeAttr(attr);
    }
    EXPECT_EQ(expected.size(), seen);
}

// The type library as clients read it, held against live objects: a build step that drops a flag, a default or
// a parameter name fails here instead of in a client calling the wrong method or the wrong argument.
#include <algorithm>
#include <functional>
#include <memory>

#include "ServerClasses.h"
#include "TestSupport.h"
#include "server/Invocation.h"

using namespace testing_support;

namespace {

raii::ComPtr<ITypeInfo> referenced(ITypeInfo* owner, HREFTYPE ref)
{
    raii::ComPtr<ITypeInfo> info;
    owner->GetRefTypeInfo(ref, info.put());
    return info;
}

template <class T>
using Borrowed = std::unique_ptr<T, std::function<void(T*)>>;

Borrowed<TYPEATTR> typeAttr(ITypeInfo* info)
{
    TYPEATTR* attr = nullptr;
    EXPECT_EQ(S_OK, info->GetTypeAttr(&attr));
    return {attr, [info](TYPEATTR* a) { info->ReleaseTypeAttr(a); }};
}

Borrowed<FUNCDESC> funcDesc(ITypeInfo* info, UINT index)
{
    FUNCDESC* desc = nullptr;
    EXPECT_EQ(S_OK, info->GetFuncDesc(index, &desc));
    return {desc, [info](FUNCDESC* d) { info->ReleaseFuncDesc(d); }};
}

// What a by-value default must convert to, for the declared type of a parameter.
VARTYPE valueType(ITypeInfo* owner, const TYPEDESC& type)
{
    const TYPEDESC& value = type.vt == VT_PTR ? *type.lptdesc : type;
    if (value.vt != VT_USERDEFINED) return value.vt;
    auto named = referenced(owner, value.hreftype);
    return named && typeAttr(named.get())->typekind == TKIND_ENUM ? VT_I4 : VT_DISPATCH;
}

struct TypeLibrary : ComTest {
    void SetUp() override
    {
        ASSERT_EQ(S_OK, LoadTypeLibEx((programFolder() + L"Quillon.dll").c_str(), REGKIND_NONE, library_.put()));
    }

    // The dispatch half of a dual interface, which the server invokes through.
    raii::ComPtr<ITypeInfo> dispatchOf(REFIID iid)
    {
        raii::ComPtr<ITypeInfo> dispatch;
        EXPECT_EQ(S_OK, library_->GetTypeInfoOfGuid(iid, dispatch.put()));
        return dispatch;
    }

    // The vtable half of a dual interface.
    raii::ComPtr<ITypeInfo> vtableOf(REFIID iid)
    {
        auto dispatch = dispatchOf(iid);
        HREFTYPE ref = 0;
        if (!dispatch || FAILED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref))) return {};
        return referenced(dispatch.get(), ref);
    }

    raii::ComPtr<ITypeLib> library_;
};

} // namespace

// Each coclass a creatable, predeclared application object whose default
// interface is a hidden, non-extensible dual automation interface.
TEST_F(TypeLibrary, ClassesAreDualAutomationObjects)
{
    const WORD classFlags = TYPEFLAG_FCANCREATE | TYPEFLAG_FAPPOBJECT | TYPEFLAG_FPREDECLID;
    const WORD dispatchFlags = TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
    const WORD vtableFlags = TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION;
    for (const ServerClass& server : kClasses) {
        SCOPED_TRACE(server.name);
        raii::ComPtr<ITypeInfo> coclass, fromObject;
        raii::ComPtr<IDispatch> object;
        HREFTYPE ref = 0;
        ASSERT_EQ(S_OK, library_->GetTypeInfoOfGuid(*server.clsid, coclass.put()));
        EXPECT_EQ(classFlags, typeAttr(coclass.get())->wTypeFlags & classFlags);
        ASSERT_EQ(S_OK, coclass->GetRefTypeOfImplType(0, &ref));
        auto dispatch = referenced(coclass.get(), ref);
        ASSERT_TRUE(dispatch);
        EXPECT_EQ(*server.iid, typeAttr(dispatch.get())->guid);
        EXPECT_EQ(dispatchFlags, typeAttr(dispatch.get())->wTypeFlags & dispatchFlags);
        EXPECT_EQ(vtableFlags, typeAttr(vtableOf(*server.iid).get())->wTypeFlags & vtableFlags);

        ASSERT_EQ(S_OK, CoCreateInstance(*server.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                         object.putVoid()));
        ASSERT_EQ(S_OK, object->GetTypeInfo(0, 0, fromObject.put()));
        EXPECT_EQ(*server.iid, typeAttr(fromObject.get())->guid) << "the object describes its default interface";
    }
}

// Late-bound callers name arguments and leave optional ones out: every parameter
// has a name the object resolves, optional parameters come last, and each typed
// optional one passed by value has a default readable as its declared type.
TEST_F(TypeLibrary, ParametersHaveNamesAndOptionalOnesUsableDefaults)
{
    for (const ServerClass& server : kClasses) {
        raii::ComPtr<IDispatch> object;
        ASSERT_EQ(S_OK, CoCreateInstance(*server.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                         object.putVoid()));
        auto vtable = vtableOf(*server.iid);
        for (UINT index = 0; index < typeAttr(vtable.get())->cFuncs; ++index) {
            auto func = funcDesc(vtable.get(), index);
            ASSERT_TRUE(func);
            BSTR raw[32] = {};
            UINT count = 0;
            ASSERT_EQ(S_OK, vtable->GetNames(func->memid, raw, 32, &count));
            std::vector<raii::UniqueBstr> names;
            for (UINT i = 0; i < count; ++i) names.emplace_back(raw[i]);
            SCOPED_TRACE(raii::toWString(names[0].get()));
            ASSERT_EQ(static_cast<UINT>(func->cParams + 1), count);

            std::vector<LPOLESTR> callNames{names[0].get()};
            bool optionalSeen = false;
            for (SHORT i = 0; i < func->cParams; ++i) {
                const ELEMDESC& param = func->lprgelemdescParam[i];
                const USHORT flags = param.paramdesc.wParamFlags;
                EXPECT_NE(0u, SysStringLen(names[i + 1].get())) << "parameter " << i;
                if (flags & PARAMFLAG_FRETVAL) continue;
                callNames.push_back(names[i + 1].get());
                const bool optional = flags & PARAMFLAG_FOPT;
                EXPECT_TRUE(optional || !optionalSeen) << raii::toWString(names[i + 1].get()) << " follows an optional one";
                optionalSeen = optionalSeen || optional;
                const VARTYPE type = valueType(vtable.get(), param.tdesc);
                const bool needsDefault = optional && param.tdesc.vt != VT_PTR && type != VT_VARIANT;
                EXPECT_TRUE(!needsDefault || (flags & PARAMFLAG_FHASDEFAULT)) << raii::toWString(names[i + 1].get());
                if (!(flags & PARAMFLAG_FHASDEFAULT)) continue;
                raii::UniqueVariant converted;
                EXPECT_EQ(S_OK, VariantChangeType(converted.get(), &param.paramdesc.pparamdescex->varDefaultValue, 0,
                                                  type))
                    << raii::toWString(names[i + 1].get()) << "'s default";
            }
            std::vector<DISPID> ids(callNames.size(), DISPID_UNKNOWN);
            ASSERT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, callNames.data(), static_cast<UINT>(callNames.size()),
                                                  LOCALE_USER_DEFAULT, ids.data()));
            EXPECT_EQ(func->memid, ids[0]);
            for (size_t i = 1; i < ids.size(); ++i) EXPECT_EQ(static_cast<DISPID>(i - 1), ids[i]) << callNames[i];
        }
    }
}

// Through ITypeInfo::Invoke an omitted by-reference optional would reach the method as
// its default used as a pointer; the frame hands over a reference of the declared type
// to the default (or the type's empty value) instead.
TEST_F(TypeLibrary, OmittedByReferenceOptionalsReachTheMethodAsTheirDefaults)
{
    int filled = 0;
    for (const ServerClass& server : kClasses) {
        auto dispatch = dispatchOf(*server.iid);
        auto vtable = vtableOf(*server.iid);
        for (UINT index = 0; index < typeAttr(vtable.get())->cFuncs; ++index) {
            auto func = funcDesc(vtable.get(), index);
            ASSERT_TRUE(func);
            std::vector<VARIANT> given; // required arguments empty, optional ones left out
            for (SHORT p = 0; p < func->cParams; ++p)
                if (!(func->lprgelemdescParam[p].paramdesc.wParamFlags & (PARAMFLAG_FOPT | PARAMFLAG_FRETVAL)))
                    given.resize(p + 1, VARIANT{});
            std::reverse(given.begin(), given.end());
            DISPPARAMS params = {given.data(), nullptr, static_cast<UINT>(given.size()), 0};
            quillon::server::PreparedCall call;
            UINT bad = 0;
            ASSERT_EQ(S_OK, call.prepare(dispatch.get(), func->memid, DISPATCH_METHOD, &params, &bad));
            const DISPPARAMS& prepared = *call.params();
            for (SHORT p = 0; p < func->cParams; ++p) {
                const ELEMDESC& param = func->lprgelemdescParam[p];
                const USHORT flags = param.paramdesc.wParamFlags;
                if (param.tdesc.vt != VT_PTR || !(flags & PARAMFLAG_FOPT) || (flags & PARAMFLAG_FRETVAL)) continue;
                SCOPED_TRACE(testing::Message() << "method " << func->memid << ", parameter " << p);
                ++filled;
                ASSERT_LT(UINT(p), prepared.cArgs) << "not handed to the dispatcher";
                const VARIANT& arg = prepared.rgvarg[prepared.cArgs - 1 - p];
                const VARTYPE type = valueType(vtable.get(), param.tdesc);
                ASSERT_EQ(VT_BYREF | type, V_VT(&arg));
                ASSERT_NE(nullptr, V_BYREF(&arg));
                raii::UniqueVariant value, expected;
                ASSERT_EQ(S_OK, VariantCopyInd(value.get(), const_cast<VARIANT*>(&arg)));
                if (type == VT_DISPATCH) { // an object's default can only be Nothing
                    EXPECT_EQ(nullptr, V_DISPATCH(value.get()));
                    continue;
                }
                const VARIANT* source = flags & PARAMFLAG_FHASDEFAULT ? &param.paramdesc.pparamdescex->varDefaultValue
                                                                      : expected.get(); // empty
                ASSERT_EQ(S_OK, VariantChangeType(expected.get(), const_cast<VARIANT*>(source), 0, type));
                EXPECT_EQ(VARCMP_EQ, VarCmp(value.get(), expected.get(), LOCALE_USER_DEFAULT, 0));
            }
        }
    }
    EXPECT_GT(filled, 0);
}

// Every in/out parameter given by value (a 1 MB text or a number), late-bound: the method works on the frame's
// copy and the caller's value stays as it was. The other arguments are texts holding a NUL and numbers no
// routine accepts, so nothing outside the call changes. (By reference: the strings client tests, from C++ and a
// script.)
TEST_F(TypeLibrary, InOutParametersGivenByValueLeaveTheCallersValueAlone)
{
    const std::wstring large(1 << 20, L'q');
    int tried = 0;
    for (const ServerClass& server : kClasses) {
        raii::ComPtr<IDispatch> object;
        ASSERT_EQ(S_OK, CoCreateInstance(*server.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                         object.putVoid()));
        auto dispatch = dispatchOf(*server.iid);
        for (UINT index = 0; index < typeAttr(dispatch.get())->cFuncs; ++index) {
            auto func = funcDesc(dispatch.get(), index);
            const auto isInOut = [&](SHORT p) {
                const ELEMDESC& param = func->lprgelemdescParam[p];
                return param.tdesc.vt == VT_PTR && (param.paramdesc.wParamFlags & PARAMFLAG_FOUT) &&
                       !(param.paramdesc.wParamFlags & PARAMFLAG_FRETVAL);
            };
            const USHORT lastFlags = func->cParams ? func->lprgelemdescParam[func->cParams - 1].paramdesc.wParamFlags : 0;
            const bool returns = lastFlags & PARAMFLAG_FRETVAL;
            const UINT count = static_cast<UINT>(func->cParams) - (returns ? 1 : 0);
            for (SHORT target = 0; target < static_cast<SHORT>(count); ++target) {
                if (!isInOut(target)) continue;
                for (bool text : {true, false}) {
                    SCOPED_TRACE(testing::Message() << server.name << " method " << func->memid << " parameter "
                                                    << target << (text ? " text" : " number"));
                    std::vector<raii::UniqueVariant> owned(count); // in DISPPARAMS order, last parameter first
                    for (SHORT p = 0; p < static_cast<SHORT>(count); ++p) {
                        VARIANT* arg = owned[count - 1 - p].get();
                        if (p == target && text) V_BSTR(arg) = raii::makeBstr(large).release(), V_VT(arg) = VT_BSTR;
                        else if (p == target) V_I4(arg) = 7, V_VT(arg) = VT_I4;
                        else if (isInOut(p)) continue; // empty
                        else if (func->lprgelemdescParam[p].tdesc.vt == VT_BSTR)
                            V_BSTR(arg) = SysAllocStringLen(L"a\0b", 3), V_VT(arg) = VT_BSTR;
                        else V_I4(arg) = -12345, V_VT(arg) = VT_I4;
                    }
                    std::vector<VARIANT> args;
                    for (auto& arg : owned) args.push_back(*arg.get());
                    DISPPARAMS params = {args.data(), nullptr, count, 0};
                    raii::UniqueVariant result;
                    EXCEPINFO exception = {};
                    object->Invoke(func->memid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                   result.get(), &exception, nullptr);
                    for (BSTR held : {exception.bstrSource, exception.bstrDescription, exception.bstrHelpFile})
                        SysFreeString(held);
                    const VARIANT& before = *owned[count - 1 - target].get();
                    const VARIANT& after = args[count - 1 - target];
                    ASSERT_EQ(V_VT(&before), V_VT(&after));
                    if (text) {
                        ASSERT_EQ(V_BSTR(&before), V_BSTR(&after)) << "the caller's text was replaced";
                        EXPECT_EQ(large, raii::toWString(V_BSTR(&after))) << "the caller's text was changed";
                    } else {
                        EXPECT_EQ(7, V_I4(&after));
                    }
                    ++tried;
                }
            }
        }
    }
    EXPECT_GE(tried, 2 * 19) << "every in/out parameter of the type library";
}

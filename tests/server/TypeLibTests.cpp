// The type library as clients read it, held against live objects: a build step that drops a flag, a default or
// a parameter name fails here instead of in a client calling the wrong method or the wrong argument.
#include "ServerClasses.h"
#include "TestSupport.h"
#include "server/Invocation.h"

using namespace testing_support;

namespace {

TYPEATTR attrOf(ITypeInfo* info)
{
    TYPEATTR* attr = nullptr;
    if (!info || FAILED(info->GetTypeAttr(&attr))) return ADD_FAILURE() << "no type attributes", TYPEATTR{};
    const TYPEATTR copy = *attr;  // plain values only are read from the copy
    info->ReleaseTypeAttr(attr);
    return copy;
}

// The interface a type implements at index (-1: the vtable half of a dual interface).
raii::ComPtr<ITypeInfo> implemented(ITypeInfo* info, UINT index)
{
    HREFTYPE ref = 0;
    raii::ComPtr<ITypeInfo> found;
    if (info && SUCCEEDED(info->GetRefTypeOfImplType(index, &ref))) info->GetRefTypeInfo(ref, found.put());
    return found;
}

// What a default must convert to, for the declared type of a parameter.
VARTYPE valueType(ITypeInfo* owner, const TYPEDESC& type)
{
    const TYPEDESC& value = type.vt == VT_PTR ? *type.lptdesc : type;
    if (value.vt != VT_USERDEFINED) return value.vt;
    raii::ComPtr<ITypeInfo> named;
    owner->GetRefTypeInfo(value.hreftype, named.put());
    return attrOf(named.get()).typekind == TKIND_ENUM ? VT_I4 : VT_DISPATCH;
}

// Calls the method with its in/out parameter `target` given by value (a 1 MB text) and the others refused by every
// routine: the method works on the frame's copy, and the caller's string is neither replaced nor freed.
void expectGivenByValueLeftAlone(IDispatch* object, const FUNCDESC& func, SHORT target)
{
    const ELEMDESC* params = func.lprgelemdescParam;
    const bool returns = params[func.cParams - 1].paramdesc.wParamFlags & PARAMFLAG_FRETVAL;
    const SHORT count = static_cast<SHORT>(func.cParams - (returns ? 1 : 0));
    const std::wstring large(1 << 20, L'q');
    std::vector<raii::UniqueVariant> owned(count);  // in DISPPARAMS order, last parameter first
    for (SHORT p = 0; p < count; ++p) {
        VARIANT* arg = owned[count - 1 - p].get();
        if (p == target) V_BSTR(arg) = raii::makeBstr(large).release(), V_VT(arg) = VT_BSTR;
        else if (params[p].paramdesc.wParamFlags & PARAMFLAG_FOUT) continue;  // empty
        else if (params[p].tdesc.vt == VT_BSTR) V_BSTR(arg) = SysAllocStringLen(L"a\0b", 3), V_VT(arg) = VT_BSTR;
        else V_I4(arg) = -12345, V_VT(arg) = VT_I4;
    }
    std::vector<VARIANT> args;
    for (auto& arg : owned) args.push_back(*arg.get());
    DISPPARAMS call = {args.data(), nullptr, UINT(count), 0};
    raii::UniqueVariant result;
    object->Invoke(func.memid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &call, result.get(), nullptr, nullptr);
    const VARIANT &before = *owned[count - 1 - target].get(), &after = args[count - 1 - target];
    ASSERT_EQ(VT_BSTR, V_VT(&after));
    ASSERT_TRUE(V_BSTR(&before) == V_BSTR(&after)) << "the caller's text was replaced";
    EXPECT_EQ(large, raii::toWString(V_BSTR(&after))) << "the caller's text was changed";
}

// An omitted by-reference optional parameter `p` as the frame hands it over: a reference of the declared type to
// its default, `expected` (an object's default can only be Nothing).
void expectOmittedAsDefault(const DISPPARAMS& prepared, SHORT p, VARTYPE type, VARIANT* expected)
{
    ASSERT_LT(UINT(p), prepared.cArgs) << "not handed to the dispatcher";
    VARIANT& arg = prepared.rgvarg[prepared.cArgs - 1 - p];
    ASSERT_EQ(VT_BYREF | type, V_VT(&arg));
    raii::UniqueVariant value;
    ASSERT_EQ(S_OK, VariantCopyInd(value.get(), &arg));
    const bool same = type == VT_DISPATCH ? !V_DISPATCH(value.get())
                                          : VarCmp(value.get(), expected, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
    EXPECT_TRUE(same);
}

using Names = std::vector<std::wstring>;

} // namespace

// Each coclass a creatable, predeclared application object (the flags a build step adds) whose default interface is
// a hidden, non-extensible dual. Late-bound callers name arguments, leave optional ones out and give in/out ones by
// value: every parameter has a name the object resolves, optional ones come last with a default readable as their
// type, and an omitted by-reference one reaches the method as a reference to its default (ITypeInfo::Invoke would
// hand over the default itself as the pointer).
TEST(TypeLibrary, DualClassesWhoseParametersAreNamedAndReachTheMethodWhenOmittedOrGivenByValue)
{
    raii::ComScope com;
    raii::ComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLibEx((programFolder() + L"Quillon.dll").c_str(), REGKIND_NONE, library.put()));
    const WORD classFlags = TYPEFLAG_FCANCREATE | TYPEFLAG_FAPPOBJECT | TYPEFLAG_FPREDECLID;
    const WORD dispatchFlags = TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
    int byReference = 0, inOut = 0;
    for (const ServerClass& server : kClasses) {
        SCOPED_TRACE(server.name);
        auto object = create<IDispatch>(*server.clsid, IID_IDispatch);
        raii::ComPtr<ITypeInfo> coclass;
        ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(*server.clsid, coclass.put()));
        auto dispatch = implemented(coclass.get(), 0);
        auto vtable = implemented(dispatch.get(), UINT(-1));
        EXPECT_EQ(classFlags, attrOf(coclass.get()).wTypeFlags & classFlags);
        EXPECT_EQ(*server.iid, attrOf(dispatch.get()).guid);
        EXPECT_EQ(dispatchFlags, attrOf(dispatch.get()).wTypeFlags & dispatchFlags);
        EXPECT_TRUE(attrOf(vtable.get()).wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
        forEachMethod(vtable.get(), [&](const FUNCDESC& func, const Names& names) {
            SCOPED_TRACE(names[0]);
            ASSERT_EQ(size_t(func.cParams + 1), names.size());
            std::vector<VARIANT> given;  // required arguments empty, optional ones left out
            for (SHORT p = 0; p < func.cParams; ++p)
                if (!(func.lprgelemdescParam[p].paramdesc.wParamFlags & (PARAMFLAG_FOPT | PARAMFLAG_FRETVAL)))
                    given.resize(p + 1, VARIANT{});
            DISPPARAMS params = {given.data(), nullptr, static_cast<UINT>(given.size()), 0};
            quillon::server::PreparedCall call;
            UINT bad = 0;
            ASSERT_EQ(S_OK, call.prepare(dispatch.get(), func.memid, DISPATCH_METHOD, &params, &bad));
            const DISPPARAMS& prepared = *call.params();
            std::vector<LPOLESTR> callNames{const_cast<LPOLESTR>(names[0].c_str())};
            bool optionalSeen = false;
            for (SHORT p = 0; p < func.cParams; ++p) {
                const ELEMDESC& param = func.lprgelemdescParam[p];
                const USHORT flags = param.paramdesc.wParamFlags;
                SCOPED_TRACE(names[p + 1]);
                EXPECT_FALSE(names[p + 1].empty());
                if (flags & PARAMFLAG_FRETVAL) continue;
                callNames.push_back(const_cast<LPOLESTR>(names[p + 1].c_str()));
                const bool optional = flags & PARAMFLAG_FOPT, hasDefault = flags & PARAMFLAG_FHASDEFAULT;
                const bool byRef = param.tdesc.vt == VT_PTR;
                const VARTYPE type = valueType(vtable.get(), param.tdesc);
                EXPECT_TRUE(optional || !optionalSeen) << "follows an optional one";
                optionalSeen = optionalSeen || optional;
                EXPECT_TRUE(hasDefault || !optional || byRef || type == VT_VARIANT);
                raii::UniqueVariant expected;
                VARIANT* source = hasDefault ? &param.paramdesc.pparamdescex->varDefaultValue : expected.get();
                const bool typed = (hasDefault || (optional && byRef)) && type != VT_DISPATCH;
                EXPECT_TRUE(!typed || SUCCEEDED(VariantChangeType(expected.get(), source, 0, type))) << "the default";
                if (byRef && (flags & PARAMFLAG_FOUT)) expectGivenByValueLeftAlone(object.get(), func, p), ++inOut;
                if (optional && byRef) expectOmittedAsDefault(prepared, p, type, expected.get()), ++byReference;
            }
            std::vector<DISPID> ids(callNames.size(), DISPID_UNKNOWN);
            ASSERT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, callNames.data(), UINT(callNames.size()),
                                                  LOCALE_USER_DEFAULT, ids.data()));
            EXPECT_EQ(func.memid, ids[0]);
            for (size_t i = 1; i < ids.size(); ++i) EXPECT_EQ(DISPID(i - 1), ids[i]) << callNames[i];
        });
    }
    EXPECT_GT(byReference, 0);
    EXPECT_GE(inOut, 19) << "every in/out parameter of the type library";
}

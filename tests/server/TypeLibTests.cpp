// The type library as clients read it, held against live objects: a build step that drops a flag, a default or
// a parameter name fails here instead of in a client calling the wrong method or the wrong argument.
#include <algorithm>

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

raii::ComPtr<ITypeInfo> referenced(ITypeInfo* owner, HREFTYPE ref)
{
    raii::ComPtr<ITypeInfo> info;
    if (owner) owner->GetRefTypeInfo(ref, info.put());
    return info;
}

// The interface a type implements at index (-1: the vtable half of a dual interface).
raii::ComPtr<ITypeInfo> implemented(ITypeInfo* info, UINT index)
{
    HREFTYPE ref = 0;
    if (!info || FAILED(info->GetRefTypeOfImplType(index, &ref))) return {};
    return referenced(info, ref);
}

// What a by-value default must convert to, for the declared type of a parameter.
VARTYPE valueType(ITypeInfo* owner, const TYPEDESC& type)
{
    const TYPEDESC& value = type.vt == VT_PTR ? *type.lptdesc : type;
    if (value.vt != VT_USERDEFINED) return value.vt;
    return attrOf(referenced(owner, value.hreftype).get()).typekind == TKIND_ENUM ? VT_I4 : VT_DISPATCH;
}

bool optionalByReference(const ELEMDESC& param)
{
    const USHORT flags = param.paramdesc.wParamFlags;
    return param.tdesc.vt == VT_PTR && (flags & PARAMFLAG_FOPT) && !(flags & PARAMFLAG_FRETVAL);
}

struct TypeLibrary : ComTest {
    void SetUp() override
    {
        ASSERT_EQ(S_OK, LoadTypeLibEx((programFolder() + L"Quillon.dll").c_str(), REGKIND_NONE, library_.put()));
    }
    raii::ComPtr<ITypeInfo> info(REFGUID guid)
    {
        raii::ComPtr<ITypeInfo> found;
        EXPECT_EQ(S_OK, library_->GetTypeInfoOfGuid(guid, found.put()));
        return found;
    }
    raii::ComPtr<ITypeLib> library_;
};

} // namespace

// Each coclass a creatable, predeclared application object (the flags a build step adds) whose default
// interface is a hidden, non-extensible dual automation interface.
TEST_F(TypeLibrary, ClassesAreDualAutomationObjects)
{
    const WORD classFlags = TYPEFLAG_FCANCREATE | TYPEFLAG_FAPPOBJECT | TYPEFLAG_FPREDECLID;
    const WORD dispatchFlags = TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
    for (const ServerClass& server : kClasses) {
        auto coclass = info(*server.clsid), dispatch = implemented(coclass.get(), 0);
        EXPECT_EQ(classFlags, attrOf(coclass.get()).wTypeFlags & classFlags) << server.name;
        EXPECT_EQ(*server.iid, attrOf(dispatch.get()).guid) << server.name;
        EXPECT_EQ(dispatchFlags, attrOf(dispatch.get()).wTypeFlags & dispatchFlags) << server.name;
        EXPECT_TRUE(attrOf(implemented(dispatch.get(), UINT(-1)).get()).wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    }
}

// Late-bound callers name arguments and leave optional ones out: every parameter has a name the object
// resolves, optional parameters come last, and each typed optional one passed by value has a default readable
// as its declared type.
TEST_F(TypeLibrary, ParametersHaveNamesAndOptionalOnesUsableDefaults)
{
    for (const ServerClass& server : kClasses) {
        auto object = create<IDispatch>(*server.clsid, IID_IDispatch);
        auto vtable = implemented(info(*server.iid).get(), UINT(-1));
        forEachMethod(vtable.get(), [&](const FUNCDESC& func, const std::vector<std::wstring>& names) {
            SCOPED_TRACE(names[0]);
            ASSERT_EQ(size_t(func.cParams + 1), names.size());
            std::vector<LPOLESTR> callNames{const_cast<LPOLESTR>(names[0].c_str())};
            bool optionalSeen = false;
            for (SHORT i = 0; i < func.cParams; ++i) {
                const ELEMDESC& param = func.lprgelemdescParam[i];
                const std::wstring& name = names[i + 1];
                const USHORT flags = param.paramdesc.wParamFlags;
                EXPECT_FALSE(name.empty()) << "parameter " << i;
                if (flags & PARAMFLAG_FRETVAL) continue;
                callNames.push_back(const_cast<LPOLESTR>(name.c_str()));
                const bool optional = flags & PARAMFLAG_FOPT;
                EXPECT_TRUE(optional || !optionalSeen) << name << " follows an optional one";
                optionalSeen = optionalSeen || optional;
                const VARTYPE type = valueType(vtable.get(), param.tdesc);
                const bool hasDefault = flags & PARAMFLAG_FHASDEFAULT;
                EXPECT_TRUE(hasDefault || !optional || param.tdesc.vt == VT_PTR || type == VT_VARIANT) << name;
                raii::UniqueVariant converted;
                if (!hasDefault) continue;
                EXPECT_EQ(S_OK, VariantChangeType(converted.get(), &param.paramdesc.pparamdescex->varDefaultValue, 0,
                                                  type)) << name << "'s default";
            }
            std::vector<DISPID> ids(callNames.size(), DISPID_UNKNOWN);
            ASSERT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, callNames.data(), UINT(callNames.size()),
                                                  LOCALE_USER_DEFAULT, ids.data()));
            EXPECT_EQ(func.memid, ids[0]);
            for (size_t i = 1; i < ids.size(); ++i) EXPECT_EQ(DISPID(i - 1), ids[i]) << callNames[i];
        });
    }
}

// Through ITypeInfo::Invoke an omitted by-reference optional would reach the method as its default used as a
// pointer; the frame hands over a reference of the declared type to the default (or the type's empty value).
TEST_F(TypeLibrary, OmittedByReferenceOptionalsReachTheMethodAsTheirDefaults)
{
    int filled = 0;
    for (const ServerClass& server : kClasses) {
        auto dispatch = info(*server.iid);
        auto vtable = implemented(dispatch.get(), UINT(-1));
        forEachMethod(vtable.get(), [&](const FUNCDESC& func, const std::vector<std::wstring>& names) {
            SCOPED_TRACE(names[0]);
            std::vector<VARIANT> given;  // required arguments empty, optional ones left out
            for (SHORT p = 0; p < func.cParams; ++p)
                if (!(func.lprgelemdescParam[p].paramdesc.wParamFlags & (PARAMFLAG_FOPT | PARAMFLAG_FRETVAL)))
                    given.resize(p + 1, VARIANT{});
            std::reverse(given.begin(), given.end());
            DISPPARAMS params = {given.data(), nullptr, static_cast<UINT>(given.size()), 0};
            quillon::server::PreparedCall call;
            UINT bad = 0;
            ASSERT_EQ(S_OK, call.prepare(dispatch.get(), func.memid, DISPATCH_METHOD, &params, &bad));
            const DISPPARAMS& prepared = *call.params();
            for (SHORT p = 0; p < func.cParams; ++p) {
                const ELEMDESC& param = func.lprgelemdescParam[p];
                if (!optionalByReference(param)) continue;
                SCOPED_TRACE(names[p + 1]);
                ++filled;
                ASSERT_LT(UINT(p), prepared.cArgs) << "not handed to the dispatcher";
                const VARIANT& arg = prepared.rgvarg[prepared.cArgs - 1 - p];
                const VARTYPE type = valueType(vtable.get(), param.tdesc);
                ASSERT_EQ(VT_BYREF | type, V_VT(&arg));
                raii::UniqueVariant value, expected;
                ASSERT_EQ(S_OK, VariantCopyInd(value.get(), const_cast<VARIANT*>(&arg)));
                if (type == VT_DISPATCH) {  // an object's default can only be Nothing
                    EXPECT_EQ(nullptr, V_DISPATCH(value.get()));
                    continue;
                }
                const bool hasDefault = param.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT;
                VARIANT* source = hasDefault ? &param.paramdesc.pparamdescex->varDefaultValue : expected.get();
                ASSERT_EQ(S_OK, VariantChangeType(expected.get(), source, 0, type));
                EXPECT_EQ(VARCMP_EQ, VarCmp(value.get(), expected.get(), LOCALE_USER_DEFAULT, 0));
            }
        });
    }
    EXPECT_GT(filled, 0);
}

// Every in/out parameter given by value (a 1 MB text or a number), late-bound: the method works on the frame's
// copy and the caller's value stays as it was. The other arguments are texts holding a NUL and numbers no
// routine accepts, so nothing outside the call changes. (By reference: the strings client tests.)
TEST_F(TypeLibrary, InOutParametersGivenByValueLeaveTheCallersValueAlone)
{
    const std::wstring large(1 << 20, L'q');
    int tried = 0;
    for (const ServerClass& server : kClasses) {
        auto object = create<IDispatch>(*server.clsid, IID_IDispatch);
        forEachMethod(info(*server.iid).get(), [&](const FUNCDESC& func, const std::vector<std::wstring>& names) {
            const auto isInOut = [&](SHORT p) {
                const ELEMDESC& param = func.lprgelemdescParam[p];
                return param.tdesc.vt == VT_PTR && (param.paramdesc.wParamFlags & PARAMFLAG_FOUT);
            };
            const bool returns =
                func.cParams && (func.lprgelemdescParam[func.cParams - 1].paramdesc.wParamFlags & PARAMFLAG_FRETVAL);
            const UINT count = static_cast<UINT>(func.cParams) - (returns ? 1 : 0);
            for (SHORT target = 0; target < static_cast<SHORT>(count); ++target) {
                for (bool text : {true, false}) {
                    if (!isInOut(target)) break;
                    SCOPED_TRACE(names[0] + L" " + names[target + 1] + (text ? L" text" : L" number"));
                    std::vector<raii::UniqueVariant> owned(count);  // in DISPPARAMS order, last parameter first
                    for (SHORT p = 0; p < static_cast<SHORT>(count); ++p) {
                        VARIANT* arg = owned[count - 1 - p].get();
                        if (p == target && text) V_BSTR(arg) = raii::makeBstr(large).release(), V_VT(arg) = VT_BSTR;
                        else if (p == target) V_I4(arg) = 7, V_VT(arg) = VT_I4;
                        else if (isInOut(p)) continue;  // empty
                        else if (func.lprgelemdescParam[p].tdesc.vt == VT_BSTR)
                            V_BSTR(arg) = SysAllocStringLen(L"a\0b", 3), V_VT(arg) = VT_BSTR;
                        else V_I4(arg) = -12345, V_VT(arg) = VT_I4;
                    }
                    std::vector<VARIANT> args;
                    for (auto& arg : owned) args.push_back(*arg.get());
                    DISPPARAMS params = {args.data(), nullptr, count, 0};
                    raii::UniqueVariant result;
                    EXCEPINFO exception = {};
                    object->Invoke(func.memid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.get(),
                                   &exception, nullptr);
                    for (BSTR held : {exception.bstrSource, exception.bstrDescription, exception.bstrHelpFile})
                        SysFreeString(held);
                    const VARIANT &before = *owned[count - 1 - target].get(), &after = args[count - 1 - target];
                    ASSERT_EQ(V_VT(&before), V_VT(&after));
                    ASSERT_TRUE(!text || V_BSTR(&before) == V_BSTR(&after)) << "the caller's text was replaced";
                    const std::wstring now = text ? raii::toWString(V_BSTR(&after)) : std::to_wstring(V_I4(&after));
                    EXPECT_EQ(text ? large : L"7", now) << "the caller's value was changed";
                    ++tried;
                }
            }
        });
    }
    EXPECT_GE(tried, 2 * 19) << "every in/out parameter of the type library";
}

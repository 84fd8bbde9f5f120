#include "DispatchCache.h"

#include <oleauto.h>

namespace quillon::server {
namespace {

// A FUNCDESC borrowed from its type info.
class FuncDesc {
public:
    FuncDesc(ITypeInfo* info, FUNCDESC* desc) : info_(info), desc_(desc) {}
    ~FuncDesc() { if (desc_) info_->ReleaseFuncDesc(desc_); }
    FuncDesc(const FuncDesc&) = delete;
    FuncDesc& operator=(const FuncDesc&) = delete;

private:
    ITypeInfo* info_;
    FUNCDESC* desc_;
};

bool isDeclaredArgument(const ELEMDESC& param)
{
    return !(param.paramdesc.wParamFlags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID));
}

bool isOptional(const ELEMDESC& param)
{
    return param.paramdesc.wParamFlags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT);
}

// The automation type of a value of this description; VT_EMPTY for what cannot be filled.
VARTYPE valueType(ITypeInfo* info, const TYPEDESC& type)
{
    if (type.vt == VT_PTR || type.vt == VT_USERDEFINED) {
        const bool pointer = type.vt == VT_PTR;
        const TYPEDESC& named = pointer ? *type.lptdesc : type;
        if (named.vt != VT_USERDEFINED) return VT_EMPTY;
        ITypeInfo* ref = nullptr;
        if (FAILED(info->GetRefTypeInfo(named.hreftype, &ref))) return VT_EMPTY;
        TYPEATTR* attr = nullptr;
        VARTYPE result = VT_EMPTY;
        if (SUCCEEDED(ref->GetTypeAttr(&attr))) {
            if (pointer && attr->typekind == TKIND_DISPATCH) result = VT_DISPATCH;
            else if (pointer && attr->typekind == TKIND_INTERFACE) result = attr->guid == IID_IUnknown ? VT_UNKNOWN : VT_DISPATCH;
            else if (!pointer && attr->typekind == TKIND_ENUM) result = VT_I4;
            else if (!pointer && attr->typekind == TKIND_ALIAS) result = valueType(ref, attr->tdescAlias);
            ref->ReleaseTypeAttr(attr);
        }
        ref->Release();
        return result;
    }
    if (type.vt == VT_SAFEARRAY) return valueType(info, *type.lptdesc) == VT_BSTR ? VT_ARRAY | VT_BSTR : VT_EMPTY;
    switch (type.vt) {
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT: case VT_UI1: case VT_UI2: case VT_UI4:
    case VT_UI8: case VT_UINT: case VT_R4: case VT_R8: case VT_CY: case VT_DATE: case VT_BSTR: case VT_BOOL:
    case VT_VARIANT: case VT_DISPATCH: case VT_UNKNOWN: case VT_ERROR: case VT_DECIMAL:
        return type.vt;
    default:
        return VT_EMPTY;
    }
}

// The default of a parameter converted to its type, or the type's empty value.
HRESULT defaultValue(const ELEMDESC& param, VARTYPE type, VARIANT* value)
{
    VariantInit(value);
    if (param.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT) {
        VARIANT* given = &param.paramdesc.pparamdescex->varDefaultValue;
        HRESULT hr = type == VT_VARIANT ? VariantCopy(value, given) : VariantChangeType(value, given, 0, type);
        if (SUCCEEDED(hr)) return hr;
        if (hr == E_OUTOFMEMORY) return hr;
        VariantClear(value);
    }
    return emptyValue(type, value);
}

// An enumeration whose members are all 0x80000000 or above as unsigned values (the registry roots).
bool namesUnsignedEnum(ITypeInfo* info, const TYPEDESC& type)
{
    const TYPEDESC& named = type.vt == VT_PTR ? *type.lptdesc : type;
    raii::ComPtr<ITypeInfo> ref;
    if (named.vt != VT_USERDEFINED || FAILED(info->GetRefTypeInfo(named.hreftype, ref.put()))) return false;
    TYPEATTR* attr = nullptr;
    if (FAILED(ref->GetTypeAttr(&attr))) return false;
    bool all = attr->typekind == TKIND_ENUM && attr->cVars > 0;
    for (WORD i = 0; all && i < attr->cVars; ++i) {
        VARDESC* member = nullptr;
        raii::UniqueVariant value;
        all = SUCCEEDED(ref->GetVarDesc(i, &member)) && member->varkind == VAR_CONST &&
              SUCCEEDED(VariantChangeType(value.get(), member->lpvarValue, 0, VT_I4)) && V_I4(value.get()) < 0;
        if (member) ref->ReleaseVarDesc(member);
    }
    ref->ReleaseTypeAttr(attr);
    return all;
}

HRESULT describe(ITypeInfo* info, const ELEMDESC& param, ParameterFacts& facts)
{
    const TYPEDESC& declared = param.tdesc;
    facts.byReference = declared.vt == VT_PTR;
    facts.optional = isOptional(param);
    facts.unsignedEnum = namesUnsignedEnum(info, declared);
    facts.type = valueType(info, facts.byReference ? *declared.lptdesc : declared);
    if (!facts.byReference || !facts.optional || facts.type == VT_EMPTY) return S_OK;
    facts.fallback = std::make_unique<raii::UniqueVariant>();
    return defaultValue(param, facts.type, facts.fallback->get());
}

HRESULT describe(ITypeInfo* info, const FUNCDESC& func, MemberFacts& facts)
{
    facts.id = func.memid;
    facts.kinds = static_cast<WORD>(func.invkind);
    for (SHORT i = 0; i < func.cParams; ++i) {
        const ELEMDESC& param = func.lprgelemdescParam[i];
        if (!isDeclaredArgument(param)) continue;
        facts.params.emplace_back();
        HRESULT hr = describe(info, param, facts.params.back());
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

} // namespace

HRESULT emptyValue(VARTYPE type, VARIANT* value)
{
    VariantClear(value);
    if (type == VT_VARIANT) return S_OK;  // VT_EMPTY
    V_VT(value) = type;
    V_UI8(value) = 0;
    if (type == VT_BSTR && !(V_BSTR(value) = SysAllocString(L""))) return E_OUTOFMEMORY;
    return S_OK;
}

InterfaceCache::InterfaceCache(ITypeInfo* info) : info_(info)
{
    TYPEATTR* attr = nullptr;
    if (FAILED(status_ = info->GetTypeAttr(&attr))) return;
    const WORD count = attr->cFuncs;
    info->ReleaseTypeAttr(attr);
    members_.resize(count);
    for (WORD i = 0; i < count && SUCCEEDED(status_); ++i) {
        FUNCDESC* desc = nullptr;
        if (FAILED(status_ = info->GetFuncDesc(i, &desc))) return;
        FuncDesc owner(info, desc);
        status_ = describe(info, *desc, members_[i]);
    }
}

const MemberFacts* InterfaceCache::find(DISPID id, WORD flags) const
{
    for (const MemberFacts& member : members_)
        if (member.id == id && (member.kinds & flags)) return &member;
    return nullptr;
}

} // namespace quillon::server

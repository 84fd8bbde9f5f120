#include "Invocation.h"

#include <oleauto.h>

#include <new>
#include <string>

#include "RuntimeError.h"

namespace quillon::server {
namespace {

constexpr UINT kFilled = ~0u;

// A FUNCDESC borrowed from its type info.
class FuncDesc {
public:
    FuncDesc(ITypeInfo* info, FUNCDESC* desc) : info_(info), desc_(desc) {}
    ~FuncDesc() { if (desc_) info_->ReleaseFuncDesc(desc_); }
    FuncDesc(const FuncDesc&) = delete;
    FuncDesc& operator=(const FuncDesc&) = delete;
    const FUNCDESC* get() const { return desc_; }

private:
    ITypeInfo* info_;
    FUNCDESC* desc_;
};

FUNCDESC* findMember(ITypeInfo* info, DISPID id, WORD flags)
{
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr))) return nullptr;
    const WORD count = attr->cFuncs;
    info->ReleaseTypeAttr(attr);
    for (WORD i = 0; i < count; ++i) {
        FUNCDESC* desc = nullptr;
        if (FAILED(info->GetFuncDesc(i, &desc))) continue;
        if (desc->memid == id && (desc->invkind & flags)) return desc;
        info->ReleaseFuncDesc(desc);
    }
    return nullptr;
}

bool isDeclaredArgument(const ELEMDESC& param)
{
    return !(param.paramdesc.wParamFlags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID));
}

bool isOptional(const ELEMDESC& param)
{
    return param.paramdesc.wParamFlags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT);
}

bool isOmitted(const VARIANT* argument)
{
    return !argument || (V_VT(argument) == VT_ERROR && V_ERROR(argument) == DISP_E_PARAMNOTFOUND);
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
    if (type == VT_VARIANT) return S_OK;  // VT_EMPTY
    V_VT(value) = type;
    if (type == VT_BSTR && !(V_BSTR(value) = SysAllocString(L""))) return E_OUTOFMEMORY;
    return S_OK;
}

} // namespace

PreparedCall::~PreparedCall()
{
    for (size_t i = 0; i < localCount_; ++i) VariantClear(&locals_[i]);
}

UINT PreparedCall::callerIndex(UINT index) const
{
    if (params_ != &rebuilt_ || index >= origin_.size()) return index;
    return origin_[index] == kFilled ? 0 : origin_[index];
}

HRESULT PreparedCall::prepare(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params, UINT* badArgument)
{
    params_ = params;
    if (!params) return E_INVALIDARG;
    if ((params->cArgs && !params->rgvarg) || (params->cNamedArgs && !params->rgdispidNamedArgs) ||
        params->cNamedArgs > params->cArgs)
        return E_INVALIDARG;
    FuncDesc member(info, findMember(info, id, flags));
    if (!member.get()) return DISP_E_MEMBERNOTFOUND;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) return S_OK;  // the dispatcher's own rules

    const FUNCDESC& func = *member.get();
    std::vector<const ELEMDESC*> declared;
    for (SHORT i = 0; i < func.cParams; ++i)
        if (isDeclaredArgument(func.lprgelemdescParam[i])) declared.push_back(&func.lprgelemdescParam[i]);
    if (params->cArgs > declared.size()) return DISP_E_BADPARAMCOUNT;

    // The caller's argument for each declared parameter, and its index in rgvarg.
    std::vector<VARIANT*> given(declared.size(), nullptr);
    std::vector<UINT> givenIndex(declared.size(), kFilled);
    const UINT positional = params->cArgs - params->cNamedArgs;
    for (UINT i = 0; i < positional; ++i) {
        givenIndex[i] = params->cArgs - 1 - i;
        given[i] = &params->rgvarg[givenIndex[i]];
    }
    for (UINT k = 0; k < params->cNamedArgs; ++k) {
        const DISPID named = params->rgdispidNamedArgs[k];
        if (named < 0 || static_cast<size_t>(named) >= declared.size() || given[named]) {
            if (badArgument) *badArgument = k;
            return DISP_E_PARAMNOTFOUND;
        }
        given[named] = &params->rgvarg[k];
        givenIndex[named] = k;
    }

    // The type each omitted by-reference parameter gets a local of (VT_EMPTY: none).
    std::vector<VARTYPE> fill(declared.size(), VT_EMPTY);
    size_t fills = 0, count = 0;
    for (size_t i = 0; i < declared.size(); ++i) {
        if (!isOmitted(given[i])) {
            count = i + 1;
            continue;
        }
        if (!isOptional(*declared[i])) return DISP_E_PARAMNOTOPTIONAL;
        if (declared[i]->tdesc.vt == VT_PTR) fill[i] = valueType(info, *declared[i]->tdesc.lptdesc);
        if (fill[i] != VT_EMPTY) ++fills, count = i + 1;
    }
    if (fills == 0) return S_OK;

    // Rebuilt positionally up to the last parameter that has a value.
    locals_.reset(new VARIANT[fills]);
    arguments_.assign(count, VARIANT{});
    origin_.assign(count, kFilled);
    for (size_t i = 0; i < count; ++i) {
        VARIANT& argument = arguments_[count - 1 - i];
        const VARTYPE type = fill[i];
        if (!isOmitted(given[i])) {
            argument = *given[i];  // the caller's value, not copied: the caller still owns it
            origin_[count - 1 - i] = givenIndex[i];
        } else if (type != VT_EMPTY) {
            VARIANT* local = &locals_[localCount_];
            HRESULT hr = defaultValue(*declared[i], type, local);
            ++localCount_;
            if (FAILED(hr)) return hr;
            V_VT(&argument) = VT_BYREF | type;
            V_BYREF(&argument) = type == VT_VARIANT ? static_cast<void*>(local) : static_cast<void*>(&V_UI1(local));
        } else {
            V_VT(&argument) = VT_ERROR;
            V_ERROR(&argument) = DISP_E_PARAMNOTFOUND;
        }
    }
    rebuilt_ = DISPPARAMS{arguments_.data(), nullptr, static_cast<UINT>(count), 0};
    params_ = &rebuilt_;
    return S_OK;
}

const wchar_t* dispatchFailureText(HRESULT hr)
{
    switch (hr) {
    case DISP_E_PARAMNOTOPTIONAL: return L"Argument not optional";
    case DISP_E_BADPARAMCOUNT: return L"Wrong number of arguments or invalid property assignment";
    case DISP_E_TYPEMISMATCH: return L"Type mismatch";
    case DISP_E_PARAMNOTFOUND: return L"Named argument not found";
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME: return L"Object doesn't support this property or method";
    case DISP_E_OVERFLOW: return L"Overflow";
    case DISP_E_BADVARTYPE: return L"Variable uses an Automation type not supported";
    case DISP_E_NONAMEDARGS: return L"Object doesn't support named arguments";
    case DISP_E_BADINDEX: return L"Subscript out of range";
    case E_INVALIDARG: return L"Invalid procedure call or argument";
    case E_OUTOFMEMORY: return L"Out of memory";
    default: return L"";
    }
}

namespace {

// Script hosts pass an EXCEPINFO and show only what it carries: the failure goes
// there as an exception with a description; without one, the code itself is returned.
HRESULT reportFailure(HRESULT hr, const std::wstring& source, EXCEPINFO* exception)
{
    const wchar_t* text = dispatchFailureText(hr);
    raiseError(source, hr, text);
    if (!exception) return hr;
    *exception = EXCEPINFO{};
    exception->scode = hr;
    exception->bstrSource = SysAllocString(source.c_str());
    exception->bstrDescription = SysAllocString(text);
    return DISP_E_EXCEPTION;
}

} // namespace

HRESULT invokeChecked(ITypeInfo* info, void* object, const wchar_t* className, DISPID id, WORD flags,
                      DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception, UINT* badArgument)
{
    try {
        const std::wstring source = std::wstring(L"Quillon.") + className;
        PreparedCall call;
        HRESULT hr = call.prepare(info, id, flags, params, badArgument);
        // A malformed call (null arrays) is the client's programming fault, not a script's.
        if (hr == E_INVALIDARG) return raiseError(source, hr, dispatchFailureText(hr));
        if (FAILED(hr)) return reportFailure(hr, source, exception);
        hr = info->Invoke(object, id, flags, call.params(), result, exception, badArgument);
        if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) && badArgument)
            *badArgument = call.callerIndex(*badArgument);
        if (FAILED(hr) && hr != DISP_E_EXCEPTION && *dispatchFailureText(hr)) return reportFailure(hr, source, exception);
        return hr;
    } catch (const std::bad_alloc&) {
        return entryFailure(E_OUTOFMEMORY);
    } catch (...) {
        return entryFailure(E_FAIL);
    }
}

HRESULT idsOfNamesChecked(ITypeInfo* info, LPOLESTR* names, UINT count, DISPID* ids)
{
    if (count == 0) return S_OK;
    if (!names || !ids) return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i)
        if (!names[i]) return E_INVALIDARG;
    return DispGetIDsOfNames(info, names, count, ids);
}

} // namespace quillon::server

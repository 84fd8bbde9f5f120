#include "Invocation.h"

#include <oleauto.h>

#include <cmath>
#include <new>
#include <string>

#include "Marshal.h"
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

// The type's empty value: "", 0, no object, no array.
HRESULT emptyValue(VARTYPE type, VARIANT* value)
{
    VariantClear(value);
    if (type == VT_VARIANT) return S_OK;  // VT_EMPTY
    V_VT(value) = type;
    V_UI8(value) = 0;
    if (type == VT_BSTR && !(V_BSTR(value) = SysAllocString(L""))) return E_OUTOFMEMORY;
    return S_OK;
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

// A number in 0x80000000-0xFFFFFFFF given as a double or a 64-bit integer (how JScript writes
// 0x80000002), as the 32-bit value it writes.
bool unsignedValue(const VARIANT* value, LONG* result)
{
    constexpr long long kLow = 0x80000000LL, kHigh = 0xFFFFFFFFLL;
    long long whole = 0;
    if (!value) return false;
    switch (V_VT(value)) {
    case VT_R8:
        if (!(V_R8(value) >= double(kLow) && V_R8(value) <= double(kHigh)) || std::floor(V_R8(value)) != V_R8(value))
            return false;
        whole = static_cast<long long>(V_R8(value));
        break;
    case VT_I8: whole = V_I8(value); break;
    case VT_UI8: if (V_UI8(value) > ULONGLONG(kHigh)) return false; whole = static_cast<long long>(V_UI8(value)); break;
    case VT_UI4: whole = V_UI4(value); break;
    default: return false;
    }
    if (whole < kLow || whole > kHigh) return false;
    *result = static_cast<LONG>(static_cast<ULONG>(whole));
    return true;
}

// A new array of texts from a one-dimensional array of texts or variants (the marshalling's reading of
// such arrays); the caller's array stays untouched.
HRESULT textArray(const VARIANT* value, VARIANT* slot)
{
    if (!(V_VT(value) & VT_ARRAY) || (V_VT(value) & VT_BYREF)) return DISP_E_TYPEMISMATCH;
    raii::UniqueSafeArray copy;
    try {
        if (V_ARRAY(value)) setTextArray(copy.put(), variantTexts(value));
    } catch (const RuntimeError&) {
        return DISP_E_TYPEMISMATCH;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    V_VT(slot) = VT_ARRAY | VT_BSTR;
    V_ARRAY(slot) = copy.release();
    return S_OK;
}

// Turns a slot's array of texts into an array of variants holding them, with the same bounds.
HRESULT variantsOf(VARIANT* slot)
{
    SAFEARRAY* texts = V_ARRAY(slot);
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(texts, 1, &lower);
    SafeArrayGetUBound(texts, 1, &upper);
    raii::UniqueSafeArray variants(SafeArrayCreateVector(VT_VARIANT, lower, static_cast<ULONG>(upper - lower + 1)));
    if (!variants) return E_OUTOFMEMORY;
    for (LONG i = lower; i <= upper; ++i) {
        raii::UniqueVariant item;
        V_BSTR(item.get()) = nullptr;
        V_VT(item.get()) = VT_BSTR;
        HRESULT hr = SafeArrayGetElement(texts, &i, &V_BSTR(item.get()));
        if (SUCCEEDED(hr)) hr = SafeArrayPutElement(variants.get(), &i, item.get());
        if (FAILED(hr)) return hr;
    }
    VariantClear(slot);
    V_VT(slot) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(slot) = variants.release();
    return S_OK;
}

// A value (never a reference) as the referenced type of a by-reference parameter, into a frame-owned slot.
HRESULT convert(ITypeInfo* info, const TYPEDESC& declared, VARTYPE type, const VARIANT* value, VARIANT* slot)
{
    if (type == VT_VARIANT) return VariantCopy(slot, const_cast<VARIANT*>(value));
    if (V_VT(value) == VT_EMPTY) return emptyValue(type, slot);
    if (type == (VT_ARRAY | VT_BSTR)) return textArray(value, slot);
    LONG root = 0;
    if (type == VT_I4 && unsignedValue(value, &root) && namesUnsignedEnum(info, declared)) {
        V_VT(slot) = VT_I4;
        V_I4(slot) = root;
        return S_OK;
    }
    return VariantChangeType(slot, const_cast<VARIANT*>(value), 0, type);
}

void refer(VARIANT& argument, VARTYPE type, VARIANT* slot)
{
    V_VT(&argument) = VT_BYREF | type;
    V_BYREF(&argument) = type == VT_VARIANT ? static_cast<void*>(slot) : static_cast<void*>(&V_UI1(slot));
}

} // namespace

PreparedCall::~PreparedCall() = default;

UINT PreparedCall::callerIndex(UINT index) const
{
    if (index == kNoIndex) {
        for (const ByValue& argument : byValue_) {
            raii::UniqueVariant converted;
            if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT*>(argument.given), 0, argument.type)))
                return argument.index;
        }
        return 0;
    }
    if (params_ != &rebuilt_ || index >= origin_.size()) return index;
    return origin_[index] == kFilled ? 0 : origin_[index];
}

void PreparedCall::writeBack()
{
    for (const WriteBack& back : writeBacks_) {
        if (V_VT(back.slot) == (VT_ARRAY | VT_BSTR) && !V_ARRAY(back.slot)) continue;  // nothing was found
        if (back.asVariants && FAILED(variantsOf(back.slot))) continue;
        VariantClear(back.variable);
        *back.variable = *back.slot;  // moved: the slot no longer owns the value
        V_VT(back.slot) = VT_EMPTY;
    }
    writeBacks_.clear();
}

HRESULT PreparedCall::handOver(ITypeInfo* info, const ELEMDESC& param, VARIANT* given, VARIANT& argument,
                               bool& substituted)
{
    argument = *given;  // the caller's value, not copied: the caller still owns it
    const TYPEDESC& declared = param.tdesc;
    LONG root = 0;
    if (declared.vt != VT_PTR) {
        if (declared.vt == VT_USERDEFINED && unsignedValue(resolved(given), &root) &&
            namesUnsignedEnum(info, declared)) {
            V_VT(&argument) = VT_I4;
            V_I4(&argument) = root;
            substituted = true;
        }
        return S_OK;
    }
    const VARTYPE type = valueType(info, *declared.lptdesc);
    if (type == VT_EMPTY || V_VT(given) == (VT_BYREF | type)) return S_OK;  // an object by value; a typed reference
    VARIANT* variable = nullptr;  // a script variable: a reference to a VARIANT
    if (V_VT(given) == (VT_BYREF | VT_VARIANT)) {
        if (type == VT_VARIANT) return S_OK;
        variable = resolved(given);
        if (!variable) return DISP_E_TYPEMISMATCH;
        if (V_VT(variable) == (VT_BYREF | type)) {
            argument = *variable;
            substituted = true;
            return S_OK;
        }
    }
    const VARIANT* value = variable ? variable : given;
    if (V_VT(value) & VT_BYREF) return type == VT_VARIANT ? S_OK : DISP_E_TYPEMISMATCH;
    VARIANT* slot = newSlot();
    HRESULT hr = convert(info, declared, type, value, slot);
    if (FAILED(hr)) return hr;
    refer(argument, type, slot);
    if (variable) writeBacks_.push_back({variable, slot, type == (VT_ARRAY | VT_BSTR) && V_VT(variable) != type});
    substituted = true;
    return S_OK;
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

    // What the dispatcher gets for each parameter, up to the last one that has a value.
    slots_.reset(new raii::UniqueVariant[declared.size()]);
    std::vector<VARIANT> handed(declared.size(), VARIANT{});
    bool substituted = false;
    size_t count = 0;
    for (size_t i = 0; i < declared.size(); ++i) {
        if (!isOmitted(given[i])) {
            HRESULT hr = handOver(info, *declared[i], given[i], handed[i], substituted);
            if (FAILED(hr) && badArgument) *badArgument = givenIndex[i];
            if (FAILED(hr)) return hr;
            const TYPEDESC& type = declared[i]->tdesc;
            const VARTYPE byValue = type.vt == VT_PTR ? VARTYPE(VT_EMPTY) : valueType(info, type);
            if (byValue != VT_EMPTY && V_VT(&handed[i]) == V_VT(given[i]))  // left for the dispatcher to convert
                byValue_.push_back({given[i], byValue, givenIndex[i]});
            count = i + 1;
            continue;
        }
        // Too few arguments is a count the caller got wrong; one left out by name or position is not optional.
        if (!isOptional(*declared[i]))
            return given[i] || params->cNamedArgs ? HRESULT(DISP_E_PARAMNOTOPTIONAL) : HRESULT(DISP_E_BADPARAMCOUNT);
        const TYPEDESC& declaredType = declared[i]->tdesc;
        const VARTYPE type = declaredType.vt == VT_PTR ? valueType(info, *declaredType.lptdesc) : VARTYPE(VT_EMPTY);
        if (type == VT_EMPTY) {
            V_VT(&handed[i]) = VT_ERROR;
            V_ERROR(&handed[i]) = DISP_E_PARAMNOTFOUND;
            continue;
        }
        VARIANT* slot = newSlot();
        HRESULT hr = defaultValue(*declared[i], type, slot);
        if (FAILED(hr)) return hr;
        refer(handed[i], type, slot);
        substituted = true;
        count = i + 1;
    }
    if (!substituted) return S_OK;

    // Rebuilt positionally, in DISPPARAMS order.
    arguments_.assign(handed.rend() - count, handed.rend());
    origin_.assign(count, kFilled);
    for (size_t i = 0; i < count; ++i) origin_[count - 1 - i] = givenIndex[i];
    rebuilt_ = DISPPARAMS{arguments_.data(), nullptr, static_cast<UINT>(count), 0};
    params_ = &rebuilt_;
    return S_OK;
}

const wchar_t* dispatchFailureText(HRESULT hr)
{
    return automation::dispatchFailureText(hr);
}

HRESULT invokeChecked(ITypeInfo* info, void* object, const wchar_t* className, DISPID id, WORD flags,
                      DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception, UINT* badArgument)
{
    try {
        PreparedCall call;
        HRESULT hr = call.prepare(info, id, flags, params, badArgument);
        if (SUCCEEDED(hr)) {
            UINT blamed = PreparedCall::kNoIndex;
            hr = info->Invoke(object, id, flags, call.params(), result, exception, &blamed);
            if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND || hr == DISP_E_OVERFLOW) && badArgument)
                *badArgument = call.callerIndex(blamed);
            if (SUCCEEDED(hr)) call.writeBack();
        }
        // Clients decide by the dispatch codes themselves (script engines make their own messages
        // from them); the error info describes them for hosts that read it.
        if (FAILED(hr) && hr != DISP_E_EXCEPTION && *dispatchFailureText(hr))
            raiseError(std::wstring(L"Quillon.") + className, hr, dispatchFailureText(hr));
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

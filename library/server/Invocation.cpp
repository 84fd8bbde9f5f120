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

bool isOmitted(const VARIANT* argument)
{
    return !argument || (V_VT(argument) == VT_ERROR && V_ERROR(argument) == DISP_E_PARAMNOTFOUND);
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
HRESULT convert(const ParameterFacts& param, const VARIANT* value, VARIANT* slot)
{
    const VARTYPE type = param.type;
    if (type == VT_VARIANT) return VariantCopy(slot, const_cast<VARIANT*>(value));
    if (V_VT(value) == VT_EMPTY) return emptyValue(type, slot);
    if (type == (VT_ARRAY | VT_BSTR)) return textArray(value, slot);
    LONG root = 0;
    if (type == VT_I4 && unsignedValue(value, &root) && param.unsignedEnum) {
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
        for (size_t i = 0; i < declaredCount_; ++i) {
            const Argument& argument = declared_[i];
            raii::UniqueVariant converted;
            if (argument.byValue != VT_EMPTY &&
                FAILED(VariantChangeType(converted.get(), argument.given, 0, argument.byValue)))
                return argument.index;
        }
        return 0;
    }
    if (params_ != &rebuilt_ || index >= origin_.size()) return index;
    return origin_[index] == kFilled ? 0 : origin_[index];
}

VARIANT* PreparedCall::newSlot()
{
    if (!slots_) slots_.reset(new raii::UniqueVariant[declaredCount_]);
    return slots_[slotCount_++].get();
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

HRESULT PreparedCall::handOver(const ParameterFacts& param, VARIANT* given, VARIANT& argument, bool& substituted)
{
    argument = *given;  // the caller's value, not copied: the caller still owns it
    LONG root = 0;
    if (!param.byReference) {
        if (param.unsignedEnum && unsignedValue(resolved(given), &root)) {
            V_VT(&argument) = VT_I4;
            V_I4(&argument) = root;
            substituted = true;
        }
        return S_OK;
    }
    const VARTYPE type = param.type;
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
    HRESULT hr = convert(param, value, slot);
    if (FAILED(hr)) return hr;
    refer(argument, type, slot);
    if (variable) writeBacks_.push_back({variable, slot, type == (VT_ARRAY | VT_BSTR) && V_VT(variable) != type});
    substituted = true;
    return S_OK;
}

HRESULT PreparedCall::prepare(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params, UINT* badArgument)
{
    InterfaceCache facts(info);
    return FAILED(facts.status()) ? facts.status() : prepare(facts, id, flags, params, badArgument);
}

HRESULT PreparedCall::prepare(const InterfaceCache& facts, DISPID id, WORD flags, DISPPARAMS* params,
                              UINT* badArgument)
{
    params_ = params;
    if (!params) return E_INVALIDARG;
    if ((params->cArgs && !params->rgvarg) || (params->cNamedArgs && !params->rgdispidNamedArgs) ||
        params->cNamedArgs > params->cArgs)
        return E_INVALIDARG;
    const MemberFacts* member = facts.find(id, flags);
    if (!member) return DISP_E_MEMBERNOTFOUND;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) return S_OK;  // the dispatcher's own rules

    const std::vector<ParameterFacts>& declared = member->params;
    if (params->cArgs > declared.size()) return DISP_E_BADPARAMCOUNT;

    // The caller's argument for each declared parameter, and its index in rgvarg.
    declaredCount_ = declared.size();
    if (declaredCount_ > kInPlace) {
        onHeap_.resize(declaredCount_);
        declared_ = onHeap_.data();
    }
    const UINT positional = params->cArgs - params->cNamedArgs;
    for (UINT i = 0; i < positional; ++i) {
        declared_[i].index = params->cArgs - 1 - i;
        declared_[i].given = &params->rgvarg[declared_[i].index];
    }
    for (UINT k = 0; k < params->cNamedArgs; ++k) {
        const DISPID named = params->rgdispidNamedArgs[k];
        if (named < 0 || static_cast<size_t>(named) >= declared.size() || declared_[named].given) {
            if (badArgument) *badArgument = k;
            return DISP_E_PARAMNOTFOUND;
        }
        declared_[named].given = &params->rgvarg[k];
        declared_[named].index = k;
    }

    // What the dispatcher gets for each parameter, up to the last one that has a value.
    bool substituted = false;
    size_t count = 0;
    for (size_t i = 0; i < declared.size(); ++i) {
        const ParameterFacts& param = declared[i];
        Argument& argument = declared_[i];
        if (!isOmitted(argument.given)) {
            HRESULT hr = handOver(param, argument.given, argument.handed, substituted);
            if (FAILED(hr) && badArgument) *badArgument = argument.index;
            if (FAILED(hr)) return hr;
            if (!param.byReference && param.type != VT_EMPTY && V_VT(&argument.handed) == V_VT(argument.given))
                argument.byValue = param.type;  // left for the dispatcher to convert
            count = i + 1;
            continue;
        }
        // Too few arguments is a count the caller got wrong; one left out by name or position is not optional.
        if (!param.optional)
            return argument.given || params->cNamedArgs ? HRESULT(DISP_E_PARAMNOTOPTIONAL)
                                                        : HRESULT(DISP_E_BADPARAMCOUNT);
        if (!param.fallback) {
            V_VT(&argument.handed) = VT_ERROR;
            V_ERROR(&argument.handed) = DISP_E_PARAMNOTFOUND;
            continue;
        }
        VARIANT* slot = newSlot();
        HRESULT hr = VariantCopy(slot, const_cast<VARIANT*>(param.fallback->get()));
        if (FAILED(hr)) return hr;
        refer(argument.handed, param.type, slot);
        substituted = true;
        count = i + 1;
    }
    if (!substituted) return S_OK;

    // Rebuilt positionally, in DISPPARAMS order.
    arguments_.resize(count);
    origin_.resize(count);
    for (size_t i = 0; i < count; ++i) {
        arguments_[count - 1 - i] = declared_[i].handed;
        origin_[count - 1 - i] = declared_[i].index;
    }
    rebuilt_ = DISPPARAMS{arguments_.data(), nullptr, static_cast<UINT>(count), 0};
    params_ = &rebuilt_;
    return S_OK;
}

HRESULT invokeChecked(const InterfaceCache& facts, void* object, const wchar_t* className, DISPID id, WORD flags,
                      DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception, UINT* badArgument)
{
    try {
        PreparedCall call;
        HRESULT hr = call.prepare(facts, id, flags, params, badArgument);
        if (SUCCEEDED(hr)) {
            UINT blamed = PreparedCall::kNoIndex;
            hr = facts.info()->Invoke(object, id, flags, call.params(), result, exception, &blamed);
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

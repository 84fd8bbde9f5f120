#include "LateBound.h"

#include <dispex.h>

#include <algorithm>

#include "ErrorNumbers.h"

namespace latebound {
namespace {

void fillText(VARIANT& v, const void* from)
{
    V_BSTR(&v) = raii::makeBstr(*static_cast<const std::wstring*>(from)).release();
}
void fillBool(VARIANT& v, const void* from) { V_BOOL(&v) = *static_cast<const bool*>(from) ? VARIANT_TRUE : VARIANT_FALSE; }
void fillI2(VARIANT& v, const void* from) { V_I2(&v) = *static_cast<const short*>(from); }
void fillI4(VARIANT& v, const void* from) { V_I4(&v) = *static_cast<const long*>(from); }
void fillR8(VARIANT& v, const void* from) { V_R8(&v) = *static_cast<const double*>(from); }
void fillObject(VARIANT& v, const void* from)
{
    IDispatch* object = const_cast<IDispatch*>(static_cast<const IDispatch*>(from));
    if (object) object->AddRef();
    V_DISPATCH(&v) = object;
}
void fillMissing(VARIANT& v, const void*) { V_ERROR(&v) = DISP_E_PARAMNOTFOUND; }

// The error an object raised, with its texts; the deferred fill-in runs first.
void takeException(EXCEPINFO& exception, Result& result)
{
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    result.scode = exception.scode;
    if (!result.scode && exception.wCode) result.scode = automation::errorHResult(exception.wCode);
    result.description = raii::toWString(exception.bstrDescription);
    result.source = raii::toWString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
}

Result invokeId(IDispatch* object, DISPID id, WORD kind, const Args& args)
{
    Result result;
    // Invoke takes the arguments last to first; a put names its value.
    std::vector<VARIANT> reversed;
    reversed.reserve(args.size());
    for (size_t i = args.size(); i-- > 0;) reversed.push_back(args[i]);
    DISPID putId = DISPID_PROPERTYPUT;
    bool isPut = (kind & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params = {reversed.data(), isPut ? &putId : nullptr, static_cast<UINT>(reversed.size()),
                         isPut ? 1u : 0u};
    EXCEPINFO exception = {};
    result.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, isPut ? nullptr : result.put(),
                               &exception, &result.argumentError);
    if (result.hr == DISP_E_EXCEPTION) takeException(exception, result);
    return result;
}

Result failed(HRESULT hr)
{
    Result result;
    result.hr = hr;
    return result;
}

// Some script engines' own objects (a script's class instance) answer only the
// extended lookup, so a caller's object made by a script is found all the same.
HRESULT lookUp(IDispatch* object, const wchar_t* name, DISPID& id)
{
    if (!object || !name) return E_POINTER;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (hr != E_NOTIMPL) return hr;
    raii::ComPtr<IDispatchEx> extended;
    if (FAILED(object->QueryInterface(__uuidof(IDispatchEx), extended.putVoid()))) return hr;
    return extended->GetDispID(raii::makeBstr(name).get(), fdexNameCaseInsensitive, &id);
}

bool converted(const VARIANT& from, VARTYPE type, VARIANT& to)
{
    VariantInit(&to);
    return SUCCEEDED(VariantChangeType(&to, const_cast<VARIANT*>(&from), VARIANT_ALPHABOOL, type));
}

} // namespace

Args::~Args()
{
    for (VARIANT& item : items_) VariantClear(&item);
}

Args& Args::add(VARTYPE type, void (*fill)(VARIANT&, const void*), const void* from)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = type;
    fill(v, from);
    items_.push_back(v);
    return *this;
}

Args& Args::text(const std::wstring& value) { return add(VT_BSTR, fillText, &value); }
Args& Args::boolean(bool value) { return add(VT_BOOL, fillBool, &value); }
Args& Args::i2(short value) { return add(VT_I2, fillI2, &value); }
Args& Args::i4(long value) { return add(VT_I4, fillI4, &value); }
Args& Args::r8(double value) { return add(VT_R8, fillR8, &value); }
Args& Args::object(IDispatch* value) { return add(VT_DISPATCH, fillObject, value); }
Args& Args::missing() { return add(VT_ERROR, fillMissing, nullptr); }

Args& Args::value(const VARIANT& value)
{
    VARIANT copy;
    VariantInit(&copy);
    if (FAILED(VariantCopy(&copy, const_cast<VARIANT*>(&value)))) V_VT(&copy) = VT_EMPTY;
    items_.push_back(copy);
    return *this;
}

Result::Result(Result&& other) noexcept
    : hr(other.hr), scode(other.scode), description(std::move(other.description)), source(std::move(other.source)),
      argumentError(other.argumentError), value_(other.value_)
{
    VariantInit(&other.value_);
}

Result& Result::operator=(Result&& other) noexcept
{
    if (this != &other) {
        VariantClear(&value_);
        hr = other.hr;
        scode = other.scode;
        description = std::move(other.description);
        source = std::move(other.source);
        argumentError = other.argumentError;
        value_ = other.value_;
        VariantInit(&other.value_);
    }
    return *this;
}

bool Result::asText(std::wstring& out) const
{
    VARIANT v;
    if (!converted(value_, VT_BSTR, v)) return false;
    out = raii::toWString(V_BSTR(&v));
    VariantClear(&v);
    return true;
}

bool Result::asLong(long& out) const
{
    VARIANT v;
    if (!converted(value_, VT_I4, v)) return false;
    out = V_I4(&v);
    return true;
}

bool Result::asDouble(double& out) const
{
    VARIANT v;
    if (!converted(value_, VT_R8, v)) return false;
    out = V_R8(&v);
    return true;
}

bool Result::asBool(bool& out) const
{
    VARIANT v;
    if (!converted(value_, VT_BOOL, v)) return false;
    out = V_BOOL(&v) != VARIANT_FALSE;
    return true;
}

std::wstring Result::text() const
{
    std::wstring out;
    return asText(out) ? out : std::wstring();
}

raii::ComPtr<IDispatch> Result::object() const
{
    if (V_VT(&value_) == VT_DISPATCH) return raii::ComPtr<IDispatch>(V_DISPATCH(&value_));
    return raii::ComPtr<IDispatch>();
}

std::wstring Result::errorText() const
{
    wchar_t number[16];
    wsprintfW(number, L"%08X", static_cast<unsigned>(scode ? scode : hr));
    return (description.empty() ? std::wstring(L"Call failed") : description) + L" (0x" + number + L")";
}

Result invoke(IDispatch* object, const wchar_t* name, WORD kind, const Args& args)
{
    DISPID id = 0;
    HRESULT hr = lookUp(object, name, id);
    return FAILED(hr) ? failed(hr) : invokeId(object, id, kind, args);
}

HRESULT Object::id(const wchar_t* name, DISPID& out)
{
    if (!name) return E_POINTER;
    // Member names are case-insensitive, as the object's own lookup is.
    auto match = std::find_if(ids_.begin(), ids_.end(),
                              [name](const auto& entry) { return lstrcmpiW(entry.first.c_str(), name) == 0; });
    if (match != ids_.end()) {
        out = match->second;
        return S_OK;
    }
    HRESULT hr = lookUp(object_.get(), name, out);
    if (SUCCEEDED(hr)) ids_.emplace_back(name, out);
    return hr;
}

bool Object::has(const wchar_t* name)
{
    DISPID ignored = 0;
    return SUCCEEDED(id(name, ignored));
}

Result Object::invoke(const wchar_t* name, WORD kind, const Args& args)
{
    DISPID member = 0;
    HRESULT hr = id(name, member);
    return FAILED(hr) ? failed(hr) : invokeId(object_.get(), member, kind, args);
}

Result Object::get(const wchar_t* name) { return invoke(name, DISPATCH_PROPERTYGET, Args()); }
Result Object::call(const wchar_t* name, const Args& args) { return invoke(name, DISPATCH_METHOD, args); }

Result Object::put(const wchar_t* name, const VARIANT& value)
{
    Args one;
    one.value(value);
    return invoke(name, DISPATCH_PROPERTYPUT, one);
}

Result Object::put(const wchar_t* name, long value) { return invoke(name, DISPATCH_PROPERTYPUT, Args().i4(value)); }
Result Object::put(const wchar_t* name, bool value) { return invoke(name, DISPATCH_PROPERTYPUT, Args().boolean(value)); }
Result Object::put(const wchar_t* name, const std::wstring& value)
{
    return invoke(name, DISPATCH_PROPERTYPUT, Args().text(value));
}

} // namespace latebound

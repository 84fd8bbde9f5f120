// Argument marshalling between COM parameters and the C++ values the module
// routines take, one function per parameter kind. Forwarders convert each
// argument once, here; failures are thrown as RuntimeError (the method frame
// raises them, failure::trap records them).
//
//   in string          arg(vText)                    -> std::wstring (a null BSTR is "")
//   in name            nameArg(vSubKey), pathArg(vPath), commandLineArg(vCommandLine) -> CheckedName
//                      (trailing NULs dropped; error 5 for a NUL left or a text too long for its kind);
//                      nameIfWhole(vPath, kind) -> none instead of the error; checkedName(text) for a text built in C++
//   in/out string      readText(vStr) / writeText(vStr, text)
//   in/out VARIANT     variantText(vFiles), variantTexts(vFiles) (a text or an array of texts),
//                      writeVariant(vSourceCode, text)
//   string array       readTextArray(vFileArray); setTextArray(vFileArray, items) (grown or shrunk
//                      to exactly items); appendTextArray(vFileArray, items)
//   object reference   objectArg(vParent) (may be empty)
//   in/out scalar      readRef(vInt1), writeRef(vInt1, value)  (short, long, unsigned char, VARIANT_BOOL)
//   flags              isTrue(b) for VARIANT_BOOL and byte flags
//   [out, retval]      putResult(out, value) for text, bool, long, short, byte, currency, VARIANT
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <new>
#include <string>
#include <vector>

#include "CheckedName.h"
#include "Raii.h"
#include "RuntimeError.h"

namespace quillon {

inline std::wstring arg(BSTR text) { return raii::toWString(text); }

// Names, checked where they are converted (CheckedName.h): error 5 for a NUL or an over-long text.
inline CheckedName nameArg(BSTR text) { return checkedName(arg(text), NameKind::Name); }
inline CheckedName pathArg(BSTR text) { return checkedName(arg(text), NameKind::Path); }
inline CheckedName commandLineArg(BSTR text) { return checkedName(arg(text), NameKind::CommandLine); }
// For a method that answers a refused name with its own result instead of an error.
inline NameIfWhole nameIfWhole(BSTR text, NameKind kind) { return wholeName(arg(text), kind); }

inline bool isTrue(VARIANT_BOOL value) { return value != VARIANT_FALSE; }
inline bool isTrue(unsigned char value) { return value != 0; }
inline VARIANT_BOOL toVariantBool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

inline raii::UniqueBstr newBstr(const std::wstring& text)
{
    raii::UniqueBstr result = raii::makeBstr(text);
    if (!result) throw std::bad_alloc();
    return result;
}

// ---- in/out scalars and strings: a null reference reads as empty and is not written ----

template <class T>
T readRef(const T* ref, T fallback = T{})
{
    return ref ? *ref : fallback;
}
template <class T>
void writeRef(T* ref, T value)
{
    if (ref) *ref = value;
}

inline std::wstring readText(const BSTR* ref) { return ref ? arg(*ref) : std::wstring(); }

inline void writeText(BSTR* ref, const std::wstring& text)
{
    if (!ref) return;
    BSTR fresh = newBstr(text).release();
    SysFreeString(*ref);
    *ref = fresh;
}

// ---- in/out VARIANT ----

// Follows VT_BYREF|VT_VARIANT to the VARIANT that holds the value.
inline const VARIANT* resolved(const VARIANT* value)
{
    while (value && V_VT(value) == (VT_BYREF | VT_VARIANT)) value = V_VARIANTREF(value);
    return value;
}
inline VARIANT* resolved(VARIANT* value)
{
    while (value && V_VT(value) == (VT_BYREF | VT_VARIANT)) value = V_VARIANTREF(value);
    return value;
}

inline bool isMissing(const VARIANT* value)
{
    value = resolved(value);
    return !value || V_VT(value) == VT_EMPTY || V_VT(value) == VT_NULL ||
           (V_VT(value) == VT_ERROR && V_ERROR(value) == DISP_E_PARAMNOTFOUND);
}

// The value as text (numbers and booleans converted as a script would); missing gives "".
inline std::wstring variantText(const VARIANT* value)
{
    if (isMissing(value)) return {};
    raii::UniqueVariant text;
    HRESULT hr = VariantChangeType(text.get(), const_cast<VARIANT*>(resolved(value)), VARIANT_ALPHABOOL, VT_BSTR);
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (FAILED(hr)) throw RuntimeError(kTypeMismatch);
    return arg(V_BSTR(text.get()));
}

inline std::vector<std::wstring> readTextArray(SAFEARRAY* const* ref);

// A text (one item) or a one-dimensional array of texts or variants; missing gives no items.
inline std::vector<std::wstring> variantTexts(const VARIANT* value)
{
    value = resolved(value);
    if (isMissing(value)) return {};
    if (!(V_VT(value) & VT_ARRAY)) return {variantText(value)};
    SAFEARRAY* array = (V_VT(value) & VT_BYREF) ? *V_ARRAYREF(value) : V_ARRAY(value);
    VARTYPE type = V_VT(value) & VT_TYPEMASK;
    if (type == VT_BSTR) return readTextArray(&array);
    if (type != VT_VARIANT || !array || SafeArrayGetDim(array) != 1) throw RuntimeError(kTypeMismatch);
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    std::vector<std::wstring> items;
    for (LONG i = lower; i <= upper; ++i) {
        raii::UniqueVariant item;
        HRESULT hr = SafeArrayGetElement(array, &i, item.get());
        if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
        if (FAILED(hr)) throw RuntimeError(kTypeMismatch);
        items.push_back(variantText(item.get()));
    }
    return items;
}

// Writes a text into a caller's VARIANT (through VT_BYREF where the caller passed one).
inline void writeVariant(VARIANT* ref, const std::wstring& text)
{
    ref = resolved(ref);
    if (!ref) return;
    if (V_VT(ref) == (VT_BYREF | VT_BSTR)) return writeText(V_BSTRREF(ref), text);
    if (V_VT(ref) & VT_BYREF) throw RuntimeError(kTypeMismatch);
    BSTR fresh = newBstr(text).release();
    VariantClear(ref);
    V_VT(ref) = VT_BSTR;
    V_BSTR(ref) = fresh;
}

// ---- SAFEARRAY(BSTR)* ----

inline void checkTextArray(SAFEARRAY* array)
{
    VARTYPE type = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(array, &type)) || type != VT_BSTR || SafeArrayGetDim(array) != 1)
        throw RuntimeError(kTypeMismatch);
}

// The items from the lower to the upper bound; a null array has none.
inline std::vector<std::wstring> readTextArray(SAFEARRAY* const* ref)
{
    if (!ref || !*ref) return {};
    SAFEARRAY* array = *ref;
    checkTextArray(array);
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    std::vector<std::wstring> items;
    for (LONG i = lower; i <= upper; ++i) {
        BSTR item = nullptr;
        HRESULT hr = SafeArrayGetElement(array, &i, &item);
        if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
        if (FAILED(hr)) throw RuntimeError(kTypeMismatch);
        raii::UniqueBstr owned(item);
        items.push_back(arg(item));
    }
    return items;
}

namespace detail {
inline void putTextAt(SAFEARRAY* array, LONG index, const std::wstring& text)
{
    raii::UniqueBstr item = newBstr(text);
    HRESULT hr = SafeArrayPutElement(array, &index, item.get());  // copies the string
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (FAILED(hr)) throw RuntimeError(kArrayLocked);
}
// Makes the caller's array hold count items from its lower bound (a new one from 0 when there is none).
inline void resizeTextArray(SAFEARRAY** ref, ULONG count)
{
    if (!*ref) {
        SAFEARRAY* fresh = SafeArrayCreateVector(VT_BSTR, 0, count);
        if (!fresh) throw std::bad_alloc();
        *ref = fresh;
        return;
    }
    checkTextArray(*ref);
    LONG lower = 0;
    SafeArrayGetLBound(*ref, 1, &lower);
    SAFEARRAYBOUND bound = {count, lower};
    HRESULT hr = SafeArrayRedim(*ref, &bound);
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (FAILED(hr)) throw RuntimeError(kArrayLocked);  // fixed-size or locked by the caller
}
} // namespace detail

inline void setTextArray(SAFEARRAY** ref, const std::vector<std::wstring>& items)
{
    if (!ref) throw RuntimeError(kInvalidArgument);
    detail::resizeTextArray(ref, static_cast<ULONG>(items.size()));
    LONG lower = 0;
    SafeArrayGetLBound(*ref, 1, &lower);
    for (size_t i = 0; i < items.size(); ++i) detail::putTextAt(*ref, lower + static_cast<LONG>(i), items[i]);
}

inline void appendTextArray(SAFEARRAY** ref, const std::vector<std::wstring>& items)
{
    if (!ref) throw RuntimeError(kInvalidArgument);
    const size_t had = readTextArray(ref).size();
    detail::resizeTextArray(ref, static_cast<ULONG>(had + items.size()));
    LONG lower = 0;
    SafeArrayGetLBound(*ref, 1, &lower);
    for (size_t i = 0; i < items.size(); ++i)
        detail::putTextAt(*ref, lower + static_cast<LONG>(had + i), items[i]);
}

// ---- object references ----

inline raii::ComPtr<IDispatch> objectArg(IDispatch* const* ref)
{
    return raii::ComPtr<IDispatch>(ref ? *ref : nullptr);
}

// ---- [out, retval] results ----

inline void putResult(BSTR* out, const std::wstring& value) { *out = newBstr(value).release(); }
inline void putResult(VARIANT_BOOL* out, bool value) { *out = toVariantBool(value); }
inline void putResult(LONG* out, long value) { *out = value; }
inline void putResult(short* out, short value) { *out = value; }
inline void putResult(unsigned char* out, unsigned char value) { *out = value; }
inline void putResult(CURRENCY* out, CURRENCY value) { *out = value; }
inline void putResult(VARIANT* out, const std::wstring& value)
{
    V_BSTR(out) = newBstr(value).release();
    V_VT(out) = VT_BSTR;
}

} // namespace quillon

// Calls on a caller's object by member name through IDispatch, the way a
// late-bound client does: a script's or C++ program's form object, a
// common-dialog object, or a library object driven from a test or benchmark.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>
#include <vector>

#include "Raii.h"

namespace latebound {

// Positional arguments in call order; owns copies of its values.
class Args {
public:
    Args() = default;
    Args(Args&& other) noexcept : items_(std::move(other.items_)) {}
    Args(const Args&) = delete;
    Args& operator=(const Args&) = delete;
    ~Args();

    Args& text(const std::wstring& value);
    Args& boolean(bool value);
    Args& i2(short value);
    Args& i4(long value);
    Args& r8(double value);
    Args& object(IDispatch* value); // null gives a null object reference
    Args& noObject() { return object(nullptr); }
    Args& missing();                // an omitted optional argument
    Args& value(const VARIANT& value);

    size_t size() const { return items_.size(); }
    const VARIANT& operator[](size_t index) const { return items_[index]; }

private:
    Args& add(VARTYPE type, void (*fill)(VARIANT&, const void*), const void* from);
    std::vector<VARIANT> items_;
};

// What a call gave back: its HRESULT, its result and, when the object raised
// an error, the error's number and texts.
class Result {
public:
    Result() { VariantInit(&value_); }
    Result(Result&& other) noexcept;
    Result& operator=(Result&& other) noexcept;
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
    ~Result() { VariantClear(&value_); }

    HRESULT hr = E_FAIL;
    SCODE scode = 0;          // the raised error's number (0x800A0000 + n for a script's Err.Raise n)
    std::wstring description; // empty when the object raised nothing
    std::wstring source;
    UINT argumentError = 0;   // which argument (last = 0) a type or presence failure names

    bool ok() const { return SUCCEEDED(hr); }
    const VARIANT& value() const { return value_; }
    VARIANT* put() { VariantClear(&value_); return &value_; }
    // The result converted like a script's CStr/CLng/CDbl/CBool; false when it cannot be.
    bool asText(std::wstring& out) const;
    bool asLong(long& out) const;
    bool asDouble(double& out) const;
    bool asBool(bool& out) const;
    std::wstring text() const;                   // "" when not convertible
    raii::ComPtr<IDispatch> object() const;      // null unless an object came back
    // "Description (number)" for messages and logs.
    std::wstring errorText() const;

private:
    VARIANT value_;
};

// One late-bound call: name looked up, then invoked. `kind` is DISPATCH_METHOD,
// DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT or DISPATCH_PROPERTYPUTREF.
Result invoke(IDispatch* object, const wchar_t* name, WORD kind, const Args& args);
inline Result call(IDispatch* object, const wchar_t* name, const Args& args = Args())
{
    return invoke(object, name, DISPATCH_METHOD, args);
}

// A caller's object held for repeated calls: member ids are looked up once each.
class Object {
public:
    Object() = default;
    explicit Object(IDispatch* object) : object_(object) {}

    explicit operator bool() const { return static_cast<bool>(object_); }
    IDispatch* get() const { return object_.get(); }

    Result get(const wchar_t* name);
    Result put(const wchar_t* name, const VARIANT& value);
    Result put(const wchar_t* name, long value);
    Result put(const wchar_t* name, bool value);
    Result put(const wchar_t* name, const std::wstring& value);
    Result call(const wchar_t* name, const Args& args = Args());
    Result invoke(const wchar_t* name, WORD kind, const Args& args);

    // The member's id, from the cache or the object; false when it has no such member.
    bool has(const wchar_t* name);

private:
    HRESULT id(const wchar_t* name, DISPID& out);

    raii::ComPtr<IDispatch> object_;
    std::vector<std::pair<std::wstring, DISPID>> ids_;
};

} // namespace latebound

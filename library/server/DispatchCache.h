// What the method frame needs to know of an interface, read from its type
// information once: per member (DISPID and invoke kinds) its declared
// arguments, which of them are by-reference optionals and the value their
// slot starts with, and which name enumerations of unsigned values. The
// frame reads it without taking any lock; Server.h keeps one per interface.
#pragma once

#include <oaidl.h>

#include <memory>
#include <vector>

#include "Raii.h"

namespace quillon::server {

struct ParameterFacts {
    bool byReference = false;  // declared as a pointer (an object pointer too)
    bool optional = false;
    bool unsignedEnum = false; // an enumeration whose members all are 0x80000000 or above as unsigned values
    VARTYPE type = VT_EMPTY;   // the value's automation type, behind the pointer; VT_EMPTY for none the frame handles
    // A by-reference optional's default as its type (or the type's empty value): what an omitted one gets.
    std::unique_ptr<raii::UniqueVariant> fallback;
};

struct MemberFacts {
    DISPID id = DISPID_UNKNOWN;
    WORD kinds = 0;                      // INVOKEKIND flags
    std::vector<ParameterFacts> params;  // the caller's arguments: no return value, no locale
};

class InterfaceCache {
public:
    // Reads every member of info (throws std::bad_alloc); a failure of the type information leaves it
    // unusable, as status() tells.
    explicit InterfaceCache(ITypeInfo* info);
    InterfaceCache(const InterfaceCache&) = delete;
    InterfaceCache& operator=(const InterfaceCache&) = delete;

    HRESULT status() const { return status_; }
    ITypeInfo* info() const { return info_.get(); }
    // The first member with this DISPID of one of these invoke kinds, as the type information orders them.
    const MemberFacts* find(DISPID id, WORD flags) const;

private:
    raii::ComPtr<ITypeInfo> info_;
    std::vector<MemberFacts> members_;
    HRESULT status_ = S_OK;
};

// The empty value of an automation type: "", 0, no object, no array.
HRESULT emptyValue(VARTYPE type, VARIANT* value);

} // namespace quillon::server

// IDispatch::Invoke before the type information's dispatcher runs: the
// caller's arguments are checked against the member's declaration (bad
// pointers, argument counts, unknown or repeated named arguments), and every
// by-reference parameter is handed storage the method may free and replace:
// the caller's own typed reference, or a slot the frame owns holding the
// parameter's default (omitted optionals), a deep copy (a value given by
// value: the caller's value is never freed or changed) or the converted value
// of a script variable (a reference to a VARIANT), which gets the slot's value
// back after a successful call. Numbers written as unsigned 32-bit values
// reach enumerations whose members all are (registry roots) as those values.
// Bad calls are answered with the dispatch codes themselves, as the system's
// own dispatch does; the error info carries a readable description.
#pragma once

#include <oaidl.h>

#include <memory>
#include <utility>
#include <vector>

#include "DispatchCache.h"
#include "Raii.h"

namespace quillon::server {

class PreparedCall {
public:
    PreparedCall() = default;
    ~PreparedCall();
    PreparedCall(const PreparedCall&) = delete;
    PreparedCall& operator=(const PreparedCall&) = delete;

    // S_OK or the E_INVALIDARG / DISP_E_* code the call must fail with (*badArgument set where one is to blame).
    HRESULT prepare(const InterfaceCache& facts, DISPID id, WORD flags, DISPPARAMS* params, UINT* badArgument);
    // The same with the facts read from info first (a caller without the server's cache).
    HRESULT prepare(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params, UINT* badArgument);
    // The arguments to hand to the dispatcher (the caller's own when nothing was filled).
    DISPPARAMS* params() { return params_; }
    // The caller's index of the argument the dispatcher blamed (kNoIndex: it named none, as Wine's does not;
    // the first argument given by value that does not convert to its parameter's type is then blamed).
    UINT callerIndex(UINT index) const;
    static constexpr UINT kNoIndex = ~0u;
    // After a successful call: each script variable gets the value its slot holds now (texts found for
    // a variable that held no array of texts as an array of variants, the array every script engine reads).
    void writeBack();

private:
    // What the dispatcher gets for one given argument (the caller's own unless substituted).
    HRESULT handOver(const ParameterFacts& param, VARIANT* given, VARIANT& argument, bool& substituted);
    VARIANT* newSlot();

    // Per declared parameter: the caller's argument and its index in rgvarg (~0u: none), what the
    // dispatcher gets, and the type it converts the caller's value to itself (VT_EMPTY: none).
    struct Argument { VARIANT* given = nullptr; UINT index = ~0u; VARIANT handed{}; VARTYPE byValue = VT_EMPTY; };
    // Held in place for the usual few parameters: a heap block per call would cost a cheap method a
    // noticeable share of its time.
    static constexpr size_t kInPlace = 12;
    Argument inPlace_[kInPlace];
    std::vector<Argument> onHeap_;
    Argument* declared_ = inPlace_;
    size_t declaredCount_ = 0;
    DISPPARAMS* params_ = nullptr;
    DISPPARAMS rebuilt_{};
    std::vector<VARIANT> arguments_;            // in DISPPARAMS order (last parameter first)
    std::vector<UINT> origin_;                  // per argument: the caller's index, or ~0u for a filled one
    std::unique_ptr<raii::UniqueVariant[]> slots_;  // frame-owned values (made on first use); their addresses go out
    size_t slotCount_ = 0;
    struct WriteBack { VARIANT* variable; VARIANT* slot; bool asVariants; };
    std::vector<WriteBack> writeBacks_;         // script variables and the slots they get back
};

// Invokes a member of object through its interface's type information with the checks above; className
// names the error source ("Quillon." + className).
HRESULT invokeChecked(const InterfaceCache& facts, void* object, const wchar_t* className, DISPID id, WORD flags,
                      DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception, UINT* badArgument);

// GetIDsOfNames with null names or ids refused.
HRESULT idsOfNamesChecked(ITypeInfo* info, LPOLESTR* names, UINT count, DISPID* ids);

} // namespace quillon::server

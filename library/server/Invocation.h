// IDispatch::Invoke before the type information's dispatcher runs: the
// caller's arguments are checked against the member's declaration (bad
// pointers, too many arguments, unknown or repeated named arguments), and each
// omitted optional by-reference argument becomes a by-reference argument to a
// local holding its default (or the type's empty value), so method bodies
// always receive valid pointers. Failures the dispatcher reports get a
// readable description in the error info and EXCEPINFO.
#pragma once

#include <oaidl.h>

#include <memory>
#include <vector>

namespace quillon::server {

class PreparedCall {
public:
    PreparedCall() = default;
    ~PreparedCall();
    PreparedCall(const PreparedCall&) = delete;
    PreparedCall& operator=(const PreparedCall&) = delete;

    // S_OK or the E_INVALIDARG / DISP_E_* code the call must fail with (*badArgument set where one is to blame).
    HRESULT prepare(ITypeInfo* info, DISPID id, WORD flags, DISPPARAMS* params, UINT* badArgument);
    // The arguments to hand to the dispatcher (the caller's own when nothing was filled).
    DISPPARAMS* params() { return params_; }
    // A dispatcher's argument index in the caller's terms.
    UINT callerIndex(UINT index) const;

private:
    DISPPARAMS* params_ = nullptr;
    DISPPARAMS rebuilt_{};
    std::vector<VARIANT> arguments_;           // in DISPPARAMS order (last parameter first)
    std::vector<UINT> origin_;                 // per argument: the caller's index, or ~0u for a filled one
    std::unique_ptr<VARIANT[]> locals_;        // the filled values; their addresses are handed out
    size_t localCount_ = 0;
};

// Invokes a member of object through its type information with the checks above; className names
// the error source ("Quillon." + className).
HRESULT invokeChecked(ITypeInfo* info, void* object, const wchar_t* className, DISPID id, WORD flags,
                      DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception, UINT* badArgument);

// GetIDsOfNames with null names or ids refused.
HRESULT idsOfNamesChecked(ITypeInfo* info, LPOLESTR* names, UINT count, DISPID* ids);

// The description a script host shows for a dispatch failure ("" for others).
const wchar_t* dispatchFailureText(HRESULT hr);

} // namespace quillon::server

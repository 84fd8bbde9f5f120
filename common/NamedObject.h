// IUnknown and the name half of IDispatch for an object that callers reach
// only by member name (no type information): a form object, a common-dialog
// object. The derived class supplies Invoke.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <new>
#include <string>

#include "ErrorNumbers.h"

namespace latebound {

struct MemberName {
    const wchar_t* name;
    DISPID id;
};

// Runs an Invoke body: a run-time error it throws reaches the caller through its
// EXCEPINFO with `source`; running out of memory gives E_OUTOFMEMORY, anything else E_FAIL.
template <class Body>
HRESULT answerInvoke(EXCEPINFO* exception, const std::wstring& source, Body&& body) noexcept
{
    try {
        return body();
    } catch (const automation::RuntimeError& error) {
        return error.raise(exception, source);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

class NamedObject : public IDispatch {
public:
    // The table outlives the object (a static array); names are matched without regard to letter case.
    template <size_t N>
    explicit NamedObject(const MemberName (&members)[N]) : members_(members), count_(N) {}
    NamedObject(const MemberName* members, size_t count) : members_(members), count_(count) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** result) override;
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;

protected:
    virtual ~NamedObject() = default;
    ULONG references() const { return static_cast<ULONG>(references_); }

private:
    const MemberName* members_;
    size_t count_;
    LONG references_ = 1;
};

} // namespace latebound

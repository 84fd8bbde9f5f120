// Shared implementation of IUnknown, IDispatch and ISupportErrorInfo for the
// library's classes, and the method frame every public method goes through.
//
// A class derives from DispatchObject<Class, Interface>, declares
// `static constexpr const wchar_t* kName` and `static const IID& iid()`, and
// implements only the methods of its interface, each as one call of call():
//
//     STDMETHODIMP qfcLibCore::GetAppVersion(VARIANT_BOOL vFormatted, BSTR* result)
//     { return call(result, [&] { return qfcLibCoreA::GetAppVersion(isTrue(vFormatted)); }); }
//
// A method whose routine traps its failures (neutral result + the thread's
// last-error record) says so by name:
//
//     { return trap(result, false, [&] { return qfcLibRegistryA::KeyDelete(nameArg(vSubKey), vBaseKey); }); }
//
// Dispatch goes through the type information, so named calls get the type
// library's defaults for omitted optional arguments; what the frame reads of
// it is cached per interface (Server.h).
#pragma once

#include <new>
#include <string>

#include "Failure.h"
#include "Invocation.h"
#include "Marshal.h"
#include "QuillonTypes.h"
#include "Raii.h"
#include "RuntimeError.h"
#include "Server.h"

namespace quillon {

template <class Derived, class Interface>
class DispatchObject : public Interface, public ISupportErrorInfo {
public:
    // Class-factory entry: a new object, handed out through QueryInterface.
    static HRESULT create(REFIID iid, void** result)
    {
        *result = nullptr;
        Derived* object = new (std::nothrow) Derived();
        if (!object) return E_OUTOFMEMORY;
        HRESULT hr = object->QueryInterface(iid, result);
        object->Release();
        return hr;
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** result) override
    {
        if (!result) return E_POINTER;
        IUnknown* found = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == Derived::iid())
            found = static_cast<Interface*>(this);
        else if (iid == IID_ISupportErrorInfo)
            found = static_cast<ISupportErrorInfo*>(this);
        return server::handOut(found, result);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override
    {
        return server::countDown(references_, [this] { delete static_cast<Derived*>(this); });
    }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** result) override
    {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        const server::InterfaceCache* facts = nullptr;
        HRESULT hr = dispatchFacts(&facts);
        if (SUCCEEDED(hr)) (*result = facts->info())->AddRef();
        return hr;
    }
    STDMETHODIMP GetIDsOfNames(REFIID reserved, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (reserved != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        const server::InterfaceCache* facts = nullptr;
        HRESULT hr = dispatchFacts(&facts);
        return FAILED(hr) ? hr : server::idsOfNamesChecked(facts->info(), names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID reserved, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* badArgument) override
    {
        if (reserved != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        const server::InterfaceCache* facts = nullptr;
        HRESULT hr = dispatchFacts(&facts);
        if (FAILED(hr)) return hr;
        return server::invokeChecked(*facts, static_cast<Interface*>(this), Derived::kName, id, flags, params,
                                     result, exception, badArgument);
    }

    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override
    {
        return iid == Derived::iid() ? S_OK : S_FALSE;
    }

    static std::wstring source() { return std::wstring(L"Quillon.") + Derived::kName; }

protected:
    DispatchObject() { server::addReference(); }
    virtual ~DispatchObject() { server::releaseReference(); }

    // The method frame: runs a routine, hands back its result, and turns any
    // failure into an HRESULT with error info. No exception leaves it.
    template <class Out, class Body>
    HRESULT call(Out* out, Body&& body)
    {
        if (!out) return E_POINTER;
        *out = Out{};
        return guarded([&] { putResult(out, body()); });
    }
    template <class Body>
    HRESULT call(Body&& body)
    {
        return guarded(body);
    }
    // The trap style: failures are recorded and the method answers neutral with S_OK.
    template <class Out, class Neutral, class Body>
    HRESULT trap(Out* out, Neutral neutral, Body&& body)
    {
        return call(out, [&] { return failure::trap(neutral, body); });
    }

private:
    static HRESULT dispatchFacts(const server::InterfaceCache** result)
    {
        static const int slot = server::interfaceSlot(Derived::iid());
        return server::interfaceCache(slot, result);
    }

    template <class Body>
    HRESULT guarded(Body&& body)
    {
        try {
            body();
            return S_OK;
        } catch (const RuntimeError& error) {
            return error.raise(source());
        } catch (const std::bad_alloc&) {
            return RuntimeError(kOutOfMemory).raise(source());
        } catch (...) {
            return RuntimeError(kInternalError).raise(source());
        }
    }

    LONG references_ = 1;
};

} // namespace quillon

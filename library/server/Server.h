// Process-wide state of the in-process server: its module, the count of live
// objects and locks that DllCanUnloadNow answers from, and one cache of the
// type library loaded from the DLL's own resources (so dispatch works before
// and without registration) with what dispatch needs of each interface.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <string>

#include "DispatchCache.h"

namespace quillon::server {

void setModule(HMODULE module);
HMODULE module();
std::wstring modulePath();

void addReference();
void releaseReference();
// IClassFactory::LockServer: an unlock without a lock is refused (false), never counted below zero.
void addLock();
bool releaseLock();
bool canUnload();

// IUnknown of the server's objects in one place. QueryInterface's answer: `found` AddRef'd into *result, or
// E_NOINTERFACE with *result null.
inline HRESULT handOut(IUnknown* found, void** result)
{
    *result = found;
    if (!found) return E_NOINTERFACE;
    found->AddRef();
    return S_OK;
}
// Release's count: destroy() runs when the last reference goes.
template <class Destroy>
ULONG countDown(LONG& references, Destroy&& destroy)
{
    const ULONG count = InterlockedDecrement(&references);
    if (count == 0) destroy();
    return count;
}

// The type information of one interface of the library; AddRef'd for the caller.
HRESULT typeInfo(REFGUID guid, ITypeInfo** result);
// The number under which an interface's dispatch facts are kept (cold: once per class); -1 when all are taken.
int interfaceSlot(REFIID iid) noexcept;
// The dispatch facts of the interface in this slot, read on first use and shared by every thread; taking
// them after that is one atomic read.
HRESULT interfaceCache(int slot, const InterfaceCache** result) noexcept;
// Drops the cached type library; called only when nothing uses the server. The dispatch facts stay: a call
// racing with DllCanUnloadNow may still read them, and they hold the type information they need.
void releaseTypeLibrary();
// Frees the dispatch facts: only once the module is being unloaded, when no call can reach them.
void freeDispatchFacts();

} // namespace quillon::server

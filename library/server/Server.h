// Process-wide state of the in-process server: its module, the count of live
// objects and locks that DllCanUnloadNow answers from, and one cache of the
// type library loaded from the DLL's own resources (so dispatch works before
// and without registration).
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <string>

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

// The type information of one interface of the library; AddRef'd for the caller.
HRESULT typeInfo(REFGUID guid, ITypeInfo** result);
// Drops the cached type library; called only when nothing uses the server.
void releaseTypeLibrary();

} // namespace quillon::server

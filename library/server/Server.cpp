#include "Server.h"

#include "Raii.h"
#include "QuillonTypes.h"
#include "RuntimeError.h"

namespace quillon::server {
namespace {

HMODULE g_module = nullptr;
LONG g_references = 0;
LONG g_locks = 0;

SRWLOCK g_typeLibLock = SRWLOCK_INIT;
raii::ComPtr<ITypeLib> g_typeLib;

struct TypeLibLock {
    TypeLibLock() { AcquireSRWLockExclusive(&g_typeLibLock); }
    ~TypeLibLock() { ReleaseSRWLockExclusive(&g_typeLibLock); }
    TypeLibLock(const TypeLibLock&) = delete;
    TypeLibLock& operator=(const TypeLibLock&) = delete;
};

} // namespace

void setModule(HMODULE module) { g_module = module; }
HMODULE module() { return g_module; }

std::wstring modulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) { path.resize(length); return path; }
        path.resize(path.size() * 2);
    }
}

void addReference() { InterlockedIncrement(&g_references); }
void releaseReference() { InterlockedDecrement(&g_references); }

void addLock() { InterlockedIncrement(&g_locks); }

bool releaseLock()
{
    for (LONG locks = g_locks; locks > 0; locks = g_locks)
        if (InterlockedCompareExchange(&g_locks, locks - 1, locks) == locks) return true;
    return false;
}

bool canUnload()
{
    return InterlockedCompareExchange(&g_references, 0, 0) == 0 && InterlockedCompareExchange(&g_locks, 0, 0) == 0;
}

HRESULT typeInfo(REFGUID guid, ITypeInfo** result)
{
    if (!result) return E_POINTER;
    *result = nullptr;
    return guardEntry([&] {
        TypeLibLock lock;
        HRESULT hr = g_typeLib ? S_OK : LoadTypeLibEx(modulePath().c_str(), REGKIND_NONE, g_typeLib.put());
        return FAILED(hr) ? hr : g_typeLib->GetTypeInfoOfGuid(guid, result);
    });
}

void releaseTypeLibrary()
{
    TypeLibLock lock;
    g_typeLib.reset();
}

} // namespace quillon::server

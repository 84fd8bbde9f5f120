#include "Server.h"

#include <atomic>
#include <memory>

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

// Plain and atomic globals, so no destructor runs at exit; the library has seven interfaces.
constexpr int kInterfaceSlots = 16;
SRWLOCK g_slotLock = SRWLOCK_INIT;
IID g_slotIids[kInterfaceSlots] = {};
int g_slotCount = 0;
std::atomic<InterfaceCache*> g_caches[kInterfaceSlots] = {};

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

int interfaceSlot(REFIID iid) noexcept
{
    AcquireSRWLockExclusive(&g_slotLock);
    int slot = 0;
    while (slot < g_slotCount && g_slotIids[slot] != iid) ++slot;
    if (slot == g_slotCount && g_slotCount < kInterfaceSlots) g_slotIids[g_slotCount++] = iid;
    ReleaseSRWLockExclusive(&g_slotLock);
    return slot < kInterfaceSlots ? slot : -1;
}

HRESULT interfaceCache(int slot, const InterfaceCache** result) noexcept
{
    *result = nullptr;
    if (slot < 0 || slot >= kInterfaceSlots) return E_UNEXPECTED;
    if ((*result = g_caches[slot].load(std::memory_order_acquire))) return S_OK;
    return guardEntry([&] {
        AcquireSRWLockShared(&g_slotLock);
        const IID iid = g_slotIids[slot];
        ReleaseSRWLockShared(&g_slotLock);
        raii::ComPtr<ITypeInfo> info;
        HRESULT hr = typeInfo(iid, info.put());
        if (FAILED(hr)) return hr;
        auto built = std::make_unique<InterfaceCache>(info.get());
        if (FAILED(built->status())) return built->status();
        // Threads that raced here built the same facts: the first one published is kept.
        InterfaceCache* first = nullptr;
        if (g_caches[slot].compare_exchange_strong(first, built.get(), std::memory_order_acq_rel))
            first = built.release();
        *result = first;
        return S_OK;
    });
}

void releaseTypeLibrary()
{
    TypeLibLock lock;
    g_typeLib.reset();
}

void freeDispatchFacts()
{
    for (std::atomic<InterfaceCache*>& cache : g_caches) delete cache.exchange(nullptr);
}

} // namespace quillon::server

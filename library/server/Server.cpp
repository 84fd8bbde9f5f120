#include "Server.h"

#include <mutex>

#include "Raii.h"
#include "QuillonTypes.h"

namespace quillon::server {
namespace {

HMODULE g_module = nullptr;
LONG g_references = 0;

std::mutex g_typeLibMutex;
raii::ComPtr<ITypeLib> g_typeLib;

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
bool canUnload() { return InterlockedCompareExchange(&g_references, 0, 0) == 0; }

HRESULT typeInfo(REFGUID guid, ITypeInfo** result)
{
    *result = nullptr;
    std::lock_guard<std::mutex> lock(g_typeLibMutex);
    if (!g_typeLib) {
        HRESULT hr = LoadTypeLibEx(modulePath().c_str(), REGKIND_NONE, g_typeLib.put());
        if (FAILED(hr)) return hr;
    }
    return g_typeLib->GetTypeInfoOfGuid(guid, result);
}

void releaseTypeLibrary()
{
    std::lock_guard<std::mutex> lock(g_typeLibMutex);
    g_typeLib.reset();
}

} // namespace quillon::server

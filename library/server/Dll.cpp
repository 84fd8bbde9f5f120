// Entry points of the in-process server and its one class factory.
#include <new>

#include "ClassTable.h"
#include "PerThread.h"
#include "Registration.h"
#include "RuntimeError.h"
#include "Server.h"
#include "Window.h"

namespace quillon::server {
namespace {

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(const ClassEntry& entry) : entry_(entry) { addReference(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** result) override
    {
        if (!result) return E_POINTER;
        const bool known = iid == IID_IUnknown || iid == IID_IClassFactory;
        return handOut(known ? static_cast<IClassFactory*>(this) : nullptr, result);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override { return countDown(references_, [this] { delete this; }); }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** result) override
    {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return quillon::guardEntry([&] { return entry_.create(iid, result); });
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock) addLock();
        else if (!releaseLock()) return E_UNEXPECTED;
        return S_OK;
    }

private:
    ~ClassFactory() { releaseReference(); }

    const ClassEntry& entry_;
    LONG references_ = 1;
};

} // namespace
} // namespace quillon::server

using namespace quillon::server;

// Thread notifications stay on: they free each thread's per-thread values.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        setModule(instance);
        break;
    case DLL_THREAD_DETACH:
        quillon::perthread::releaseThread();
        break;
    case DLL_PROCESS_DETACH:
        // At process exit (reserved set) other threads are gone mid-way: free only this thread's values
        // (the dispatch facts go with the process). Unloaded, nothing can call into the server any more.
        if (reserved) {
            quillon::perthread::releaseThread();
        } else {
            quillon::perthread::releaseAll();
            freeDispatchFacts();
            releaseTypeLibrary();
        }
        break;
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** result)
{
    if (!result) return E_POINTER;
    *result = nullptr;
    return quillon::guardEntry([&] {
        const ClassEntry* entry = findClass(clsid);
        if (!entry) return CLASS_E_CLASSNOTAVAILABLE;
        auto* factory = new (std::nothrow) ClassFactory(*entry);
        if (!factory) return E_OUTOFMEMORY;
        HRESULT hr = factory->QueryInterface(iid, result);
        factory->Release();
        return hr;
    });
}

STDAPI DllCanUnloadNow()
{
    if (!canUnload()) return S_FALSE;
    releaseTypeLibrary();
    ui::unregisterClasses();
    return S_OK;
}

STDAPI DllRegisterServer() { return quillon::guardEntry([] { return registerServer(Scope::Machine); }); }
STDAPI DllUnregisterServer() { return quillon::guardEntry([] { return unregisterServer(Scope::Machine); }); }

// regsvr32 /n /i:user registers for the current user only.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine)
{
    Scope scope = Scope::Machine;
    if (commandLine && *commandLine) {
        if (lstrcmpiW(commandLine, L"user") != 0) return E_INVALIDARG;
        scope = Scope::User;
    }
    return quillon::guardEntry([&] { return install ? registerServer(scope) : unregisterServer(scope); });
}

// Worker threads that use the library must finish exiting, with the DLL kept
// loaded and after it was unloaded under them.
#include <vector>

#include "ServerClasses.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

constexpr DWORD kJoinMs = 60000;

// Uses every class the way a worker of a client would, then leaves COM.
DWORD WINAPI worker(void* unloadAfter)
{
    raii::ComScope com(COINIT_APARTMENTTHREADED);
    bool ok = SUCCEEDED(com.result());
    DWORD step = 1;
    {
        const std::wstring title = L"Worker" + std::to_wstring(GetCurrentThreadId());
        raii::ComPtr<_qfcLibCore> core;
        ok = ok && SUCCEEDED(CoCreateInstance(CLSID_qfcLibCore, nullptr, CLSCTX_INPROC_SERVER, IID__qfcLibCore,
                                              core.putVoid()));
        raii::UniqueBstr version;
        ok = ok && core->InitCore(bstr(L"App").get(), bstr(title).get(), bstr(L"C:\\").get(), 1, 2, 3) == S_OK &&
             core->GetAppVersion(VARIANT_TRUE, version.put()) == S_OK && raii::toWString(version.get()) == L"v1.2.3";

        step = ok ? 2 : step;
        raii::ComPtr<_qfcLibRegistry> registry;
        ok = ok && SUCCEEDED(CoCreateInstance(CLSID_qfcLibRegistry, nullptr, CLSCTX_INPROC_SERVER,
                                              IID__qfcLibRegistry, registry.putVoid()));
        VARIANT_BOOL set = VARIANT_FALSE, deleted = VARIANT_FALSE;
        raii::UniqueBstr read;
        ok = ok && registry->KeySet(bstr(L"V").get(), bstr(title).get(), bstr(L"T").get(), qcApps, &set) == S_OK &&
             registry->KeyGet(bstr(L"V").get(), bstr(L"").get(), bstr(L"T").get(), qcApps, read.put()) == S_OK &&
             registry->KeyDeleteValue(bstr(L"V").get(), bstr(L"T").get(), qcApps, &deleted) == S_OK &&
             set && deleted && raii::toWString(read.get()) == title;

        step = ok ? 3 : step;
        for (const ServerClass& server : kClasses) {
            raii::ComPtr<IDispatch> object;
            UINT count = 0;
            ok = ok && SUCCEEDED(CoCreateInstance(*server.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                                  object.putVoid())) &&
                 object->GetTypeInfoCount(&count) == S_OK;
        }
    }
    if (unloadAfter) CoFreeUnusedLibrariesEx(0, 0);
    return ok ? 0 : step;
}

// Starts count workers at once and joins each within the time-out; the number that did not end.
int runWorkers(int count, bool unload, int* failed)
{
    std::vector<raii::UniqueHandle> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back(CreateThread(nullptr, 0, worker, unload ? &threads : nullptr, 0, nullptr));
    int hung = 0;
    *failed = 0;
    for (auto& thread : threads) {
        if (!thread || WaitForSingleObject(thread.get(), kJoinMs) != WAIT_OBJECT_0) {
            ++hung;
            continue;
        }
        DWORD code = 1;
        GetExitCodeThread(thread.get(), &code);
        if (code != 0) ADD_FAILURE() << "a worker failed at step " << code;
        *failed += code != 0;
    }
    return hung;
}

} // namespace

// Threads that used every class must finish exiting, the DLL kept loaded (a hang there is a per-thread object
// whose destructor runs at thread exit) and unloaded under them, and it loads again afterwards.
TEST(WorkerThreads, AllFinishWithTheLibraryLoadedAndUnloadedUnderThem)
{
    raii::ComScope com;
    ScratchCurrentUser scratch(L"WorkerThreads");
    for (const auto& [count, unload] : {std::pair{50, false}, std::pair{8, true}, std::pair{4, true}}) {
        int failed = 0;
        EXPECT_EQ(0, runWorkers(count, unload, &failed)) << count << " threads never finished exiting";
        EXPECT_EQ(0, failed) << "calls failed inside the workers";
        CoFreeUnusedLibrariesEx(0, 0);
    }
}

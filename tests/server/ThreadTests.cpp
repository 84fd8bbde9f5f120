// Worker threads that use the library must finish exiting, with the DLL kept loaded and after it was unloaded
// under them (a per-thread object whose destructor runs at thread exit hangs there).
#include <vector>

#include "ServerClasses.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

// Uses every class the way a worker of a client would, then leaves COM; 0, or the step that failed.
DWORD WINAPI worker(void* unloadAfter)
{
    raii::ComScope com(COINIT_APARTMENTTHREADED);
    if (FAILED(com.result())) return 1;
    DWORD failedStep = 0;
    {
        const std::wstring title = L"Worker" + std::to_wstring(GetCurrentThreadId());
        latebound::Object core(create<IDispatch>(CLSID_qfcLibCore, IID_IDispatch).get());
        latebound::Object registry(create<IDispatch>(CLSID_qfcLibRegistry, IID_IDispatch).get());
        core.call(L"InitCore", latebound::Args().text(L"App").text(title).text(L"C:\\").i2(1).i2(2).i2(3));
        if (!failedStep && core.call(L"GetAppVersion", latebound::Args().boolean(true)).text() != L"v1.2.3")
            failedStep = 2;
        const std::wstring set = registry.call(L"KeySet", latebound::Args().text(L"V").text(title).text(L"T")).text();
        const std::wstring read = registry.call(L"KeyGet", latebound::Args().text(L"V").text(L"").text(L"T")).text();
        if (!failedStep && (set != L"True" || read != title)) failedStep = 3;
        for (const ServerClass& server : kClasses) {
            UINT count = 0;
            auto object = create<IDispatch>(*server.clsid, IID_IDispatch);
            if (!failedStep && (!object || object->GetTypeInfoCount(&count) != S_OK)) failedStep = 4;
        }
    }
    if (unloadAfter) CoFreeUnusedLibrariesEx(0, 0);
    return failedStep;
}

// Starts count workers at once and joins each within a minute; the number that did not end.
int runWorkers(int count, bool unload, int* failed)
{
    std::vector<raii::UniqueHandle> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back(CreateThread(nullptr, 0, worker, unload ? &threads : nullptr, 0, nullptr));
    int hung = 0;
    *failed = 0;
    for (auto& thread : threads) {
        DWORD code = 1;
        if (!thread || WaitForSingleObject(thread.get(), 60000) != WAIT_OBJECT_0) ++hung;
        else if (GetExitCodeThread(thread.get(), &code) && code) ADD_FAILURE() << "a worker failed at step " << code;
        *failed += code != 0;
    }
    return hung;
}

} // namespace

TEST(WorkerThreads, AllFinishWithTheLibraryLoadedAndUnloadedUnderThem)
{
    raii::ComScope com;
    ScratchCurrentUser scratch(L"WorkerThreads");
    for (const auto& [count, unload] : {std::pair{50, false}, std::pair{8, true}, std::pair{4, true}}) {
        int failed = 0;
        EXPECT_EQ(0, runWorkers(count, unload, &failed)) << count << " threads never finished exiting";
        EXPECT_EQ(0, failed) << "calls failed inside the workers";
        CoFreeUnusedLibrariesEx(0, 0);  // the last round loads the library again
    }
}

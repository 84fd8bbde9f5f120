// Worker threads that use the library must finish exiting, with the DLL kept loaded and after it was unloaded
// under them (a per-thread object whose destructor runs at thread exit hangs there).
#include <vector>

#include "ServerClasses.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

// Uses every class the way a worker of a client would, then leaves COM; 0 when every call worked.
DWORD WINAPI worker(void* unloadAfter)
{
    raii::ComScope com(COINIT_APARTMENTTHREADED);
    bool worked = SUCCEEDED(com.result());
    {
        const std::wstring title = L"Worker" + std::to_wstring(GetCurrentThreadId());
        latebound::Object core(create<IDispatch>(CLSID_qfcLibCore, IID_IDispatch).get());
        latebound::Object registry(create<IDispatch>(CLSID_qfcLibRegistry, IID_IDispatch).get());
        core.call(L"InitCore", latebound::Args().text(L"App").text(title).text(L"C:\\").i2(1).i2(2).i2(3));
        registry.call(L"KeySet", latebound::Args().text(L"V").text(title).text(L"T"));
        worked = worked && registry.call(L"KeyGet", latebound::Args().text(L"V").text(L"").text(L"T")).text() == title;
        for (const ServerClass& server : kClasses) {
            UINT count = 0;
            auto object = create<IDispatch>(*server.clsid, IID_IDispatch);
            worked = worked && object && object->GetTypeInfoCount(&count) == S_OK;
        }
    }
    if (unloadAfter) CoFreeUnusedLibrariesEx(0, 0);
    return worked ? 0 : 1;
}

} // namespace

// 50 workers with the library loaded, 8 that unload it under each other, 4 after it loads again.
TEST(WorkerThreads, AllFinishWithTheLibraryLoadedAndUnloadedUnderThem)
{
    raii::ComScope com;
    ScratchCurrentUser scratch(L"WorkerThreads");
    for (const auto& [count, unload] : {std::pair{50, false}, std::pair{8, true}, std::pair{4, true}}) {
        SCOPED_TRACE(count);
        std::vector<raii::UniqueHandle> threads;
        for (int i = 0; i < count; ++i)
            threads.emplace_back(CreateThread(nullptr, 0, worker, unload ? &threads : nullptr, 0, nullptr));
        for (auto& thread : threads) {
            DWORD code = 1;
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.get(), 60000)) << "a thread never finished exiting";
            EXPECT_TRUE(GetExitCodeThread(thread.get(), &code) && code == 0) << "calls failed in a worker: " << code;
        }
        CoFreeUnusedLibrariesEx(0, 0);  // the last round loads the library again
    }
}

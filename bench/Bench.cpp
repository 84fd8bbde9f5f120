#include "Bench.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {
namespace {

struct Registered {
    const char* name;
    void (*run)();
};

std::vector<Registered>& groups()
{
    static std::vector<Registered> list;
    return list;
}

double seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

} // namespace

Group::Group(const char* name, void (*run)()) { groups().push_back({name, run}); }

double nsPerCall(const std::function<void()>& body, int iterations)
{
    const int rounds = 5;
    double best = 1e300;
    body(); // warm caches
    for (int round = 0; round < rounds; ++round) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < iterations; ++i) body();
        QueryPerformanceCounter(&end);
        best = std::min(best, seconds(start, end) * 1e9 / iterations);
    }
    return best;
}

void report(const std::string& name, double candidateNs, double baselineNs)
{
    std::printf("%-52s %10.1f ns  baseline %10.1f ns  ratio %6.2fx\n", name.c_str(), candidateNs, baselineNs,
                baselineNs > 0 ? candidateNs / baselineNs : 0.0);
    std::fflush(stdout);
}

HRESULT createObjectRaw(REFCLSID clsid, REFIID iid, void** result)
{
    *result = nullptr;
    static HMODULE library = LoadLibraryW(L"Quillon.dll");
    if (!library) return HRESULT_FROM_WIN32(GetLastError());
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    if (!getClassObject) return E_FAIL;
    raii::ComPtr<IClassFactory> factory;
    HRESULT hr = getClassObject(clsid, IID_IClassFactory, factory.putVoid());
    return FAILED(hr) ? hr : factory->CreateInstance(nullptr, iid, result);
}

} // namespace bench

int wmain(int argc, wchar_t** argv)
{
    raii::ComScope com;
    std::printf("Quillon benchmarks (ratio = candidate / baseline, same run)\n");
    for (const auto& group : bench::groups()) {
        bool selected = argc < 2;
        for (int i = 1; i < argc; ++i) {
            std::wstring wanted(argv[i]);
            if (std::wstring(group.name, group.name + strlen(group.name)) == wanted) selected = true;
        }
        if (!selected) continue;
        std::printf("[%s]\n", group.name);
        group.run();
    }
    return 0;
}

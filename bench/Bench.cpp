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

int g_failures = 0;

void printFailure(const std::string& what, HRESULT hr)
{
    ++g_failures;
    std::printf("  FAILED %-45s 0x%08lX\n", what.c_str(), static_cast<unsigned long>(hr));
    std::fflush(stdout);
}

double seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

} // namespace

Group::Group(const char* name, void (*run)()) { groups().push_back({name, run}); }

namespace {

// One timed round of `iterations` calls, kept when it is the best so far.
void timeRound(const std::function<HRESULT()>& body, int iterations, Timing& timing)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < iterations && timing.ok(); ++i) timing.hr = body();
    QueryPerformanceCounter(&end);
    timing.ns = std::min(timing.ns, seconds(start, end) * 1e9 / iterations);
}

} // namespace

Timing nsPerCall(const std::function<HRESULT()>& body, int iterations)
{
    const int rounds = 5;
    Timing timing{1e300, body()}; // the first call also warms caches
    for (int round = 0; round < rounds && timing.ok(); ++round) timeRound(body, iterations, timing);
    if (!timing.ok()) timing.ns = 0;
    return timing;
}

Comparison nsPerCallInTurns(const std::function<HRESULT()>& candidate, const std::function<HRESULT()>& baseline,
                            int iterations, int turns)
{
    Comparison result{{1e300, candidate()}, {1e300, baseline()}};
    for (int turn = 0; turn < turns && result.candidate.ok() && result.baseline.ok(); ++turn) {
        timeRound(candidate, iterations, result.candidate);
        timeRound(baseline, iterations, result.baseline);
    }
    for (Timing* timing : {&result.candidate, &result.baseline})
        if (!timing->ok()) timing->ns = 0;
    return result;
}

void report(const std::string& name, const Timing& candidate, const Timing& baseline)
{
    if (!candidate.ok()) printFailure(name + " (candidate)", candidate.hr);
    if (!baseline.ok()) printFailure(name + " (baseline)", baseline.hr);
    if (!candidate.ok() || !baseline.ok()) return;
    std::printf("%-52s %10.1f ns  baseline %10.1f ns  ratio %6.2fx\n", name.c_str(), candidate.ns, baseline.ns,
                baseline.ns > 0 ? candidate.ns / baseline.ns : 0.0);
    std::fflush(stdout);
}

bool check(HRESULT hr, const std::string& what)
{
    if (FAILED(hr)) printFailure(what, hr);
    return SUCCEEDED(hr);
}

std::wstring programFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring text(path);
    return text.substr(0, text.find_last_of(L'\\') + 1);
}

std::wstring tempFolder()
{
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    return temp;
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
    int selectedGroups = 0;
    for (const auto& group : bench::groups()) {
        bool selected = argc < 2;
        for (int i = 1; i < argc; ++i) {
            std::wstring wanted(argv[i]);
            if (std::wstring(group.name, group.name + strlen(group.name)) == wanted) selected = true;
        }
        if (!selected) continue;
        ++selectedGroups;
        std::printf("[%s]\n", group.name);
        group.run();
    }
    if (selectedGroups == 0) {
        std::printf("no such group\n");
        return 2;
    }
    if (bench::g_failures > 0) std::printf("%d measurement(s) FAILED\n", bench::g_failures);
    return bench::g_failures > 0 ? 1 : 0;
}

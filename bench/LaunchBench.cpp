// An ordinary start of Vantorel.exe until the stand-in game records its start,
// against the floor of any COM-using launcher (a program that starts COM,
// creates one object of Quillon.dll and starts the stand-in), and where the
// launcher's own time goes. Writes the launcher's settings of the current
// user and puts them back afterwards.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "Bench.h"
#include "LogFile.h"

namespace {

constexpr int kStarts = 10;

struct SavedValue {
    std::wstring key, name, data;
    bool existed;
};

class Settings {
public:
    void set(const std::wstring& key, const std::wstring& name, const std::wstring& data)
    {
        wchar_t old[1024] = {};
        DWORD size = sizeof(old);
        const bool existed =
            RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, old, &size) == 0;
        saved_.push_back({key, name, old, existed});
        RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, data.c_str(),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }
    ~Settings()
    {
        for (auto value = saved_.rbegin(); value != saved_.rend(); ++value) {
            if (value->existed)
                RegSetKeyValueW(HKEY_CURRENT_USER, value->key.c_str(), value->name.c_str(), REG_SZ,
                                value->data.c_str(), static_cast<DWORD>((value->data.size() + 1) * sizeof(wchar_t)));
            else
                RegDeleteKeyValueW(HKEY_CURRENT_USER, value->key.c_str(), value->name.c_str());
        }
    }

private:
    std::vector<SavedValue> saved_;
};

double now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Seconds from the start of the command line until `record` appears (or, without
// one, until the process ends); negative when it could not start or took over 30 s.
double timeStart(const std::wstring& commandLine, const std::wstring& record = {})
{
    if (!record.empty()) DeleteFileW(record.c_str());
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const double start = now();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    raii::UniqueHandle owner(process.hProcess), thread(process.hThread);
    double elapsed = -1;
    if (record.empty()) {
        if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) elapsed = now() - start;
    } else {
        while (!exists(record) && now() - start < 30) Sleep(1);
        if (exists(record)) elapsed = now() - start;
    }
    WaitForSingleObject(process.hProcess, 30000);
    Sleep(50); // let the started game end before the next start
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

// The median of kStarts timed starts, after one start that warms Wine's caches.
bench::Timing medianStart(const std::wstring& commandLine, const std::wstring& record = {})
{
    std::vector<double> times;
    timeStart(commandLine, record);
    for (int i = 0; i < kStarts; ++i) {
        const double seconds = timeStart(commandLine, record);
        if (seconds < 0) return {0, E_FAIL};
        times.push_back(seconds);
    }
    return {median(times) * 1e9, S_OK};
}

void line(const char* what, const bench::Timing& timing)
{
    if (timing.ok())
        std::printf("  %-50s %8.1f ms\n", what, timing.ns / 1e6);
    else
        bench::check(timing.hr, what);
    std::fflush(stdout);
}

bool prepare(const std::wstring& bin, const std::wstring& root, const std::wstring& game)
{
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW(game.c_str(), nullptr);
    bool ok = true;
    for (const wchar_t* file : {L"Vantorel.exe", L"Quillon.dll", L"ComFloor.exe"})
        ok = ok && CopyFileW((bin + file).c_str(), (root + file).c_str(), FALSE);
    ok = ok && CopyFileW((bin + L"StandInGame.exe").c_str(), (game + L"main.exe").c_str(), FALSE);
    for (const wchar_t* pilot : {L"Ace.plt", L"Bee.plt", L"Cat.plt"}) {
        raii::UniqueFile file(CreateFileW((game + pilot).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ok = ok && file;
    }
    return bench::check(ok ? S_OK : HRESULT_FROM_WIN32(GetLastError()), "preparing the launch folders");
}

// In-process costs of what the launcher does besides starting COM: its settings
// reads, its log writes, the pilot search and the game start through the library.
void breakdown(const std::wstring& root, const std::wstring& game, const std::wstring& record)
{
    auto registry = bench::createObject<_qfcLibRegistry>(CLSID_qfcLibRegistry, IID__qfcLibRegistry);
    auto files = bench::createObject<_qfcLibFiles>(CLSID_qfcLibFiles, IID__qfcLibFiles);
    auto windows = bench::createObject<_qfcLibWindows>(CLSID_qfcLibWindows, IID__qfcLibWindows);
    if (!registry || !files || !windows) return;
    // The values an ordinary start reads: the shared settings, the launch and culling values, the log number.
    const wchar_t* values[] = {L"ShowSplash", L"WinAnimate", L"AreaCode", L"NetworkPort", L"IsDLLDebugging",
                               L"UserName", L"UserCompany", L"UserEMail", L"ShowSplash", L"RunOnce", L"EXEPath",
                               L"Parameters", L"ClearTaunts", L"ClearLogos", L"RandomizePilot", L"Log", L"Log"};
    const auto settings = bench::nsPerCall(
        [&] {
            for (const wchar_t* value : values) {
                raii::UniqueBstr data;
                HRESULT hr = registry->KeyGet(raii::makeBstr(value).get(), raii::makeBstr(L"").get(),
                                              raii::makeBstr(L"").get(), qcApps, data.put());
                if (FAILED(hr)) return hr;
            }
            return S_OK;
        },
        50);
    line("settings: 17 KeyGet calls", settings);

    const std::wstring logPath = root + L"bench.log";
    const auto log = bench::nsPerCall(
        [&] {
            DeleteFileW(logPath.c_str());
            for (int i = 0; i < 12; ++i)
                if (!vantorel::appendLines(logPath, {L"    POST - Command Line: C:\\Games\\main.exe  -launched"}))
                    return E_FAIL;
            return S_OK;
        },
        50);
    line("log: 12 appended writes", log);

    const auto search = bench::nsPerCall(
        [&] {
            SAFEARRAY* list = SafeArrayCreateVector(VT_BSTR, 0, 0);
            LONG upper = -1;
            HRESULT hr = files->FileExtSearch(raii::makeBstr(game).get(), raii::makeBstr(L"plt").get(), &list,
                                              VARIANT_FALSE, &upper);
            raii::UniqueSafeArray owner(list);
            return SUCCEEDED(hr) && upper != 2 ? E_UNEXPECTED : hr;
        },
        200);
    line("pilot search: FileExtSearch of 3 pilots", search);

    const std::wstring standIn = L"\"" + game + L"main.exe\"";
    std::vector<double> viaLibrary, direct;
    for (int i = 0; i < kStarts; ++i) {
        DeleteFileW(record.c_str());
        const double start = now();
        const HRESULT hr = windows->ExecuteCommand(raii::makeBstr(standIn).get(), VARIANT_FALSE);
        if (FAILED(hr)) {
            line("game start: ExecuteCommand until the game records", {0, hr});
            return;
        }
        while (!exists(record) && now() - start < 30) Sleep(1);
        viaLibrary.push_back(now() - start);
        Sleep(50);
        direct.push_back(timeStart(standIn, record));
    }
    line("game start: ExecuteCommand until the game records", {median(viaLibrary) * 1e9, S_OK});
    line("game start: CreateProcess until the game records", {median(direct) * 1e9, S_OK});
}

void run()
{
    const std::wstring bin = bench::programFolder(), root = bench::tempFolder() + L"QuillonBench-launch\\",
                       game = root + L"game\\", record = game + L"standin-record.txt";
    if (!prepare(bin, root, game)) return;
    Settings settings;
    const std::wstring app = L"Software\\Brannock\\Apps\\Vantorel";
    settings.set(L"Software\\Brannock\\System", L"ShowSplash", L"0");
    settings.set(app, L"RunOnce", L"True");
    settings.set(app, L"EXEPath", game + L"main.exe");
    settings.set(app, L"Parameters", L"");
    settings.set(app, L"RandomizePilot", L"1");
    settings.set(app, L"ClearTaunts", L"0");
    settings.set(app, L"ClearLogos", L"0");

    const std::wstring floor = L"\"" + root + L"ComFloor.exe\"";
    const auto nothing = medianStart(floor);
    const auto comOnly = medianStart(floor + L" com");
    const auto standIn = medianStart(L"\"" + game + L"main.exe\"", record);
    const auto floorStart = medianStart(floor + L" com \"" + game + L"main.exe\"", record);
    const auto launcher = medianStart(L"\"" + root + L"Vantorel.exe\"", record);
    bench::report("launch: Vantorel.exe start until the game records vs COM floor", launcher, floorStart);
    std::printf("  medians of %d starts:\n", kStarts);
    line("do-nothing program, start to end", nothing);
    line("COM + one Quillon object, start to end", comOnly);
    line("stand-in game started directly, until it records", standIn);
    line("(b) COM + one object + stand-in, until it records", floorStart);
    line("(a) Vantorel.exe, until the game records", launcher);
    if (nothing.ok() && comOnly.ok()) line("COM start-up (COM program - do-nothing program)", {comOnly.ns - nothing.ns});
    if (launcher.ok() && floorStart.ok())
        line("the launcher's own time ((a) - (b))", {launcher.ns - floorStart.ns});
    std::printf("  in-process parts of the launcher's own time:\n");
    breakdown(root, game, record);
}

const bench::Group group("launch", &run);

} // namespace

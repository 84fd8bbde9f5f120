// Vantorel.exe started as a process with prepared registry values; each case
// checks the road its log shows and what it left in the registry. The runs are
// separate processes, so they use the real HKEY_CURRENT_USER of the test
// prefix and clean the maker's keys before and after.
#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "Splash.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kMakerKey = L"Software\\Brannock";
const std::wstring kAppKey = kMakerKey + L"\\Apps\\Vantorel";
const std::wstring kSystemKey = kMakerKey + L"\\System";
const std::wstring kUserKey = kMakerKey + L"\\User";
const std::wstring kStaleKey = kAppKey + L"\\Deeper";
const std::wstring kAppPaths = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\app paths\\";

const char kFirstRunLine[] = "POST - Insert Application Path Info A: -1";
const char kLaunchLine[] = "BEGIN Procedure - LaunchGame <@> ";
const char kOptionsLine[] = "POST - ExitOnComplete: True";
const char kResetLine[] = "POST - Command Parameter '/SETUP' Detected.  Restoring Registry Settings...: ";

// The log's lines without their indentation.
std::vector<std::string> readLog(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const std::string text = bytes.str();
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const size_t first = text.find_first_not_of(' ', start);
        lines.push_back(text.substr(std::min(first, end), end - std::min(first, end)));
    }
    return lines;
}

bool has(const std::vector<std::string>& lines, const std::string& start)
{
    for (const std::string& line : lines)
        if (line.compare(0, start.size(), start) == 0) return true;
    return false;
}

void setValue(const std::wstring& key, const std::wstring& name, const std::wstring& data)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, data.c_str(),
                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

std::wstring valueOf(HKEY root, const std::wstring& key, const std::wstring& name)
{
    std::wstring data;
    return readString(root, key, name, &data) ? data : L"<missing>";
}

struct Outcome {
    long exitCode;
    bool splash;
    std::vector<std::string> log;
};

class LauncherRun : public ::testing::Test {
protected:
    void SetUp() override { clean(); }
    void TearDown() override
    {
        clean();
        DeleteFileW(exe(L"AutoLoad").c_str());
    }

    static void clean()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kMakerKey.c_str());
        for (const wchar_t* name : {L"Vantorel", L"AutoLoad"}) {
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kAppPaths + name + L".exe").c_str());
            DeleteFileW((programFolder() + name + L".log").c_str());
        }
    }

    static std::wstring exe(const std::wstring& baseName) { return programFolder() + baseName + L".exe"; }

    static Outcome start(const std::wstring& arguments, const std::wstring& baseName = L"Vantorel")
    {
        // Answers the launcher's dialogs and notes its splash, so that no run waits on a window.
        std::atomic<bool> done{false}, splash{false};
        std::thread watcher([&] {
            for (; !done; Sleep(20)) {
                if (HWND box = FindWindowW(L"#32770", L"Vantorel")) PostMessageW(box, WM_COMMAND, IDOK, 0);
                if (FindWindowW(vantorel::kSplashWindowClass, nullptr)) splash = true;
            }
        });
        const long exitCode = runProcess(L"\"" + exe(baseName) + L"\"" + arguments, 30000);
        done = true;
        watcher.join();
        return {exitCode, splash, readLog(programFolder() + baseName + L".log")};
    }
};

} // namespace

TEST_F(LauncherRun, FirstRunOnAnEmptyRegistryRegistersThePathAndStoresTheSharedDefaults)
{
    const Outcome out = start(L"");
    EXPECT_NE(-2, out.exitCode) << "the run must never wait on a window";
    std::wstring folder = programFolder();
    folder.pop_back();
    EXPECT_EQ(folder + L"\\Vantorel.exe", valueOf(HKEY_LOCAL_MACHINE, kAppPaths + L"Vantorel.exe", L""));
    EXPECT_EQ(folder, valueOf(HKEY_LOCAL_MACHINE, kAppPaths + L"Vantorel.exe", L"Path"));

    ASSERT_GE(out.log.size(), 8u);
    EXPECT_EQ("Log Number: 0", out.log[1]);
    EXPECT_EQ("(Vantorel.Exe) - Build: 1.1.32 - Application Initiation. ", out.log[2].substr(0, 57));
    for (const char* line : {"BEGIN Application Initialization <@>", kFirstRunLine,
                             "POST - Insert Application Path Info B: -1", "POST - ExitOnComplete: False",
                             "(Vantorel.Exe) - Build: 1.1.32 - Application Termination. "})
        EXPECT_TRUE(has(out.log, line)) << line;
    EXPECT_EQ(L"1", valueOf(HKEY_CURRENT_USER, kAppKey, L"Log")) << "stopping the log counts the run";

    const struct {
        const std::wstring& key;
        const wchar_t* name;
        const wchar_t* data;
    } defaults[] = {
        {kSystemKey, L"ShowSplash", L"1"}, {kSystemKey, L"WinAnimate", L"1"}, {kSystemKey, L"NetworkPort", L"401"},
        {kSystemKey, L"IsDLLDebugging", L"False"}, {kUserKey, L"AreaCode", L""}, {kUserKey, L"UserName", L""},
        {kUserKey, L"UserCompany", L""}, {kUserKey, L"UserEMail", L""},
    };
    for (const auto& value : defaults) EXPECT_EQ(value.data, valueOf(HKEY_CURRENT_USER, value.key, value.name));
}

TEST_F(LauncherRun, EachStartTakesTheRoadItsSwitchesAndSettingsSelect)
{
    enum Road { kFirstRun, kLaunch, kOptions };
    const struct {
        const wchar_t* arguments;
        const wchar_t* runOnce;
        const wchar_t* showSplash;
        Road road;
        bool reset, splash;
    } cases[] = {
        {L"", L"False", L"0", kFirstRun, false, false},
        {L"", L"false", L"0", kLaunch, false, false},
        {L"", L"True", L"0", kLaunch, false, false},
        {L"", L"True", L"1", kLaunch, false, true},
        {L"", L"True", L" 1", kLaunch, false, false},
        {L"", L"True", L"01", kLaunch, false, false},
        {L"", L"True", L"True", kLaunch, false, false},
        // RunOnce goes with the application key: a reset start is a first run.
        {L" /SETUP", L"True", L"0", kFirstRun, true, false},
        {L" x-sEtUpx", L"True", L"0", kFirstRun, true, false},
        {L" /setup/OPTIONS", L"True", L"1", kOptions, true, false},
        {L" /options", L"True", L"0", kOptions, false, false},
        {L" /PROPERTIES", L"True", L"0", kOptions, false, false},
        {L" /OPTIONS ", L"True", L"0", kLaunch, false, false},
        {L" -OPTIONS", L"True", L"0", kLaunch, false, false},
        {L" OPTIONS", L"True", L"0", kLaunch, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "arguments '" << c.arguments << "' RunOnce '" << c.runOnce
                                          << "' ShowSplash '" << c.showSplash << "'");
        clean();
        setValue(kAppKey, L"RunOnce", c.runOnce);
        setValue(kAppKey, L"Log", L"41");
        setValue(kStaleKey, L"Stale", L"1");
        setValue(kSystemKey, L"ShowSplash", c.showSplash);
        const Outcome out = start(c.arguments);
        EXPECT_NE(-2, out.exitCode) << "the run must never wait on a window";
        // A first run hands over to the library's welcome dialog, whose outcome is not the launcher's.
        if (c.road != kFirstRun) {
            EXPECT_EQ(0, out.exitCode);
            EXPECT_TRUE(has(out.log, "END   Application Initialization <@>"));
        }
        ASSERT_GE(out.log.size(), 2u);
        EXPECT_EQ("Log Number: 41", out.log[1]);
        EXPECT_EQ(c.road == kFirstRun, has(out.log, kFirstRunLine));
        EXPECT_EQ(c.road == kFirstRun, keyExists(HKEY_LOCAL_MACHINE, kAppPaths + L"Vantorel.exe"));
        EXPECT_EQ(c.road == kLaunch, has(out.log, kLaunchLine));
        EXPECT_EQ(c.road == kOptions, has(out.log, kOptionsLine));
        EXPECT_EQ(c.reset, has(out.log, kResetLine));
        EXPECT_EQ(!c.reset, keyExists(HKEY_CURRENT_USER, kStaleKey)) << "the reset takes the sub-keys too";
        if (!c.reset) { EXPECT_EQ(L"42", valueOf(HKEY_CURRENT_USER, kAppKey, L"Log")); }
        EXPECT_EQ(c.splash, out.splash);
    }
}

TEST_F(LauncherRun, AnAutoloadProgramWritesNoApplicationPath)
{
    ASSERT_TRUE(CopyFileW(exe(L"Vantorel").c_str(), exe(L"AutoLoad").c_str(), FALSE));
    setValue(kSystemKey, L"ShowSplash", L"0");
    const Outcome out = start(L"", L"AutoLoad");
    EXPECT_NE(-2, out.exitCode);
    EXPECT_TRUE(has(out.log, "POST - ExitOnComplete: False")) << "still a first run";
    EXPECT_FALSE(has(out.log, "POST - Insert Application Path Info"));
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kAppPaths + L"AutoLoad.exe"));
}

// Vantorel.exe started as a process with prepared registry values; each test
// checks the log and the registry it leaves behind. These runs are separate
// processes, so they use the real HKEY_CURRENT_USER of the test prefix and
// clean the maker's keys before and after.
#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "Splash.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kMakerKey = L"Software\\Brannock";
const std::wstring kAppKey = L"Software\\Brannock\\Apps\\Vantorel";
const std::wstring kSystemKey = L"Software\\Brannock\\System";
const std::wstring kUserKey = L"Software\\Brannock\\User";
const std::wstring kAppPaths = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\app paths\\";

std::wstring binFolder()
{
    std::wstring folder = programFolder();
    return folder.substr(0, folder.size() - 1);
}

std::vector<std::string> readLines(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const std::string text = bytes.str();
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// Whether a line, after its indentation, begins with the text.
bool hasLineStarting(const std::vector<std::string>& lines, const std::string& start)
{
    for (const std::string& line : lines) {
        size_t text = line.find_first_not_of(' ');
        if (text != std::string::npos && line.compare(text, start.size(), start) == 0) return true;
    }
    return false;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
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

struct RunResult {
    long exitCode = 0;
    int messageBoxes = 0;
    std::wstring lastMessage;
    bool splashSeen = false;
};

// Answers the launcher's message boxes and notes whether its splash appeared,
// so that no run waits on a window.
class WindowWatcher {
public:
    WindowWatcher() : thread_([this] { watch(); }) {}
    ~WindowWatcher()
    {
        stop_ = true;
        thread_.join();
    }
    void collect(RunResult& result)
    {
        stop_ = true;
        thread_.join();
        thread_ = std::thread([] {});
        result.messageBoxes = boxes_;
        result.lastMessage = message_;
        result.splashSeen = splash_;
    }

private:
    void watch()
    {
        while (!stop_) {
            if (HWND box = FindWindowW(L"#32770", L"Vantorel")) {
                wchar_t text[512] = {};
                GetDlgItemTextW(box, 0xFFFF, text, ARRAYSIZE(text));
                message_ = text;
                ++boxes_;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                Sleep(300);
            }
            if (FindWindowW(vantorel::kSplashWindowClass, nullptr)) splash_ = true;
            Sleep(20);
        }
    }

    std::atomic<bool> stop_{false};
    int boxes_ = 0;
    std::wstring message_;
    bool splash_ = false;
    std::thread thread_;
};

class LauncherRun : public ::testing::Test {
protected:
    void SetUp() override { clean(); }
    void TearDown() override
    {
        clean();
        DeleteFileW(autoloadPath().c_str());
    }

    static void clean()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kMakerKey.c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kAppPaths + L"Vantorel.exe").c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kAppPaths + L"AutoLoad.exe").c_str());
        DeleteFileW(logPath(L"Vantorel").c_str());
        DeleteFileW(logPath(L"AutoLoad").c_str());
    }

    static std::wstring logPath(const std::wstring& baseName) { return programFolder() + baseName + L".log"; }
    static std::wstring autoloadPath() { return programFolder() + L"AutoLoad.exe"; }

    // An ordinary start without the splash: the launch road, nothing shown.
    static void prepareOrdinaryRun()
    {
        setValue(kAppKey, L"RunOnce", L"True");
        setValue(kSystemKey, L"ShowSplash", L"0");
    }

    static RunResult run(const std::wstring& arguments, const std::wstring& baseName = L"Vantorel")
    {
        RunResult result;
        WindowWatcher watcher;
        result.exitCode = runProcess(L"\"" + programFolder() + baseName + L".exe\"" + arguments, 30000);
        watcher.collect(result);
        return result;
    }

    static std::vector<std::string> log(const std::wstring& baseName = L"Vantorel") { return readLines(logPath(baseName)); }
};

} // namespace

TEST_F(LauncherRun, FirstRunOnAnEmptyRegistryRegistersTheApplicationPath)
{
    RunResult result = run(L"");
    ASSERT_NE(-2, result.exitCode) << "the run must never wait on a window";

    EXPECT_EQ(binFolder() + L"\\Vantorel.exe", valueOf(HKEY_LOCAL_MACHINE, kAppPaths + L"Vantorel.exe", L""));
    EXPECT_EQ(binFolder(), valueOf(HKEY_LOCAL_MACHINE, kAppPaths + L"Vantorel.exe", L"Path"));

    const auto lines = log();
    ASSERT_GE(lines.size(), 8u) << joined(lines);
    EXPECT_EQ("Log Number: 0", lines[1]);
    EXPECT_EQ(" (Vantorel.Exe) - Build: 1.1.32 - Application Initiation. ", lines[2].substr(0, 58)) << lines[2];
    EXPECT_TRUE(hasLineStarting(lines, "BEGIN Application Initialization <@>"));
    EXPECT_TRUE(hasLineStarting(lines, "INITIALIZATION - Command Line Parameters: ")) << joined(lines);
    EXPECT_TRUE(hasLineStarting(lines, "POST - Insert Application Path Info A: -1")) << joined(lines);
    EXPECT_TRUE(hasLineStarting(lines, "POST - Insert Application Path Info B: -1"));
    EXPECT_TRUE(hasLineStarting(lines, "POST - ExitOnComplete: False"));
    EXPECT_TRUE(hasLineStarting(lines, "(Vantorel.Exe) - Build: 1.1.32 - Application Termination. ")) << joined(lines);
    EXPECT_EQ(L"1", valueOf(HKEY_CURRENT_USER, kAppKey, L"Log")) << "stopping the log counts the run";
}

TEST_F(LauncherRun, OrdinaryRunTakesTheLaunchRoadAndCountsTheLog)
{
    prepareOrdinaryRun();
    setValue(kAppKey, L"Log", L"41");
    RunResult result = run(L"");
    EXPECT_EQ(0, result.exitCode);
    EXPECT_EQ(0, result.messageBoxes) << result.lastMessage;

    const auto lines = log();
    EXPECT_EQ("Log Number: 41", lines.at(1));
    EXPECT_TRUE(hasLineStarting(lines, "BEGIN Procedure - LaunchGame <@> ")) << joined(lines);
    EXPECT_TRUE(hasLineStarting(lines, "END   Application Initialization <@>"));
    EXPECT_FALSE(hasLineStarting(lines, "POST - Insert Application Path Info"));
    EXPECT_FALSE(hasLineStarting(lines, "BEGIN Procedure - Options:Form_Load"));
    EXPECT_EQ(L"42", valueOf(HKEY_CURRENT_USER, kAppKey, L"Log"));
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kAppPaths + L"Vantorel.exe"));
}

TEST_F(LauncherRun, TheSharedSettingsAreStoredWithTheirDefaultsOnAFreshMachine)
{
    setValue(kAppKey, L"RunOnce", L"True");
    RunResult result = run(L"");
    EXPECT_EQ(0, result.exitCode);

    const struct {
        const std::wstring& key;
        const wchar_t* name;
        const wchar_t* data;
    } stored[] = {
        {kSystemKey, L"ShowSplash", L"1"},  {kSystemKey, L"WinAnimate", L"1"},    {kSystemKey, L"NetworkPort", L"401"},
        {kSystemKey, L"IsDLLDebugging", L"False"}, {kUserKey, L"AreaCode", L""}, {kUserKey, L"UserName", L""},
        {kUserKey, L"UserCompany", L""},    {kUserKey, L"UserEMail", L""},
    };
    for (const auto& value : stored)
        EXPECT_EQ(value.data, valueOf(HKEY_CURRENT_USER, value.key, value.name)) << value.name;
}

TEST_F(LauncherRun, TheResetSwitchDeletesTheApplicationKeyBeforeTheSettingsAreRead)
{
    const wchar_t* switches[] = {L" /SETUP", L" x-sEtUpx"};
    for (const wchar_t* arguments : switches) {
        clean();
        prepareOrdinaryRun();
        setValue(kAppKey + L"\\Deeper", L"Stale", L"1");
        run(arguments);

        const auto lines = log();
        EXPECT_TRUE(hasLineStarting(lines,
                                    "POST - Command Parameter '/SETUP' Detected.  Restoring Registry Settings...: "))
            << joined(lines);
        EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kAppKey + L"\\Deeper")) << arguments;
        EXPECT_TRUE(hasLineStarting(lines, "POST - Insert Application Path Info A: "))
            << "RunOnce went with the key: a first run";
    }
}

TEST_F(LauncherRun, ResetFollowedByAnOptionsRequestResetsThenOpensTheOptions)
{
    prepareOrdinaryRun();
    setValue(kSystemKey, L"ShowSplash", L"1");
    setValue(kAppKey, L"EXEPath", L"C:\\Game\\main.exe");
    RunResult result = run(L" /setup/OPTIONS");
    EXPECT_EQ(0, result.exitCode);
    EXPECT_FALSE(result.splashSeen);

    const auto lines = log();
    EXPECT_TRUE(hasLineStarting(lines, "POST - Command Parameter '/SETUP' Detected."));
    EXPECT_TRUE(hasLineStarting(lines, "POST - ExitOnComplete: True")) << joined(lines);
    EXPECT_FALSE(hasLineStarting(lines, "BEGIN Procedure - LaunchGame"));
    EXPECT_FALSE(hasLineStarting(lines, "POST - Insert Application Path Info"));
    EXPECT_EQ(L"<missing>", valueOf(HKEY_CURRENT_USER, kAppKey, L"EXEPath"));
}

TEST_F(LauncherRun, OnlyAWholeWordAfterASlashRequestsTheOptions)
{
    const struct {
        const wchar_t* arguments;
        bool options;
    } cases[] = {
        {L" /options", true}, {L" /PROPERTIES", true}, {L" /OPTIONS ", false},
        {L" -OPTIONS", false}, {L" OPTIONS", false},
    };
    for (const auto& c : cases) {
        clean();
        prepareOrdinaryRun();
        EXPECT_EQ(0, run(c.arguments).exitCode) << c.arguments;
        const auto lines = log();
        EXPECT_EQ(c.options, hasLineStarting(lines, "POST - ExitOnComplete: True")) << c.arguments;
        EXPECT_EQ(!c.options, hasLineStarting(lines, "BEGIN Procedure - LaunchGame")) << c.arguments;
    }
}

TEST_F(LauncherRun, OnlyTheExactTextFalseMakesAFirstRun)
{
    const struct {
        const wchar_t* runOnce;
        bool firstRun;
    } cases[] = {{L"False", true}, {L"false", false}, {L"True", false}};
    for (const auto& c : cases) {
        clean();
        setValue(kSystemKey, L"ShowSplash", L"0");
        setValue(kAppKey, L"RunOnce", c.runOnce);
        RunResult result = run(L"");
        ASSERT_NE(-2, result.exitCode);
        const auto lines = log();
        EXPECT_EQ(c.firstRun, hasLineStarting(lines, "POST - Insert Application Path Info A: -1")) << c.runOnce;
        EXPECT_EQ(c.firstRun, hasLineStarting(lines, "POST - ExitOnComplete: False")) << c.runOnce;
        EXPECT_EQ(!c.firstRun, hasLineStarting(lines, "BEGIN Procedure - LaunchGame")) << c.runOnce;
    }
}

TEST_F(LauncherRun, OnlyTheExactTextOneShowsTheSplash)
{
    const struct {
        const wchar_t* showSplash;
        bool shown;
    } cases[] = {{L"1", true}, {L" 1", false}, {L"01", false}, {L"True", false}};
    for (const auto& c : cases) {
        clean();
        setValue(kAppKey, L"RunOnce", L"True");
        setValue(kSystemKey, L"ShowSplash", c.showSplash);
        RunResult result = run(L"");
        EXPECT_EQ(0, result.exitCode) << c.showSplash;
        EXPECT_EQ(c.shown, result.splashSeen) << c.showSplash;
        EXPECT_TRUE(hasLineStarting(log(), "BEGIN Procedure - LaunchGame")) << "the splash never holds up the launch";
    }
}

TEST_F(LauncherRun, AnAutoloadProgramWritesNoApplicationPath)
{
    ASSERT_TRUE(CopyFileW((programFolder() + L"Vantorel.exe").c_str(), autoloadPath().c_str(), FALSE));
    setValue(kSystemKey, L"ShowSplash", L"0");
    RunResult result = run(L"", L"AutoLoad");
    ASSERT_NE(-2, result.exitCode);

    const auto lines = log(L"AutoLoad");
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(hasLineStarting(lines, "POST - ExitOnComplete: False")) << "still a first run" << joined(lines);
    EXPECT_FALSE(hasLineStarting(lines, "POST - Insert Application Path Info"));
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kAppPaths + L"AutoLoad.exe"));
}

TEST(LauncherManifest, DeclaresEveryLibraryClassAndTheTypeLibrary)
{
    raii::UniqueModule program(LoadLibraryExW((programFolder() + L"Vantorel.exe").c_str(), nullptr,
                                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(program);
    HRSRC resource = FindResourceW(program.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(nullptr, resource);
    const char* data = static_cast<const char*>(LockResource(LoadResource(program.get(), resource)));
    const std::string manifest(data, SizeofResource(program.get(), resource));

    const struct {
        const CLSID& clsid;
        const char* name;
    } classes[] = {
        {CLSID_qfcLibCore, "qfcLibCore"},       {CLSID_qfcLibFiles, "qfcLibFiles"},
        {CLSID_qfcLibForms, "qfcLibForms"},     {CLSID_qfcLibNetwork, "qfcLibNetwork"},
        {CLSID_qfcLibRegistry, "qfcLibRegistry"}, {CLSID_qfcLibStrings, "qfcLibStrings"},
        {CLSID_qfcLibWindows, "qfcLibWindows"},
    };
    auto text = [](REFGUID guid) {
        wchar_t wide[40] = {};
        StringFromGUID2(guid, wide, 40);
        return std::string(wide, wide + wcslen(wide));
    };
    const std::string tlbid = "tlbid=\"" + text(LIBID_Quillon) + "\"";
    for (const auto& c : classes) {
        const std::string entry = "<comClass clsid=\"" + text(c.clsid) + "\" progid=\"Quillon." + c.name +
                                  "\" threadingModel=\"Apartment\" " + tlbid + "/>";
        EXPECT_NE(std::string::npos, manifest.find(entry)) << entry;
    }
    EXPECT_NE(std::string::npos, manifest.find("<file name=\"Quillon.dll\">"));
    EXPECT_NE(std::string::npos, manifest.find("<typelib " + tlbid + " version=\"1.0\" helpdir=\"\"/>"));
}

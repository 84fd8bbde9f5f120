// Vantorel.exe started as a process with prepared registry values; each case
// checks the road its log shows, its windows and what it left in the registry.
// The program runs in a prefix of its own where Quillon was never registered,
// so every run also proves the registration-free start.
#include "GameFolders.h"
#include "LauncherInstall.h"
#include "Splash.h"
#include "TestSupport.h"

using namespace testing_support;
using namespace launch_testing;

namespace {

const std::wstring kStaleKey = kAppKey + L"\\Deeper";
const std::wstring kAppPaths = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\app paths\\";
const std::wstring kRegistryClass = L"CLSID\\" + guidText(CLSID_qfcLibRegistry);

const char kFirstRunLine[] = "POST - Insert Application Path Info A: -1";
const char kLaunchLine[] = "BEGIN Procedure - LaunchGame <@> ";
const char kOptionsLine[] = "BEGIN Procedure - Options:Form_Load";
const char kResetLine[] = "POST - Command Parameter '/SETUP' Detected.  Restoring Registry Settings...: ";

class LauncherRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ownPrefix()) << "these runs change the launcher's shared keys: run them through ctest";
        ASSERT_FALSE(keyExists(HKEY_CLASSES_ROOT, kRegistryClass)) << "the library must not be registered here";
        resetLauncherRegistry();
    }
};

} // namespace

TEST_F(LauncherRun, FirstRunOnAnEmptyRegistryRegistersThePathAndStoresTheSharedDefaults)
{
    const LauncherInstall install(L"FirstRun");
    const auto out = install.run();
    EXPECT_EQ(0, out.exitCode);
    EXPECT_TRUE(out.saw(kWelcomeWindowClass)) << "the welcome dialog, closed by its close box";
    EXPECT_TRUE(out.boxText().empty()) << "no error box: " << testing::PrintToString(out.boxText());
    EXPECT_EQ(install.exePath(), valueOf(kAppPaths + L"Vantorel.exe", L"", HKEY_LOCAL_MACHINE));
    EXPECT_EQ(install.folder(), valueOf(kAppPaths + L"Vantorel.exe", L"Path", HKEY_LOCAL_MACHINE));

    ASSERT_GE(out.log.size(), 8u);
    EXPECT_EQ("Log Number: 0", out.log[1]);
    EXPECT_EQ("(Vantorel.Exe) - Build: 1.1.32 - Application Initiation. ", out.log[2].substr(0, 57));
    for (const char* line : {"BEGIN Application Initialization <@>", kFirstRunLine,
                             "POST - Insert Application Path Info B: -1", kOptionsLine,
                             "(Vantorel.Exe) - Build: 1.1.32 - Application Termination. "})
        EXPECT_TRUE(out.logHas(line)) << line;
    EXPECT_EQ(L"1", valueOf(kAppKey, L"Log")) << "stopping the log counts the run";

    // The shared defaults are written (two of them stand for the table).
    EXPECT_EQ(L"401", valueOf(kSystemKey, L"NetworkPort"));
    EXPECT_EQ(L"", valueOf(kUserKey, L"UserEMail"));
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
        {L"", L"True", L"0", kLaunch, false, false},
        {L"", L"True", L"1", kLaunch, false, true},
        {L"", L"True", L"True", kLaunch, false, true}, // as the options dialog reads it
        // RunOnce goes with the application key: a reset start is a first run.
        {L" /SETUP", L"True", L"0", kFirstRun, true, false},
        {L" /setup/OPTIONS", L"True", L"1", kOptions, true, false},
        {L" /PROPERTIES", L"True", L"0", kOptions, false, false},
    };
    const LauncherInstall install(L"Roads");
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "arguments '" << c.arguments << "' RunOnce '" << c.runOnce
                                          << "' ShowSplash '" << c.showSplash << "'");
        resetLauncherRegistry();
        setValue(kAppKey, L"RunOnce", c.runOnce);
        setValue(kAppKey, L"Log", L"41");
        setValue(kStaleKey, L"Stale", L"1");
        setValue(kSystemKey, L"ShowSplash", c.showSplash);
        const auto out = install.run(c.arguments);
        EXPECT_EQ(0, out.exitCode);
        EXPECT_TRUE(out.logHas("END   Application Initialization <@>"));
        EXPECT_EQ(c.road == kFirstRun, out.saw(kWelcomeWindowClass)) << "a first run shows the welcome dialog";
        ASSERT_GE(out.log.size(), 2u);
        EXPECT_EQ("Log Number: 41", out.log[1]);
        EXPECT_EQ(c.road == kFirstRun, out.logHas(kFirstRunLine));
        EXPECT_EQ(c.road == kFirstRun, keyExists(HKEY_LOCAL_MACHINE, kAppPaths + L"Vantorel.exe"));
        EXPECT_EQ(c.road == kLaunch, out.logHas(kLaunchLine));
        // No game path is set, so the launch road also ends in the options dialog.
        EXPECT_TRUE(out.logHas(kOptionsLine));
        EXPECT_EQ(c.reset, out.logHas(kResetLine));
        EXPECT_EQ(!c.reset, keyExists(HKEY_CURRENT_USER, kStaleKey)) << "the reset takes the sub-keys too";
        if (!c.reset) { EXPECT_EQ(L"42", valueOf(kAppKey, L"Log")); }
        EXPECT_EQ(c.splash, out.saw(vantorel::kSplashWindowClass));
    }
}

TEST_F(LauncherRun, AnAutoloadProgramWritesNoApplicationPath)
{
    const LauncherInstall install(L"AutoLoad", L"AutoLoad");
    setValue(kSystemKey, L"ShowSplash", L"0");
    const auto out = install.run();
    EXPECT_NE(-2, out.exitCode);
    EXPECT_TRUE(out.logHas(kOptionsLine)) << "still a first run";
    EXPECT_FALSE(out.logHas("POST - Insert Application Path Info"));
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kAppPaths + L"AutoLoad.exe"));
}

TEST_F(LauncherRun, WithoutAWorkingLibraryTheBoxAndTheLogSayWhichFileFailedAndThatReinstallingHelps)
{
    const struct {
        const wchar_t* name;
        bool withLibrary;
        const char* damage; // bytes written over the copied library
        const wchar_t* says;
    } cases[] = {
        {L"NoLibrary", false, nullptr, L"missing"},
        {L"BrokenLibrary", true, "not a library", L"could not be loaded"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name);
        const LauncherInstall install(c.name, L"Vantorel", c.withLibrary);
        if (c.damage) {
            raii::UniqueFile file(CreateFileW((install.folder() + L"\\Quillon.dll").c_str(), GENERIC_WRITE, 0,
                                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            ASSERT_TRUE(WriteFile(file.get(), c.damage, DWORD(strlen(c.damage)), &written, nullptr));
        }
        const auto out = install.run();
        EXPECT_EQ(1, out.exitCode);
        const std::wstring box = out.boxText();
        for (const wchar_t* words : {L"Quillon.dll", c.says, L"qfcLibCore", L"reinstall"})
            EXPECT_NE(std::wstring::npos, box.find(words)) << "box: " << testing::PrintToString(box);
        const std::string logged(box.begin(), box.end());
        EXPECT_TRUE(out.logHas("POST - Error 0x")) << "the log keeps the error";
        bool sameText = false;
        for (const std::string& line : out.log) sameText = sameText || line.find(logged) != std::string::npos;
        EXPECT_TRUE(sameText) << "the log says what the box says";
        EXPECT_TRUE(out.logHas("(Vantorel.Exe) - Build: 1.1.32 - Application Termination. "));
    }
}

// A read-me of 200 MB (a megabyte of text, then a sparse rest) opens about as
// fast as a small one: only its beginning is shown, with a line that says so.
TEST_F(LauncherRun, AHugeReadmeShowsItsBeginningAndTheWelcomeWindowAnswers)
{
    const LauncherInstall install(L"HugeReadme");
    setValue(kSystemKey, L"ShowSplash", L"0");
    {
        raii::UniqueFile readme(CreateFileW((install.folder() + L"\\readme.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        std::string lines;
        while (lines.size() < 1100000) lines += "Vantorel starts the game with your pilot.\r\n";
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(readme.get(), lines.data(), DWORD(lines.size()), &written, nullptr));
        LARGE_INTEGER size{};
        size.QuadPart = 200LL << 20;
        ASSERT_TRUE(SetFilePointerEx(readme.get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(readme.get()));
    }
    bool answered = false;
    std::wstring ending;
    const RunOutcome out = install.run(L"", [&](const SeenWindow& window) {
        if (window.className != kWelcomeWindowClass || answered) return closeDialogs(window);
        DWORD_PTR length = 0;
        answered = SendMessageTimeoutW(window.handle, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &length) != 0;
        HWND text = FindWindowExW(window.handle, nullptr, L"Edit", nullptr);
        SendMessageTimeoutW(text, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
        std::wstring shown(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(text, WM_GETTEXT, shown.size(), reinterpret_cast<LPARAM>(shown.data()), SMTO_ABORTIFHUNG,
                            2000, &copied);
        ending = shown.substr(0, copied).substr(copied > 100 ? copied - 100 : 0);
        closeDialogs(window);
    }, 20000);
    EXPECT_EQ(0, out.exitCode) << "-2: still reading after 20 s";
    EXPECT_TRUE(answered) << "the welcome window answers";
    EXPECT_NE(std::wstring::npos, ending.find(L"only its first 256 KB are shown")) << narrow(ending);
}

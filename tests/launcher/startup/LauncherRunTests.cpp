// Vantorel.exe started with prepared registry values: the road its log shows, its windows and what it left in
// the registry. Quillon is never registered in this program's prefix, so every run proves the registration-free
// start.
#include <fstream>

#include "LauncherInstall.h"
#include "Splash.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kStaleKey = kAppKeyPath + L"\\Deeper";
const std::wstring kAppPath = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\app paths\\Vantorel.exe";
const char kFirstRunLine[] = "POST - Insert Application Path Info A: -1";
const char kOptionsLine[] = "BEGIN Procedure - Options:Form_Load";
const char kEndLine[] = "(Vantorel.Exe) - Build: 1.1.32 - Application Termination. ";

using LauncherRun = LauncherRunTest;

} // namespace

TEST_F(LauncherRun, EachStartTakesTheRoadItsSwitchesAndSettingsSelect)
{
    enum Road { kFirstRun, kLaunch, kOptions };
    const struct {
        const wchar_t* arguments;
        const wchar_t* runOnce; // nullptr: an empty registry
        const wchar_t* showSplash;
        Road road;
        bool reset, splash;
    } cases[] = {
        {L"", nullptr, L"", kFirstRun, false, true},
        {L"", L"True", L"0", kLaunch, false, false},
        // RunOnce goes with the application key: a reset start is a first run.
        {L" /SETUP", L"True", L"0", kFirstRun, true, false},
        {L" /setup/OPTIONS", L"True", L"1", kOptions, true, false},
        {L" /PROPERTIES", L"True", L"0", kOptions, false, false},
    };
    const LauncherInstall install(L"Roads");
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - cases);
        resetLauncherRegistry();
        if (c.runOnce) {
            setText(kAppKeyPath, L"RunOnce", c.runOnce);
            setText(kAppKeyPath, L"Log", L"41");
            setText(kStaleKey, L"Stale", L"1");
            setText(kSystemKeyPath, L"ShowSplash", c.showSplash);
        }
        const auto out = install.run(c.arguments);
        EXPECT_EQ(0, out.exitCode);
        EXPECT_EQ(L"", out.boxText());
        EXPECT_TRUE(out.logHas(kEndLine)) << "the log is closed";
        ASSERT_GE(out.log.size(), 2u);
        EXPECT_EQ(c.runOnce ? "Log Number: 41" : "Log Number: 0", out.log[1]);
        EXPECT_EQ(c.runOnce && !c.reset ? L"42" : L"1", storedText(HKEY_CURRENT_USER, kAppKeyPath, L"Log")) << "runs are counted";
        EXPECT_EQ(c.road == kFirstRun, out.saw(kWelcomeWindowClass)) << "a first run shows the welcome dialog";
        EXPECT_EQ(c.road == kFirstRun, out.logHas(kFirstRunLine));
        EXPECT_EQ(c.road == kFirstRun ? install.exePath() : L"<missing>", storedText(HKEY_LOCAL_MACHINE, kAppPath));
        EXPECT_EQ(c.road == kFirstRun ? install.folder() : L"<missing>",
                  storedText(HKEY_LOCAL_MACHINE, kAppPath, L"Path"));
        EXPECT_EQ(c.road == kLaunch, out.logHas("BEGIN Procedure - LaunchGame <@> "));
        // No game path is set, so the launch road also ends in the options dialog.
        EXPECT_TRUE(out.logHas(kOptionsLine));
        EXPECT_EQ(c.reset, out.logHas("POST - Command Parameter '/SETUP' Detected.  Restoring Registry Settings...: "));
        EXPECT_EQ(c.runOnce && !c.reset, keyExists(HKEY_CURRENT_USER, kStaleKey)) << "the reset takes sub-keys too";
        EXPECT_EQ(c.splash, out.saw(vantorel::kSplashWindowClass));
        EXPECT_EQ(L"401", storedText(HKEY_CURRENT_USER, kSystemKeyPath, L"NetworkPort")) << "the shared defaults";
    }
}

TEST_F(LauncherRun, WithoutAWorkingLibraryTheBoxAndTheLogSayWhichFileFailedAndThatReinstallingHelps)
{
    const struct {
        const wchar_t* name;
        bool withLibrary;
        const wchar_t* says;
    } cases[] = {{L"NoLibrary", false, L"missing"}, {L"BrokenLibrary", true, L"could not be loaded"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name);
        const LauncherInstall install(c.name, c.withLibrary);
        if (c.withLibrary) std::ofstream((install.folder() + L"\\Quillon.dll").c_str()) << "not a library";
        const auto out = install.run();
        EXPECT_EQ(1, out.exitCode);
        const std::wstring box = out.boxText();
        for (const wchar_t* words : {L"Quillon.dll", c.says, L"qfcLibCore", L"reinstall"})
            EXPECT_NE(std::wstring::npos, box.find(words)) << "box: " << testing::PrintToString(box);
        EXPECT_NE(std::string::npos, out.logLine("POST - Error 0x").find(std::string(box.begin(), box.end())))
            << "the log says what the box says";
        EXPECT_TRUE(out.logHas(kEndLine));
    }
}

// A read-me of 200 MB (a megabyte of text, then a sparse rest) opens about as fast as a small one: only its
// beginning is shown, with a line that says so.
TEST_F(LauncherRun, AHugeReadmeShowsItsBeginningAndTheWelcomeWindowAnswers)
{
    const LauncherInstall install(L"HugeReadme");
    setText(kSystemKeyPath, L"ShowSplash", L"0");
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
    std::wstring shown(300000, L'\0');
    const RunOutcome out = install.run(L"", [&](const SeenWindow& window) {
        // Answers within 2 s, whatever the file's size.
        DWORD_PTR copied = 0;
        if (window.className == kWelcomeWindowClass && shown[0] == L'\0')
            SendMessageTimeoutW(FindWindowExW(window.handle, nullptr, L"Edit", nullptr), WM_GETTEXT, shown.size(),
                                reinterpret_cast<LPARAM>(shown.data()), SMTO_ABORTIFHUNG, 2000, &copied);
        closeDialogs(window);
    }, 20000);
    shown.resize(wcslen(shown.c_str()));
    EXPECT_EQ(0, out.exitCode) << "-2: still reading after 20 s";
    EXPECT_NE(std::wstring::npos, shown.find(L"only its first 256 KB are shown", shown.size() - 100))
        << testing::PrintToString(shown.substr(shown.size() - std::min<size_t>(shown.size(), 100)));
}

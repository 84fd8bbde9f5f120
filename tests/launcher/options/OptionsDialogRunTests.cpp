// The options dialog of a running Vantorel.exe, driven as a user would; the registry and the log are read
// afterwards. Checks inside a scenario run on the thread that plays the user: a failed one must not skip the
// click that closes the dialog.
#include <algorithm>
#include <atomic>
#include <functional>

#include "GameFolders.h"
#include "OptionsDriver.h"
#include "Splash.h"
#include "TestSupport.h"

using namespace testing_support;
using namespace options_testing;

namespace {

using Scenario = std::function<void(const Dialog&)>;
using Names = std::vector<std::wstring>;

std::wstring stored(const std::wstring& key, const wchar_t* name)
{
    return storedText(HKEY_CURRENT_USER, key, name);
}

// Runs the launcher; the scenario plays the user once the dialog has loaded, and must close it. Message boxes
// are answered with OK; the common dialogs are left to the scenario.
RunOutcome runWithDialog(const LauncherInstall& install, const std::wstring& arguments, const Scenario& scenario)
{
    std::atomic<bool> played{false};
    return install.run(arguments, [&](const SeenWindow& window) {
        if (window.title == kOptionsCaption && !played.exchange(true)) {
            const Dialog dialog(window.handle);
            EXPECT_TRUE(dialog.loaded());
            scenario(dialog);
        } else if (window.className == kWelcomeWindowClass ||
                   (window.className == L"#32770" && window.title.find(L"Choose") != 0 &&
                    window.title != L"Locate MAIN.EXE")) {
            closeDialogs(window);
        }
    });
}

// The logo shows the about screen when it can, and only logs when a broken registration sends its class elsewhere.
void expectAboutScreenOrALogLine(const Dialog& d)
{
    const wchar_t treatAs[] = L"Software\\Classes\\CLSID\\{7D8BB1B2-B914-46A2-80EB-46B16062EFA3}\\TreatAs";
    const wchar_t missingClass[] = L"{7D8BB1B2-B914-46A2-80EB-000000000000}";
    d.clickLater(kLogo);
    HWND about = nullptr;
    waitFor([&] { return (about = FindWindowW(kSplashWindowClass, nullptr)) != nullptr; }, 5000);
    // Shown as the about screen (active, until clicked), not as the start-up splash that closes itself.
    EXPECT_TRUE(about && waitFor([&] { return GetForegroundWindow() == about; }, 5000));
    if (about) PostMessageW(about, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(waitFor([&] { return !FindWindowW(kSplashWindowClass, nullptr); }, 5000));

    RegSetKeyValueW(HKEY_LOCAL_MACHINE, treatAs, nullptr, REG_SZ, missingClass, sizeof(missingClass));
    d.click(kLogo);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, treatAs);
    EXPECT_FALSE(FindWindowW(kSplashWindowClass, nullptr));
    EXPECT_TRUE(d.open());
}

class OptionsRun : public LauncherRunTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(LauncherRunTest::SetUp());
        setText(kSystemKeyPath, L"ShowSplash", L"0");
        setText(kSystemKeyPath, L"WinAnimate", L"0");
    }
};

} // namespace

TEST_F(OptionsRun, OpensCleanApplyStoresEverythingCancelNothingMoreAndTheLogoShowsAbout)
{
    const LauncherInstall install(L"Apply");
    const RunOutcome out = runWithDialog(install, L" /OPTIONS", [&](const Dialog& d) {
        EXPECT_TRUE(d.ticked(kChkRandomize));
        EXPECT_FALSE(d.ticked(kChkClearTaunts) || d.ticked(kChkClearLogos));
        EXPECT_FALSE(d.enabled(kLstTaunts) || d.enabled(kLstLogos) || d.enabled(kCmdKeepTaunts) ||
                     d.enabled(kCmdKeepLogos));
        EXPECT_FALSE(d.enabled(kCmdApply)) << "a freshly opened dialog is clean";
        EXPECT_EQ(L"", d.text(kTxtMainExe) + d.text(kTxtParameters));
        const int ownControl[3] = {kChkRandomize, kSysCheckBox0, kUserBox1};
        for (int tab : {2, 1, 0}) {
            d.showTab(tab);
            for (int other = 0; other < 3; ++other)
                EXPECT_EQ(tab == other, IsWindowVisible(d.item(ownControl[other])) != FALSE) << tab << " " << other;
        }

        d.select(kLstParameters, 2);
        d.notify(kLstParameters, LBN_SELCHANGE);
        EXPECT_EQ(L"Disables music.", d.text(kTxtDescription)) << "a selected switch shows its description";
        d.select(kLstParameters, 0);
        d.notify(kLstParameters, LBN_DBLCLK);
        EXPECT_EQ(L"-nointro ", d.text(kTxtParameters));
        EXPECT_TRUE(d.enabled(kCmdApply));
        send(d.window(), WM_CLOSE);
        send(d.window(), WM_SYSCOMMAND, SC_CLOSE);
        EXPECT_TRUE(d.open()) << "the close box is refused";

        d.type(kTxtMainExe, L"C:\\Games\\D3\\main.exe");
        d.type(kTxtParameters, L"-nomusic");
        d.click(kChkClearLogos);
        d.showTab(1);
        d.click(kSysCheckBox0);
        d.click(kSysCheckBox2);
        d.type(kSysBox1, L" 80 ");
        d.showTab(2);
        d.type(kUserBox1, L"  Ada Byron ");
        d.type(kUserBox2, L"Analytical");
        d.type(kUserBox3, L"ada@example.org");
        d.type(kSysBox0, L"555");
        d.click(kCmdApply);
        EXPECT_FALSE(d.enabled(kCmdApply));
        EXPECT_TRUE(d.open());
        EXPECT_EQ(L"C:\\Games\\D3\\main.exe", stored(kAppKeyPath, L"EXEPath")) << "Apply stores at once";
        d.click(kChkRandomize);
        EXPECT_TRUE(d.enabled(kCmdApply)) << "Randomize Pilot marks the dialog dirty like every other box";
        expectAboutScreenOrALogLine(d);
        d.click(kCmdCancel);
    });
    EXPECT_EQ(0, out.exitCode);
    const struct {
        const std::wstring& key;
        const wchar_t* name;
        const wchar_t* data;
    } values[] = {
        {kAppKeyPath, L"RandomizePilot", L"1"}, {kAppKeyPath, L"EXEPath", L"C:\\Games\\D3\\main.exe"},
        {kAppKeyPath, L"Parameters", L"-nomusic"}, {kAppKeyPath, L"ClearTaunts", L"0"},
        {kAppKeyPath, L"ClearLogos", L"1"}, {kSystemKeyPath, L"ShowSplash", L"1"},
        {kSystemKeyPath, L"IsDLLDebugging", L"1"}, {kSystemKeyPath, L"NetworkPort", L" 80 "},
        {kUserKeyPath, L"UserName", L"Ada Byron"}, {kUserKeyPath, L"UserCompany", L"Analytical"},
        {kUserKeyPath, L"UserEMail", L"ada@example.org"}, {kUserKeyPath, L"AreaCode", L"555"},
    };
    for (const auto& value : values) EXPECT_EQ(value.data, stored(value.key, value.name)) << value.name;
    EXPECT_EQ(1, std::count_if(out.log.begin(), out.log.end(), [](const std::string& line) {
                  return line.rfind("BEGIN Procedure - Options:SetSysINI", 0) == 0;
              })) << "one confirmation, the one of Apply";
    EXPECT_TRUE(out.logHas("POST - Command Selected: A&pply"));
    EXPECT_TRUE(out.logHas("POST - Command Selected: &Cancel"));
    EXPECT_TRUE(out.logHas("POST - Splash Screen Unavailable: "));
}

// A second start brings the dialog forward, changes nothing and ends; a killed launcher leaves nothing that blocks
// the next one.
TEST_F(OptionsRun, ASecondStartBringsTheOpenDialogForwardAndAKilledOneBlocksNothing)
{
    const LauncherInstall install(L"Second");
    const RunOutcome killed = runWithDialog(install, L" /OPTIONS", [&](const Dialog& d) {
        EXPECT_TRUE(waitFor([&] {
            return fileBytes(install.logPath()).find("END   Application Initialization") != std::string::npos;
        }));
        // Another program's window comes first, as the player's desktop would have.
        raii::ProcessInfo other;
        EXPECT_TRUE(startProcess(L"notepad.exe", other));
        EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() && GetForegroundWindow() != d.window(); }, 10000));
        const std::vector<std::wstring> registry = registryLines(HKEY_CURRENT_USER, L"Software\\Brannock");
        const std::string log = fileBytes(install.logPath());
        EXPECT_EQ(0, runProcess(L"\"" + install.exePath() + L"\"", 20000));
        EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == d.window(); }, 5000)) << "the dialog comes forward";
        TerminateProcess(other.get().hProcess, 0);
        EXPECT_EQ(registry, registryLines(HKEY_CURRENT_USER, L"Software\\Brannock"));
        EXPECT_EQ(log, fileBytes(install.logPath()));
        DWORD id = 0;
        GetWindowThreadProcessId(d.window(), &id);
        raii::UniqueHandle launcher(OpenProcess(PROCESS_TERMINATE, FALSE, id));
        EXPECT_TRUE(TerminateProcess(launcher.get(), 9));
    });
    EXPECT_EQ(9, killed.exitCode);
    const RunOutcome next = runWithDialog(install, L" /OPTIONS", [](const Dialog& d) { d.click(kCmdCancel); });
    EXPECT_EQ(0, next.exitCode);
    EXPECT_TRUE(next.logHas("BEGIN Procedure - Options:Form_Load"));
}

// Browse takes main.exe in any letter case and ignores other programs; OK stores and ends an explicit options run.
TEST_F(OptionsRun, KeepListsBrowseAndOkWhichEndsAnExplicitOptionsRun)
{
    const LauncherInstall install(L"Keep");
    const std::wstring game = install.folder() + L"\\game\\", upper = install.folder() + L"\\UPPER\\MAIN.EXE";
    for (const std::wstring& file : {upper, game + L"setup.exe", game + L"custom\\graphics\\Chosen Logo.ogf"})
        launch_testing::writeFile(file, "");
    setText(kAppKeyPath, L"EXEPath", game + L"main.exe");
    setText(kAppKeyPath, L"ClearLogos", L"True");
    setText(kAppKeyPath, L"KeepLogos", L"a.ogf|b.ogf");
    setText(kAppKeyPath, L"KeepTaunts", L"x.osf||y.osf");
    const RunOutcome explicitRun = runWithDialog(install, L" /OPTIONS", [&](const Dialog& d) {
        EXPECT_TRUE(d.ticked(kChkClearLogos) && d.enabled(kLstLogos) && d.enabled(kCmdKeepLogos));
        EXPECT_FALSE(d.enabled(kLstTaunts) || d.enabled(kCmdKeepTaunts));
        EXPECT_EQ((Names{L"x.osf", L"", L"y.osf"}), d.entries(kLstTaunts));
        d.clickLater(kCmdKeepLogos);
        EXPECT_TRUE(answerFileDialog(L"Choose Logos To Save", L"Chosen Logo.ogf")) << "the dialog is titled for logos";
        EXPECT_EQ((Names{L"a.ogf", L"b.ogf", L"Chosen Logo.ogf"}), d.entries(kLstLogos));
        EXPECT_FALSE(d.enabled(kCmdApply)) << "loading stored switches and adding through Select leave Apply alone";
        d.clickLater(kCmdKeepLogos);
        answerFileDialog(L"Choose Logos To Save", L"");
        EXPECT_EQ(3u, d.entries(kLstLogos).size()) << "cancelling changes nothing";
        d.select(kLstLogos, 0);
        d.key(kLstLogos, VK_DELETE);
        EXPECT_EQ((Names{L"b.ogf", L"Chosen Logo.ogf"}), d.entries(kLstLogos));
        EXPECT_TRUE(d.enabled(kCmdApply));
        for (const std::wstring& answer : {upper, game + L"setup.exe"}) {
            d.clickLater(kCmdMainExe);
            answerFileDialog(L"Locate MAIN.EXE", answer);
            EXPECT_EQ(0, lstrcmpiW(upper.c_str(), d.text(kTxtMainExe).c_str())) << "another program is ignored";
        }
        d.click(kCmdOK);
    });
    EXPECT_EQ(0, explicitRun.exitCode);
    EXPECT_EQ(L"b.ogf|Chosen Logo.ogf", stored(kAppKeyPath, L"KeepLogos"));
    EXPECT_EQ(L"x.osf||y.osf", stored(kAppKeyPath, L"KeepTaunts")) << "a disabled list is stored all the same";
}

// The options dialog of a running Vantorel.exe, driven as a user would
// (OptionsDriver.h); the registry and the log are read afterwards.
#include <thread>

#include "GameFolders.h"
#include "OptionsDriver.h"
#include "Splash.h"

using namespace testing_support;
using namespace options_testing;
using launch_testing::setValue;
using launch_testing::valueOf;

namespace {

const std::wstring& kAppKeyPath = launch_testing::kAppKey;
const std::wstring& kSystemKeyPath = launch_testing::kSystemKey;
const std::wstring& kUserKeyPath = launch_testing::kUserKey;

class OptionsRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ownPrefix()) << "these runs change the launcher's shared keys: run them through ctest";
        resetLauncherRegistry();
        setValue(kSystemKeyPath, L"ShowSplash", L"0");
        setValue(kSystemKeyPath, L"WinAnimate", L"0");
    }
    void TearDown() override { resetLauncherRegistry(); }
};

// The posts of one confirmation's SetSysINI, in the order they are written.
std::vector<std::string> sysIniTrace(const RunOutcome& out)
{
    std::vector<std::string> trace;
    bool inside = false;
    for (const std::string& line : out.log) {
        if (line.rfind("BEGIN Procedure - Options:SetSysINI", 0) == 0) inside = true;
        if (!inside) continue;
        trace.push_back(line.substr(0, line.rfind("POST", 0) == 0 ? line.rfind(": ") : line.find(" <@>")));
        if (line.rfind("END   Procedure - Options:SetSysINI", 0) == 0) break;
    }
    return trace;
}

// Every key and value below a key, one "path\\name=data" line each.
std::wstring treeOf(const std::wstring& path)
{
    raii::UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {};
    std::wstring tree;
    wchar_t name[256];
    BYTE data[4096];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = ARRAYSIZE(name), dataSize = sizeof(data) - sizeof(wchar_t);
        ZeroMemory(data, sizeof(data));
        if (RegEnumValueW(key.get(), i, name, &nameSize, nullptr, nullptr, data, &dataSize) != ERROR_SUCCESS) break;
        tree += path + L"\\" + name + L"=" + reinterpret_cast<const wchar_t*>(data) + L"\n";
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = ARRAYSIZE(name);
        if (RegEnumKeyExW(key.get(), i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        tree += treeOf(path + L"\\" + name);
    }
    return tree;
}

// A window of this program on a thread of its own that keeps answering messages.
class OtherWindow {
public:
    OtherWindow()
    {
        thread_ = std::thread([this] {
            window_ = CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100, nullptr,
                                      nullptr, nullptr, nullptr);
            threadId_ = GetCurrentThreadId();
            created_ = true;
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                if (message.message == kToFront) SetForegroundWindow(window_);
                DispatchMessageW(&message);
            }
            DestroyWindow(window_);
        });
        while (!created_) Sleep(10);
    }
    ~OtherWindow()
    {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND handle() const { return window_; }
    // Made the foreground window by its own thread, as a program does.
    bool toFront() const
    {
        PostThreadMessageW(threadId_, kToFront, 0, 0);
        return waitFor([&] { return GetForegroundWindow() == window_; }, 5000);
    }

private:
    static constexpr UINT kToFront = WM_APP + 1;
    std::thread thread_;
    std::atomic<bool> created_{false};
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
};

} // namespace

// Checks run inside the scenarios, on the thread that plays the user; a failed
// check there must not skip the click that closes the dialog.
TEST_F(OptionsRun, OpensCleanWithTheDefaultsInKeyboardOrderAndRefusesTheCloseBox)
{
    const LauncherInstall install(L"Defaults");
    const RunOutcome out = runWithDialog(install, L" /OPTIONS", [&](const Dialog& d) {
        EXPECT_TRUE(d.ticked(kChkRandomize));
        EXPECT_FALSE(d.ticked(kChkClearTaunts) || d.ticked(kChkClearLogos));
        EXPECT_FALSE(d.enabled(kLstTaunts) || d.enabled(kLstLogos) || d.enabled(kCmdKeepTaunts) ||
                     d.enabled(kCmdKeepLogos));
        EXPECT_FALSE(d.enabled(kCmdApply)) << "a freshly opened dialog is clean";
        EXPECT_EQ(L"", d.text(kTxtMainExe) + d.text(kTxtParameters));
        const std::vector<std::wstring> catalogue = d.entries(kLstParameters);
        EXPECT_EQ(35u, catalogue.size());
        EXPECT_EQ(L"-httpproxy [ip:port]", catalogue.empty() ? L"" : catalogue.back());
        std::vector<int> keyboardOrder;
        for (HWND child = GetWindow(d.window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) keyboardOrder.push_back(GetDlgCtrlID(child));
        EXPECT_EQ((std::vector<int>{kUserBox1, kUserBox2, kUserBox3, kSysBox0, kSysCheckBox0, kSysCheckBox1,
                                    kSysCheckBox2, kSysBox1, kChkRandomize, kTxtMainExe, kCmdMainExe, kTxtParameters,
                                    kLstParameters, kChkClearTaunts, kLstTaunts, kCmdKeepTaunts, kChkClearLogos,
                                    kLstLogos, kCmdKeepLogos, kCmdOK, kCmdCancel, kCmdApply, kTabBox, kTxtDescription}),
                  keyboardOrder);

        send(d.item(kLstParameters), LB_SETCURSEL, 0);
        d.key(kLstParameters, VK_DOWN);
        d.key(kLstParameters, VK_DOWN);
        EXPECT_EQ(L"Disables music.", d.text(kTxtDescription)) << "arrow keys show the description";
        d.doubleClickFirstRow(kLstParameters);
        EXPECT_EQ(L"-nointro ", d.text(kTxtParameters));
        EXPECT_TRUE(d.enabled(kCmdApply));

        send(d.window(), WM_CLOSE);
        send(d.window(), WM_SYSCOMMAND, SC_CLOSE);
        EXPECT_TRUE(d.open()) << "the close box is refused";
        d.click(kCmdCancel);
    });
    EXPECT_EQ(0, out.exitCode);
    EXPECT_EQ(L"<missing>", valueOf(kAppKeyPath, L"RunOnce")) << "Cancel stores nothing";
    EXPECT_TRUE(out.logHas("POST - Command Selected: &Cancel"));
}

TEST_F(OptionsRun, ApplyStoresEverythingCancelKeepsItAndTheLogShowsOneConfirmation)
{
    const LauncherInstall install(L"Apply");
    const RunOutcome out = runWithDialog(install, L" /OPTIONS", [&](const Dialog& d) {
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
        EXPECT_TRUE(d.enabled(kCmdApply));
        d.click(kCmdApply);
        EXPECT_FALSE(d.enabled(kCmdApply));
        EXPECT_TRUE(d.open());
        EXPECT_EQ(L"C:\\Games\\D3\\main.exe", valueOf(kAppKeyPath, L"EXEPath")) << "Apply stores at once";
        d.type(kTxtParameters, L"-changed");
        d.click(kCmdCancel);
    });
    EXPECT_EQ(0, out.exitCode);
    const struct {
        const std::wstring& key;
        const wchar_t* name;
        const wchar_t* data;
    } stored[] = {
        {kAppKeyPath, L"RandomizePilot", L"1"}, {kAppKeyPath, L"EXEPath", L"C:\\Games\\D3\\main.exe"},
        {kAppKeyPath, L"Parameters", L"-nomusic"}, {kAppKeyPath, L"ClearTaunts", L"0"}, {kAppKeyPath, L"ClearLogos", L"1"},
        {kAppKeyPath, L"KeepTaunts", L""}, {kAppKeyPath, L"KeepLogos", L""}, {kAppKeyPath, L"RunOnce", L"True"},
        {kSystemKeyPath, L"ShowSplash", L"1"}, {kSystemKeyPath, L"WinAnimate", L"0"}, {kSystemKeyPath, L"IsDLLDebugging", L"1"},
        {kSystemKeyPath, L"NetworkPort", L" 80 "}, {kUserKeyPath, L"UserName", L"Ada Byron"},
        {kUserKeyPath, L"UserCompany", L"Analytical"}, {kUserKeyPath, L"UserEMail", L"ada@example.org"},
        {kUserKeyPath, L"AreaCode", L"555"},
    };
    for (const auto& value : stored) EXPECT_EQ(value.data, valueOf(value.key, value.name)) << value.name;

    const std::vector<std::string> trace = {
        "BEGIN Procedure - Options:SetSysINI", "POST - RegKey: ShowSplash", "POST - RegKey: WinAnimate",
        "POST - RegKey: IsDLLDebugging", "POST - UserName", "POST - UserCompany", "POST - E-Mail",
        "POST - RegKey: User Name", "POST - RegKey: User Company", "POST - RegKey: User EMail",
        "POST - RegKey: Area Code", "END   Procedure - Options:SetSysINI",
    };
    EXPECT_EQ(trace, sysIniTrace(out));
    EXPECT_TRUE(out.logHas("POST - Command Selected: A&pply"));
}

// OK ends the launcher only on an explicit request; on a first run it closes the dialog (which
// opens again where it was closed) under the welcome window, and the launcher goes on.
TEST_F(OptionsRun, OkEndsTheLauncherOnlyOnAnExplicitRequest)
{
    const LauncherInstall install(L"Ok");
    RECT closedAt{};
    const RunOutcome explicitRun = runWithDialog(install, L" /OPTIONS", [&](const Dialog& d) {
        SetWindowPos(d.window(), nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        send(d.window(), WM_NULL);
        GetWindowRect(d.window(), &closedAt);
        d.click(kCmdOK);
    });
    EXPECT_EQ(0, explicitRun.exitCode);
    EXPECT_TRUE(explicitRun.logHas("(Vantorel.Exe) - Build: 1.1.32 - Application Termination. ")) << "log closed";
    EXPECT_EQ(L"True", valueOf(kAppKeyPath, L"RunOnce"));

    RegDeleteKeyValueW(HKEY_CURRENT_USER, kAppKeyPath.c_str(), L"RunOnce");
    std::atomic<bool> played{false};
    const RunOutcome firstRun = install.run(L"", [&](const SeenWindow& window) {
        if (window.title != kOptionsCaption || played.exchange(true)) return;
        HWND welcome = nullptr;
        waitFor([&] { return (welcome = FindWindowW(kWelcomeWindowClass, nullptr)) != nullptr; }, 5000);
        waitUntilLoaded(Dialog(window.handle));
        RECT openedAt{};
        GetWindowRect(window.handle, &openedAt);
        EXPECT_EQ(closedAt.left, openedAt.left);
        EXPECT_EQ(closedAt.top, openedAt.top);
        EXPECT_EQ(closedAt.right - closedAt.left, openedAt.right - openedAt.left) << "the size stays its own";
        Dialog(window.handle).click(kCmdOK);
        EXPECT_TRUE(waitFor([&] { return !IsWindow(window.handle); }, 5000));
        DWORD id = 0;
        GetWindowThreadProcessId(welcome, &id);
        raii::UniqueHandle launcher(OpenProcess(SYNCHRONIZE, FALSE, id));
        EXPECT_TRUE(launcher && WaitForSingleObject(launcher.get(), 0) == WAIT_TIMEOUT) << "the launcher goes on";
        DWORD_PTR ignored = 0;
        EXPECT_TRUE(SendMessageTimeoutW(welcome, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored));
        PostMessageW(welcome, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(0, firstRun.exitCode) << "the launcher ends once its last window is closed";
    EXPECT_EQ(L"True", valueOf(kAppKeyPath, L"RunOnce"));
    EXPECT_TRUE(firstRun.logHas("(Vantorel.Exe) - Build: 1.1.32 - Application Termination. "));
}

// A second start changes nothing and ends; a killed launcher leaves nothing that blocks the next one.
TEST_F(OptionsRun, ASecondStartBringsTheOpenDialogForwardAndAKilledOneBlocksNothing)
{
    const LauncherInstall install(L"Second");
    const OtherWindow other;
    const RunOutcome killed = runWithDialog(install, L" /OPTIONS", [&](const Dialog& d) {
        EXPECT_TRUE(waitFor([&] {
            return launch_testing::contentsOf(install.logPath()).find("END   Application Initialization") !=
                   std::string::npos;
        }));
        EXPECT_TRUE(other.toFront());
        const std::wstring registry = treeOf(L"Software\\Brannock");
        const std::string log = launch_testing::contentsOf(install.logPath());
        EXPECT_EQ(0, runProcess(L"\"" + install.exePath() + L"\"", 20000));
        EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == d.window(); }, 5000)) << "the dialog comes to the front";
        EXPECT_EQ(registry, treeOf(L"Software\\Brannock"));
        EXPECT_EQ(log, launch_testing::contentsOf(install.logPath()));
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

// Browse takes main.exe in any letter case and ignores other programs.
TEST_F(OptionsRun, KeepListsLoadSelectDeleteAndStoreAnEmptiedListAsEmptyAndBrowseTakesOnlyMainExe)
{
    const LauncherInstall install(L"Keep");
    const std::wstring upper = install.folder() + L"\\UPPER", lower = install.folder() + L"\\lower";
    CreateDirectoryW(upper.c_str(), nullptr);
    CreateDirectoryW(lower.c_str(), nullptr);
    for (const std::wstring& file : {upper + L"\\MAIN.EXE", lower + L"\\main.exe", lower + L"\\setup.exe"})
        std::ofstream(file.c_str());
    const struct {
        std::wstring answer, shown;
    } browsed[] = {
        {upper + L"\\MAIN.EXE", upper + L"\\MAIN.EXE"},
        {lower + L"\\setup.exe", upper + L"\\MAIN.EXE"}, // another program is ignored
        {L"", upper + L"\\MAIN.EXE"},                    // cancelling changes nothing
        {lower + L"\\main.exe", lower + L"\\main.exe"},
    };
    const std::wstring game = install.folder() + L"\\game";
    CreateDirectoryW(game.c_str(), nullptr);
    CreateDirectoryW((game + L"\\custom").c_str(), nullptr);
    CreateDirectoryW((game + L"\\custom\\graphics").c_str(), nullptr);
    std::ofstream((game + L"\\custom\\graphics\\Chosen Logo.ogf").c_str());
    setValue(kAppKeyPath, L"EXEPath", game + L"\\main.exe");
    setValue(kAppKeyPath, L"ClearLogos", L"True");
    setValue(kAppKeyPath, L"RandomizePilot", L"False");
    setValue(kSystemKeyPath, L"ShowSplash", L"True");
    setValue(kAppKeyPath, L"KeepLogos", L"a.ogf|b.ogf");
    setValue(kAppKeyPath, L"KeepTaunts", L"x.osf||y.osf");
    using Names = std::vector<std::wstring>;
    runWithDialog(install, L" /OPTIONS", [&](const Dialog& d) {
        EXPECT_FALSE(d.ticked(kChkRandomize)) << "\"False\" is a clear box";
        EXPECT_TRUE(d.ticked(kChkClearLogos) && d.ticked(kSysCheckBox0)) << "\"True\" is a ticked box";
        EXPECT_TRUE(d.enabled(kLstLogos) && d.enabled(kCmdKeepLogos));
        EXPECT_FALSE(d.enabled(kLstTaunts) || d.enabled(kCmdKeepTaunts));
        EXPECT_EQ((Names{L"a.ogf", L"b.ogf"}), d.entries(kLstLogos));
        EXPECT_EQ((Names{L"x.osf", L"", L"y.osf"}), d.entries(kLstTaunts));
        d.clickLater(kCmdKeepLogos);
        EXPECT_TRUE(answerFileDialog(L"Choose Logos To Save", L"Chosen Logo.ogf")) << "the dialog is titled for logos";
        EXPECT_EQ((Names{L"a.ogf", L"b.ogf", L"Chosen Logo.ogf"}), d.entries(kLstLogos));
        EXPECT_FALSE(d.enabled(kCmdApply)) << "loading stored switches and adding through Select leave Apply alone";
        d.clickLater(kCmdKeepLogos);
        answerFileDialog(L"Choose Logos To Save", L"");
        EXPECT_EQ(3u, d.entries(kLstLogos).size()) << "cancelling changes nothing";
        send(d.item(kLstLogos), LB_SETCURSEL, 0);
        d.key(kLstLogos, VK_DELETE);
        EXPECT_EQ((Names{L"b.ogf", L"Chosen Logo.ogf"}), d.entries(kLstLogos));
        EXPECT_TRUE(d.enabled(kCmdApply));
        while (!d.entries(kLstLogos).empty()) {
            send(d.item(kLstLogos), LB_SETCURSEL, 0);
            d.key(kLstLogos, VK_DELETE);
        }
        for (const auto& c : browsed) {
            d.clickLater(kCmdMainExe);
            answerFileDialog(L"Locate MAIN.EXE", c.answer);
            EXPECT_EQ(0, lstrcmpiW(c.shown.c_str(), d.text(kTxtMainExe).c_str())) << d.text(kTxtMainExe);
        }
        d.click(kCmdOK);
    });
    EXPECT_EQ(L"", valueOf(kAppKeyPath, L"KeepLogos")) << "an emptied list stays empty";
    EXPECT_EQ(L"x.osf||y.osf", valueOf(kAppKeyPath, L"KeepTaunts")) << "a disabled list is stored all the same";
}

// Where a class registration may send the splash component's class elsewhere (this program's prefix is its own).
const wchar_t kSplashTreatAs[] = L"Software\\Classes\\CLSID\\{7D8BB1B2-B914-46A2-80EB-46B16062EFA3}\\TreatAs";
const wchar_t kMissingClass[] = L"{7D8BB1B2-B914-46A2-80EB-000000000000}";

// Hovering a system setting turns its caption white and the others black; entering a user box
// selects its text; the logo shows the about screen when it can.
TEST_F(OptionsRun, HoverUserBoxesAndTheAboutScreen)
{
    setValue(kUserKeyPath, L"UserName", L"  Grace Hopper  ");
    const LauncherInstall install(L"Hover");
    const RunOutcome out = runWithDialog(install, L" /OPTIONS", [&](const Dialog& d) {
        d.click(kChkRandomize);
        EXPECT_TRUE(d.enabled(kCmdApply)) << "Randomize Pilot marks the dialog dirty like every other box";
        d.showTab(1);
        auto white = [&](int box) { return whitePixels(d.item(box)); };
        auto noneWhite = [&] { return white(kSysCheckBox0) + white(kSysCheckBox1) + white(kSysCheckBox2) == 0; };
        EXPECT_TRUE(waitFor(noneWhite, 5000)) << "before hovering, once painted";
        d.pointAt(d.item(kSysCheckBox1), 40, 6);
        EXPECT_TRUE(waitFor([&] { return white(kSysCheckBox1) > 10; }, 5000)) << "the hovered caption is drawn white";
        EXPECT_EQ(0, white(kSysCheckBox0) + white(kSysCheckBox2));
        RECT tabs{};
        GetClientRect(d.item(kTabBox), &tabs);
        d.pointAt(d.item(kTabBox), tabs.right / 2, tabs.bottom - 20);
        EXPECT_TRUE(waitFor(noneWhite, 5000)) << "over the bare tab area";

        d.showTab(2);
        EXPECT_EQ(L"Grace Hopper", d.text(kUserBox1)) << "user details are shown trimmed";
        d.pointAt(d.item(kUserBox1), 30, 6);
        send(d.item(kUserBox1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 6));
        send(d.item(kUserBox1), WM_LBUTTONUP, 0, MAKELPARAM(30, 6));
        EXPECT_TRUE(waitFor([&] { return send(d.item(kUserBox1), EM_GETSEL) == MAKELONG(0, 12); }, 5000))
            << "the whole text is selected";

        d.clickLater(kLogo);
        HWND about = nullptr;
        waitFor([&] { return (about = FindWindowW(kSplashWindowClass, nullptr)) != nullptr; }, 5000);
        // Shown as the about screen (active, until clicked), not as the start-up splash that closes itself.
        EXPECT_TRUE(about && waitFor([&] { return GetForegroundWindow() == about; }, 5000));
        if (about) PostMessageW(about, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_TRUE(waitFor([&] { return !FindWindowW(kSplashWindowClass, nullptr); }, 5000));

        // A broken registration sends the splash component's class elsewhere: the logo then only logs.
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSplashTreatAs, nullptr, REG_SZ, kMissingClass, sizeof(kMissingClass));
        d.click(kLogo);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSplashTreatAs);
        EXPECT_FALSE(FindWindowW(kSplashWindowClass, nullptr));
        EXPECT_TRUE(d.open());
        d.click(kCmdCancel);
    });
    EXPECT_TRUE(out.logHas("POST - Splash Screen Unavailable: "));
}

// Each tab shows its own controls only; with QUILLON_PICTURES set, each is saved for the README.
TEST_F(OptionsRun, Picture)
{
    setValue(kAppKeyPath, L"EXEPath", L"C:\\Games\\Descent3\\main.exe");
    setValue(kAppKeyPath, L"Parameters", L"-nointro -framecap 60");
    setValue(kAppKeyPath, L"ClearLogos", L"1");
    setValue(kAppKeyPath, L"KeepLogos", L"pyro.ogf|phoenix.ogf");
    setValue(kSystemKeyPath, L"WinAnimate", L"1");
    setValue(kUserKeyPath, L"UserName", L"Ada Byron");
    setValue(kUserKeyPath, L"UserCompany", L"Analytical Engines");
    setValue(kUserKeyPath, L"UserEMail", L"ada@example.org");
    setValue(kUserKeyPath, L"AreaCode", L"555");
    setValue(kAppKeyPath, L"RunOnce", L"True");
    const LauncherInstall install(L"Pictures");
    const int ownControl[3] = {kChkRandomize, kSysCheckBox0, kUserBox1};
    const wchar_t* names[3] = {L"options-properties.png", L"options-system.png", L"options-user.png"};
    runWithDialog(install, L" /OPTIONS", [&](const Dialog& d) {
        for (int tab = 0; tab < 3; ++tab) {
            d.showTab(tab);
            if (tab == 0) send(d.item(kLstParameters), LB_SETCURSEL, 1), d.key(kLstParameters, VK_DOWN),
                          d.key(kLstParameters, VK_UP);
            for (int other = 0; other < 3; ++other)
                EXPECT_EQ(tab == other, IsWindowVisible(d.item(ownControl[other])) != FALSE) << tab << " " << other;
            if (!picturesFolder().empty()) {
                EXPECT_EQ(S_OK, saveWindowPicture(d.window(), picturesFolder() + names[tab])) << names[tab];
            }
        }
        if (!picturesFolder().empty()) {
            // The about screen, over the dialog (another process's window: read from the screen).
            d.clickLater(kLogo);
            HWND about = nullptr;
            ASSERT_TRUE(waitFor([&] { return (about = FindWindowW(kSplashWindowClass, nullptr)) != nullptr; }, 5000));
            send(about, WM_NULL);
            EXPECT_EQ(S_OK, saveWindowPicture(about, picturesFolder() + L"about.png"));
            PostMessageW(about, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            waitFor([&] { return !IsWindow(about); }, 5000);
        }
        d.click(kCmdCancel);
    });
}

// The player's installer of this build, run silently in a prefix of this
// program's own: what it installs and registers, the installed launcher's
// runs, and what its uninstaller leaves (the player's settings only).
#include <shlobj.h>

#include <fstream>

#include "LauncherInstall.h"
#include "ScratchFolder.h"
#include "TestSupport.h"
#include "VersionInfo.h"

using namespace testing_support;
using files_testing::exists;

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantorel";
const wchar_t kAppPathKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Vantorel.exe";
const wchar_t kAppKey[] = L"Software\\Brannock\\Apps\\Vantorel";
const std::wstring kStringsClass = L"CLSID\\" + guidText(CLSID_qfcLibStrings);
const std::wstring kInstaller = programFolder() + L"..\\" QUILLON_INSTALLER;
constexpr int kWelcomeText = 11;

std::wstring startMenuFolder()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::wstring(folder) + L"\\Vantorel\\";
}

// A shortcut's target and arguments, one after the other.
std::wstring shortcut(const std::wstring& path)
{
    auto link = create<IShellLinkW>(CLSID_ShellLink, IID_IShellLinkW);
    raii::ComPtr<IPersistFile> file;
    wchar_t target[MAX_PATH] = {}, arguments[MAX_PATH] = {};
    if (link && SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.putVoid())) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        link->GetPath(target, MAX_PATH, nullptr, 0);
        link->GetArguments(arguments, MAX_PATH);
    }
    return std::wstring(target) + L"|" + arguments;
}

void setValue(const std::wstring& key, const std::wstring& name, const std::wstring& data)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, data.c_str(),
                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

// Runs a command and waits for it and every process it starts (the
// uninstaller hands its work to a copy of itself and ends at once).
long runToTheEnd(std::wstring commandLine)
{
    raii::UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &info))
        return -1;
    const raii::UniqueHandle process(info.hProcess), thread(info.hThread);
    AssignProcessToJobObject(job.get(), process.get());
    ResumeThread(thread.get());
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    for (int waited = 0; waited < 60000; waited += 50, Sleep(50)) {
        QueryInformationJobObject(job.get(), JobObjectBasicAccountingInformation, &accounting, sizeof(accounting),
                                  nullptr);
        if (accounting.ActiveProcesses == 0) break;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.get(), &exitCode);
    TerminateJobObject(job.get(), 1);
    return accounting.ActiveProcesses > 0 ? -2 : static_cast<long>(exitCode);
}

class Installer : public ComTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ownPrefix()) << "the installer changes the whole machine: run this program through ctest";
        resetLauncherRegistry();
    }

    long install(const std::wstring& switches)
    {
        return runToTheEnd(L"\"" + kInstaller + L"\" /S" + switches + L" /D=" + folder_);
    }
    long uninstall(const std::wstring& switches)
    {
        return runToTheEnd(L"\"" + folder_ + L"\\uninstall.exe\" /S" + switches);
    }

    // Script clients find Quillon only when it is registered machine-wide.
    bool scriptCanCreateQuillon() const
    {
        std::ofstream((scratch_ / L"create.vbs").c_str())
            << "On Error Resume Next\r\nSet strings = CreateObject(\"Quillon.qfcLibStrings\")\r\n"
               "WScript.Quit Err.Number\r\n";
        return runProcess(L"cscript.exe //nologo \"" + scratch_.path() + L"create.vbs\"") == 0;
    }

    void expectNothingLeft() const
    {
        for (const std::wstring& path : {folder_, scratch_.path() + L"Brannock", startMenuFolder()})
            EXPECT_FALSE(exists(path)) << testing::PrintToString(path);
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kAppPathKey)) << "the path the first run registered";
        // A registration that outlived the file would fail the same in a script.
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, kStringsClass));
    }

    const files_testing::ScratchFolder scratch_{L"Installer"};
    const std::wstring folder_ = scratch_.path() + L"Brannock\\Vantorel";
};

} // namespace

TEST_F(Installer, InstallsTheLauncherThatRunsAndUninstallsAllButTheSettings)
{
    const vantorel::ProgramVersion version = vantorel::readProgramVersion(kInstaller);
    EXPECT_EQ(QUILLON_VERSION, std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." +
                                   std::to_wstring(version.revision));
    ASSERT_EQ(0, install(L""));

    const std::wstring exe = folder_ + L"\\Vantorel.exe";
    for (const wchar_t* file : {L"Quillon.dll", L"readme.txt", L"uninstall.exe"})
        EXPECT_TRUE(exists(folder_ + L"\\" + file)) << file;
    EXPECT_EQ(exe + L"|", shortcut(startMenuFolder() + L"Vantorel.lnk"));
    EXPECT_EQ(exe + L"|/OPTIONS", shortcut(startMenuFolder() + L"Vantorel Options.lnk"));
    const std::pair<const wchar_t*, std::wstring> entry[] = {
        {L"DisplayName", L"Vantorel"}, {L"DisplayVersion", QUILLON_VERSION}, {L"Publisher", L"Brannock"},
        {L"InstallLocation", folder_}, {L"UninstallString", L"\"" + folder_ + L"\\uninstall.exe\""}};
    for (const auto& [name, expected] : entry) {
        std::wstring data;
        EXPECT_TRUE(readString(HKEY_LOCAL_MACHINE, kUninstallKey, name, &data) && data == expected) << name;
    }
    DWORD sizeKb = 0, bytes = sizeof(sizeKb);
    RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize", RRF_RT_REG_DWORD, nullptr, &sizeKb, &bytes);
    EXPECT_TRUE(sizeKb > 500 && sizeKb < 5000) << sizeKb << " KB: binaries without their symbols";
    EXPECT_FALSE(scriptCanCreateQuillon()) << "registered without the component";
    EXPECT_FALSE(exists(folder_ + L"\\reference")) << "the reference comes with the script component";

    // The first run shows the installed read-me; an ordinary start launches the game.
    const LauncherInstall installed(LauncherInstall::Existing{folder_});
    std::wstring welcome(4096, L'\0');
    EXPECT_EQ(0, installed.run(L"", [&](const SeenWindow& window) {
        if (window.className == kWelcomeWindowClass && welcome[0] == L'\0')
            GetDlgItemTextW(window.handle, kWelcomeText, welcome.data(), static_cast<int>(welcome.size()));
        closeDialogs(window);
    }).exitCode);
    EXPECT_NE(std::wstring::npos, welcome.find(L"Vantorel.exe /OPTIONS")) << welcome;
    EXPECT_NE(std::wstring::npos, welcome.find(L"Vantorel.exe /SETUP"));
    const std::wstring game = scratch_.folder(L"Game") + L"\\";
    ASSERT_TRUE(CopyFileW((programFolder() + L"StandInGame.exe").c_str(), (game + L"main.exe").c_str(), FALSE));
    scratch_.file(L"Game\\Ace.plt", 5);
    setValue(kAppKey, L"RunOnce", L"True");
    setValue(kAppKey, L"EXEPath", game + L"main.exe");
    EXPECT_EQ(0, installed.run().exitCode);
    for (int waited = 0; waited < 15000 && !exists(game + L"standin-record.txt"); waited += 50) Sleep(50);
    EXPECT_TRUE(exists(game + L"standin-record.txt")) << "the game did not start";

    ASSERT_EQ(0, uninstall(L""));
    expectNothingLeft();
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kAppKey)) << "a silent uninstall keeps the player's settings";
}

TEST_F(Installer, TheScriptComponentRegistersQuillonUntilTheUninstallThatMayTakeTheSettings)
{
    ASSERT_EQ(0, install(L" /REGISTER"));
    EXPECT_TRUE(scriptCanCreateQuillon());
    // The reference beside the library, and its examples running against the installed library.
    EXPECT_TRUE(exists(folder_ + L"\\reference\\index.html"));
    const std::string printed = captureProcess(L"cscript.exe //nologo \"" + folder_ + L"\\examples\\core-version.vbs\" \"" +
                                               scratch_.path() + L"Brannock\" Installed");
    EXPECT_EQ(0u, printed.find("v0.0.0\r\n2517 v2.5.17\r\n")) << printed;
    setValue(kAppKey, L"RunOnce", L"True");
    setValue(L"Software\\Brannock\\System", L"ShowSplash", L"0");
    ASSERT_EQ(0, uninstall(L" /REMOVESETTINGS"));
    expectNothingLeft();
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, L"Software\\Brannock")) << "no other application keeps settings";
}

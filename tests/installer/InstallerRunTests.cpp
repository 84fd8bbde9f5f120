// The player's installer of this build, run silently in a prefix of this
// program's own: what it installs and registers, the installed launcher's
// first run, and what its uninstaller leaves (the player's settings only).
#include <shlobj.h>

#include <fstream>
#include <sstream>

#include "LauncherInstall.h"
#include "ScratchFolder.h"
#include "TestSupport.h"
#include "VersionInfo.h"

using namespace testing_support;

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantorel";
const wchar_t kAppPathKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Vantorel.exe";
const wchar_t kAppKey[] = L"Software\\Brannock\\Apps\\Vantorel";
const wchar_t kStringsClass[] = L"CLSID\\{4409E93A-1CD9-11D7-AE76-0001026AB5BC}";
constexpr int kWelcomeText = 11;

std::wstring commonPrograms()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::wstring(folder) + L"\\Vantorel\\";
}

std::wstring contentsOf(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const std::string text = bytes.str();
    return std::wstring(text.begin(), text.end());
}

struct Shortcut {
    std::wstring target, arguments;
};

Shortcut readShortcut(const std::wstring& path)
{
    Shortcut shortcut;
    auto link = create<IShellLinkW>(CLSID_ShellLink, IID_IShellLinkW);
    raii::ComPtr<IPersistFile> file;
    if (!link || FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid())) ||
        FAILED(file->Load(path.c_str(), STGM_READ)))
        return shortcut;
    wchar_t text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, 0);
    shortcut.target = text;
    link->GetArguments(text, MAX_PATH);
    shortcut.arguments = text;
    return shortcut;
}

// Runs a command and waits for it and for every process it starts: the
// uninstaller hands its work to a copy of itself and ends at once.
long runToTheEnd(const std::wstring& commandLine, DWORD timeoutMs = 60000)
{
    raii::UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!job || !CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                                &startup, &info))
        return -1;
    const raii::UniqueHandle process(info.hProcess), thread(info.hThread);
    AssignProcessToJobObject(job.get(), process.get());
    ResumeThread(thread.get());
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        QueryInformationJobObject(job.get(), JobObjectBasicAccountingInformation, &accounting, sizeof(accounting),
                                  nullptr);
        if (accounting.ActiveProcesses == 0) break;
        Sleep(50);
    }
    DWORD exitCode = 0;
    if (accounting.ActiveProcesses != 0) TerminateJobObject(job.get(), 1);
    GetExitCodeProcess(process.get(), &exitCode);
    return accounting.ActiveProcesses != 0 ? -2 : static_cast<long>(exitCode);
}

// Script clients find Quillon only when it is registered machine-wide.
bool scriptCanCreateQuillon(const files_testing::ScratchFolder& scratch)
{
    std::ofstream((scratch / L"create.vbs").c_str())
        << "On Error Resume Next\r\nSet strings = CreateObject(\"Quillon.qfcLibStrings\")\r\n"
           "If Err.Number <> 0 Then WScript.Quit 1\r\nWScript.Quit 0\r\n";
    return runProcess(L"cscript.exe //nologo \"" + scratch.path() + L"create.vbs\"") == 0;
}

class Installer : public ComTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ownPrefix()) << "the installer changes the whole machine: run this program through ctest";
        resetLauncherRegistry();
    }

    // A silent installation into the scratch folder; the default location's last two folders.
    long install(const std::wstring& switches = L"")
    {
        return runToTheEnd(L"\"" + programFolder() + L"..\\" QUILLON_INSTALLER L"\" /S" + switches + L" /D=" + folder_);
    }

    long uninstall() { return runToTheEnd(L"\"" + folder_ + L"\\uninstall.exe\" /S"); }

    // What must be gone after the uninstall, whatever was installed.
    void expectNothingLeft()
    {
        for (const std::wstring& path : {folder_, scratch_.path() + L"Brannock", commonPrograms()})
            EXPECT_FALSE(files_testing::exists(path)) << testing::PrintToString(path);
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kAppPathKey)) << "the path the first run registered";
        // A registration left behind would outlive the file, so no script could tell.
        EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, kStringsClass));
    }

    const files_testing::ScratchFolder scratch_{L"Installer"};
    const std::wstring folder_ = scratch_.path() + L"Brannock\\Vantorel";
};

} // namespace

TEST_F(Installer, InstallsTheLauncherThatRunsAndUninstallsAllButTheSettings)
{
    const vantorel::ProgramVersion version = vantorel::readProgramVersion(programFolder() + L"..\\" QUILLON_INSTALLER);
    EXPECT_EQ(QUILLON_VERSION, std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." +
                                   std::to_wstring(version.revision));
    ASSERT_EQ(0, install());

    for (const wchar_t* file : {L"Vantorel.exe", L"Quillon.dll", L"readme.txt", L"uninstall.exe"})
        EXPECT_TRUE(files_testing::exists(folder_ + L"\\" + file)) << file;
    const std::wstring exe = folder_ + L"\\Vantorel.exe";
    const Shortcut launcher = readShortcut(commonPrograms() + L"Vantorel.lnk");
    const Shortcut options = readShortcut(commonPrograms() + L"Vantorel Options.lnk");
    EXPECT_EQ(exe, launcher.target);
    EXPECT_EQ(L"", launcher.arguments);
    EXPECT_EQ(exe, options.target);
    EXPECT_EQ(L"/OPTIONS", options.arguments);
    const struct {
        const wchar_t* name;
        std::wstring data;
    } entry[] = {
        {L"DisplayName", L"Vantorel"},
        {L"DisplayVersion", QUILLON_VERSION},
        {L"Publisher", L"Brannock"},
        {L"InstallLocation", folder_},
        {L"UninstallString", L"\"" + folder_ + L"\\uninstall.exe\""},
    };
    for (const auto& value : entry) {
        std::wstring data;
        EXPECT_TRUE(readString(HKEY_LOCAL_MACHINE, kUninstallKey, value.name, &data)) << value.name;
        EXPECT_EQ(value.data, data) << value.name;
    }
    DWORD sizeKb = 0, bytes = sizeof(sizeKb);
    RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize", RRF_RT_REG_DWORD, nullptr, &sizeKb, &bytes);
    EXPECT_GT(sizeKb, 500u);
    EXPECT_LT(sizeKb, 5000u) << "binaries without their symbols";
    EXPECT_FALSE(scriptCanCreateQuillon(scratch_)) << "registered without the component";

    // The first run shows the installed read-me in the welcome dialog.
    const LauncherInstall installed(LauncherInstall::Existing{folder_});
    std::wstring welcome;
    const RunOutcome first = installed.run(L"", [&](const SeenWindow& window) {
        if (window.className == kWelcomeWindowClass && welcome.empty()) {
            wchar_t text[4096] = {};
            GetDlgItemTextW(window.handle, kWelcomeText, text, ARRAYSIZE(text));
            welcome = text;
        }
        closeDialogs(window);
    });
    EXPECT_EQ(0, first.exitCode);
    EXPECT_EQ(contentsOf(folder_ + L"\\readme.txt"), welcome);
    EXPECT_NE(std::wstring::npos, welcome.find(L"Vantorel.exe /OPTIONS"));

    // An ordinary start then launches the game.
    const std::wstring game = scratch_.folder(L"Game") + L"\\";
    ASSERT_TRUE(CopyFileW((programFolder() + L"StandInGame.exe").c_str(), (game + L"main.exe").c_str(), FALSE));
    std::ofstream((game + L"Ace.plt").c_str()) << "pilot";
    for (const auto& [name, data] : {std::pair<std::wstring, std::wstring>{L"RunOnce", L"True"},
                                     {L"EXEPath", game + L"main.exe"}})
        RegSetKeyValueW(HKEY_CURRENT_USER, kAppKey, name.c_str(), REG_SZ, data.c_str(),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(0, installed.run().exitCode);
    bool started = false;
    for (int waited = 0; !started && waited < 15000; waited += 50, Sleep(50))
        started = files_testing::exists(game + L"standin-record.txt");
    EXPECT_TRUE(started) << "the game did not start";

    ASSERT_EQ(0, uninstall());
    expectNothingLeft();
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kAppKey)) << "a silent uninstall keeps the player's settings";
}

TEST_F(Installer, TheScriptComponentRegistersQuillonUntilTheUninstall)
{
    ASSERT_EQ(0, install(L" /REGISTER"));
    EXPECT_TRUE(scriptCanCreateQuillon(scratch_));
    ASSERT_EQ(0, uninstall());
    expectNothingLeft();
}

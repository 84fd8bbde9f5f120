// The player's installer of this build, run silently in a prefix of this program's own: what it installs and
// registers, the installed launcher's first run, and what its uninstaller leaves (the player's settings only).
#include <shlobj.h>

#include "../server/ServerClasses.h"
#include "LauncherInstall.h"
#include "ScratchFolder.h"
#include "TestSupport.h"

using namespace testing_support;
using files_testing::exists;

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantorel";
const wchar_t kAppPathKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Vantorel.exe";
const std::wstring kClassesKey = L"Software\\Classes\\";
// Another program's class in the 32-bit view, which the uninstaller must leave alone.
const std::wstring kOtherServer = L"CLSID\\{6A1D3F0E-52B7-4C1D-9E2A-7B3C5D4E6F70}\\InprocServer32";
const std::wstring kOtherFile = L"C:\\Other\\Other.dll";
const std::wstring kInstaller = programFolder() + L"..\\" QUILLON_INSTALLER;

std::wstring startMenuFolder()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::wstring(folder) + L"\\Vantorel\\";
}

// A machine-wide class value in a registry view, or "<missing>".
std::wstring classesValue(const std::wstring& key, const std::wstring& name, REGSAM view)
{
    return storedText(HKEY_LOCAL_MACHINE, kClassesKey + key, name, view);
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

// The machine a program file is built for (from its PE header), 0 when unreadable.
WORD machineOf(const std::wstring& path)
{
    const std::string bytes = fileBytes(path);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    if (bytes.size() < sizeof(*dos) || dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0 ||
        bytes.size() < size_t(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32))
        return 0;
    // The file header lies at the same place in both kinds.
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(bytes.data() + dos->e_lfanew);
    return nt->Signature == IMAGE_NT_SIGNATURE ? nt->FileHeader.Machine : 0;
}

// Runs a command and waits for it and every process it starts (the uninstaller hands its work to a copy of itself
// and ends at once).
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
    waitFor([&] {
        QueryInformationJobObject(job.get(), JobObjectBasicAccountingInformation, &accounting, sizeof(accounting),
                                  nullptr);
        return accounting.ActiveProcesses == 0;
    }, 60000);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.get(), &exitCode);
    TerminateJobObject(job.get(), 1);
    return accounting.ActiveProcesses > 0 ? -2 : static_cast<long>(exitCode);
}

// The installer changes the whole machine: this program has a prefix of its own.
class Installer : public LauncherRunTest {
protected:
    long install(const std::wstring& switches)
    {
        return runToTheEnd(L"\"" + kInstaller + L"\" /S" + switches + L" /D=" + folder_);
    }
    long uninstall(const std::wstring& switches)
    {
        return runToTheEnd(L"\"" + folder_ + L"\\uninstall.exe\" /S" + switches);
    }

    // Whether a registry view holds every class, ProgID and the type library entry of its platform:
    // the 32-bit library in x86\ for the 32-bit view, the one beside the launcher for the 64-bit view.
    void expectRegistration(REGSAM view, bool registered) const
    {
        SCOPED_TRACE(view == KEY_WOW64_32KEY ? "32-bit view" : "64-bit view");
        const bool win32 = view == KEY_WOW64_32KEY;
        const std::wstring file = folder_ + (win32 ? L"\\x86\\Quillon.dll" : L"\\Quillon.dll");
        const auto expected = [&](const std::wstring& text) { return registered ? text : L"<missing>"; };
        EXPECT_TRUE(!registered || exists(file)) << "the file a registration names";
        EXPECT_EQ(expected(file), classesValue(L"TypeLib\\" + guidText(LIBID_Quillon) + L"\\1.0\\0\\" +
                                                   (win32 ? L"win32" : L"win64"), L"", view));
        for (const ServerClass& row : kClasses) {
            SCOPED_TRACE(row.name);
            const std::wstring server = L"CLSID\\" + guidText(*row.clsid) + L"\\InprocServer32";
            EXPECT_EQ(expected(file), classesValue(server, L"", view));
            EXPECT_EQ(expected(L"Apartment"), classesValue(server, L"ThreadingModel", view));
            EXPECT_EQ(expected(guidText(*row.clsid)), classesValue(L"Quillon." + std::wstring(row.name) + L"\\CLSID",
                                                                    L"", view));
        }
    }

    void expectNothingLeft() const
    {
        for (const std::wstring& path : {folder_, scratch_.path() + L"Brannock", startMenuFolder()})
            EXPECT_FALSE(exists(path)) << testing::PrintToString(path);
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kAppPathKey)) << "the path the first run registered";
        // A registration that outlived the file would fail the same in a script.
        expectRegistration(KEY_WOW64_64KEY, false);
        expectRegistration(KEY_WOW64_32KEY, false);
    }

    // Starting COM here starts the prefix's desktop process from this program; started by the first install,
    // it would stay in that install's job, which runToTheEnd waits to empty.
    const raii::ComScope com_;
    const files_testing::ScratchFolder scratch_{L"Installer"};
    const std::wstring folder_ = scratch_.path() + L"Brannock\\Vantorel";
};

} // namespace

TEST_F(Installer, InstallsTheLauncherThatRunsAndUninstallsAllButTheSettings)
{
    ASSERT_EQ(0, install(L""));

    EXPECT_TRUE(exists(folder_ + L"\\uninstall.exe"));
    EXPECT_NE(std::string::npos, fileBytes(folder_ + L"\\readme.txt").find("Vantorel.exe /OPTIONS"))
        << "the player's read-me";
    EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, machineOf(folder_ + L"\\Quillon.dll"));
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, machineOf(folder_ + L"\\x86\\Quillon.dll")) << "for 32-bit hosts";
    const std::wstring exe = folder_ + L"\\Vantorel.exe";
    EXPECT_EQ(exe + L"|", shortcut(startMenuFolder() + L"Vantorel.lnk"));
    EXPECT_EQ(exe + L"|/OPTIONS", shortcut(startMenuFolder() + L"Vantorel Options.lnk"));
    const std::pair<const wchar_t*, std::wstring> entry[] = {
        {L"DisplayName", L"Vantorel"}, {L"DisplayVersion", QUILLON_VERSION}, {L"Publisher", L"Brannock"},
        {L"InstallLocation", folder_}, {L"UninstallString", L"\"" + folder_ + L"\\uninstall.exe\""}};
    for (const auto& [name, expected] : entry) EXPECT_EQ(expected, storedText(HKEY_LOCAL_MACHINE, kUninstallKey, name));
    EXPECT_FALSE(exists(folder_ + L"\\reference")) << "the reference comes with the script component";
    expectRegistration(KEY_WOW64_64KEY, false);
    expectRegistration(KEY_WOW64_32KEY, false);

    // The installed launcher runs from its own files, through the installed library (which shows the welcome).
    const RunOutcome firstRun = LauncherInstall(LauncherInstall::Existing{folder_}).run();
    EXPECT_EQ(0, firstRun.exitCode);
    EXPECT_TRUE(firstRun.saw(kWelcomeWindowClass));

    ASSERT_EQ(0, uninstall(L""));
    expectNothingLeft();
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kAppKeyPath)) << "a silent uninstall keeps the player's settings";
}

TEST_F(Installer, TheScriptComponentRegistersQuillonUntilTheUninstallThatMayTakeTheSettings)
{
    setText(kClassesKey + kOtherServer, L"", kOtherFile, HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY);
    ASSERT_EQ(0, install(L" /REGISTER"));
    // The reference beside the library, and its examples running as scripts against the registered library.
    EXPECT_TRUE(exists(folder_ + L"\\reference\\index.html"));
    const std::string printed = captureProcess(L"cscript.exe //nologo \"" + folder_ + L"\\examples\\core-version.vbs\" \"" +
                                               scratch_.path() + L"Brannock\" Installed");
    EXPECT_EQ(0u, printed.find("v0.0.0\r\n2517 v2.5.17\r\n")) << printed;
    expectRegistration(KEY_WOW64_64KEY, true);
    expectRegistration(KEY_WOW64_32KEY, true);
    setText(kAppKeyPath, L"RunOnce", L"True");
    setText(kSystemKeyPath, L"ShowSplash", L"0");
    ASSERT_EQ(0, uninstall(L" /REMOVESETTINGS"));
    expectNothingLeft();
    EXPECT_EQ(kOtherFile, classesValue(kOtherServer, L"", KEY_WOW64_32KEY));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, L"Software\\Brannock")) << "no other application keeps settings";
}

// Where Vantorel.exe writes its log: beside itself while its folder can be
// written, otherwise in the player's own folder of the launcher. The read-only
// installation comes from read-only-folder.sh, since Wine takes a folder's
// write permission from Unix.
#include <shlobj.h>

#include <algorithm>

#include "LauncherInstall.h"
#include "ScratchFolder.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

std::wstring playersLogFolder()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::wstring(folder) + L"\\Brannock\\Vantorel\\";
}

// The folder the script made read-only, through Wine's drive of the Unix root.
std::wstring readOnlyFolder()
{
    wchar_t unixPath[MAX_PATH] = {};
    GetEnvironmentVariableW(L"QUILLON_READ_ONLY_FOLDER", unixPath, MAX_PATH);
    std::wstring folder = std::wstring(L"Z:") + unixPath;
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    return folder;
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The lines of a run that do not depend on the time or the run's number.
std::vector<std::string> steadyLines(const RunOutcome& out)
{
    std::vector<std::string> lines;
    for (const std::string& line : out.log)
        if (line.find("<@>") == std::string::npos && line.find("Log Number") != 0 && line.find("(Vantorel.Exe)") != 0)
            lines.push_back(line);
    return lines;
}

} // namespace

TEST(LogFolder, TheLogStaysBesideAWritableProgramAndMovesForAReadOnlyOne)
{
    ASSERT_TRUE(ownPrefix()) << "these runs change the launcher's shared keys: run them through ctest";
    resetLauncherRegistry();
    const struct {
        const wchar_t *key, *name, *data;
    } values[] = {{L"Software\\Brannock\\Apps\\Vantorel", L"RunOnce", L"True"},
                  {L"Software\\Brannock\\System", L"ShowSplash", L"0"}};
    for (const auto& v : values)
        RegSetKeyValueW(HKEY_CURRENT_USER, v.key, v.name, REG_SZ, v.data,
                        static_cast<DWORD>((wcslen(v.data) + 1) * sizeof(wchar_t)));
    const std::wstring fallbackLog = playersLogFolder() + L"Vantorel.log";

    const LauncherInstall writable(L"Writable");
    const RunOutcome beside = writable.run(L" /OPTIONS");
    EXPECT_EQ(0, beside.exitCode);
    EXPECT_FALSE(files_testing::exists(fallbackLog));

    LauncherInstall readOnly(LauncherInstall::Existing{readOnlyFolder()});
    ASSERT_TRUE(readOnly.ready());
    const std::wstring probe = readOnly.folder() + L"\\probe.txt";
    ASSERT_EQ(INVALID_HANDLE_VALUE, CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr))
        << "the folder must not be writable";
    readOnly.readLogFrom(playersLogFolder());
    const RunOutcome moved = readOnly.run(L" /OPTIONS");
    EXPECT_EQ(0, moved.exitCode);
    EXPECT_FALSE(files_testing::exists(readOnly.folder() + L"\\Vantorel.log"));
    EXPECT_TRUE(moved.logHas("(Vantorel.Exe) - Build: 1.1.32 - Application Termination. "));

    // The same lines, but for the folder the run names.
    const std::string directory = "INITIALIZATION - Application Directory  : ";
    std::vector<std::string> expected = steadyLines(beside);
    ASSERT_GT(expected.size(), 5u);
    for (std::string& line : expected)
        if (line == directory + narrow(writable.folder())) line = directory + narrow(readOnly.folder());
    EXPECT_EQ(expected, steadyLines(moved));
}

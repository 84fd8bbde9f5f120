// Where Vantorel.exe writes its log: beside itself while its folder can be
// written, otherwise in the player's own folder of the launcher. The read-only
// installation comes from read-only-folder.sh, since Wine takes a folder's
// write permission from Unix.
#include <shlobj.h>

#include "GameFolders.h"
#include "LauncherInstall.h"
#include "ScratchFolder.h"
#include "TestSupport.h"

using namespace testing_support;
using launch_testing::readOnlyFolder;

namespace {

std::wstring playersLogFolder()
{
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::wstring(folder) + L"\\Brannock\\Vantorel\\";
}

// A run's lines apart from times, run numbers and the program's folder.
std::vector<std::string> steadyLines(const RunOutcome& out, const std::wstring& folder)
{
    std::vector<std::string> lines;
    for (std::string line : out.log) {
        if (line.find("<@>") != std::string::npos || line.find("Log Number") == 0) continue;
        const size_t at = line.find(std::string(folder.begin(), folder.end()));
        lines.push_back(at == std::string::npos ? line.substr(0, line.find(". ")) : line.substr(0, at) + "<folder>");
    }
    return lines;
}

} // namespace

TEST(LogFolder, TheLogStaysBesideAWritableProgramAndMovesForAReadOnlyOne)
{
    ASSERT_TRUE(ownPrefix()) << "these runs change the launcher's shared keys: run them through ctest";
    resetLauncherRegistry();
    const LauncherInstall writable(L"Writable");
    const RunOutcome beside = writable.run(L" /OPTIONS");
    EXPECT_EQ(0, beside.exitCode);
    EXPECT_FALSE(files_testing::exists(playersLogFolder() + L"Vantorel.log"));

    LauncherInstall readOnly(LauncherInstall::Existing{readOnlyFolder().substr(0, readOnlyFolder().size() - 1)});
    ASSERT_TRUE(readOnly.ready());
    const std::wstring probe = readOnly.folder() + L"\\probe.txt";
    ASSERT_EQ(INVALID_HANDLE_VALUE, CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr))
        << "the folder must not be writable";
    readOnly.readLogFrom(playersLogFolder());
    const RunOutcome moved = readOnly.run(L" /OPTIONS");
    EXPECT_EQ(0, moved.exitCode);
    EXPECT_GT(moved.log.size(), 10u);
    EXPECT_EQ(steadyLines(beside, writable.folder()), steadyLines(moved, readOnly.folder()));
}

// Ordinary starts of the real Vantorel.exe that launch the stand-in game; each
// case checks the exact command line and current directory the game recorded.
// The runs change the launcher's fixed keys, so this program has a prefix of its own.
#include <fstream>
#include <sstream>

#include "GameFolders.h"
#include "LauncherInstall.h"
#include "ScratchFolder.h"
#include "TestSupport.h"

using namespace testing_support;
using namespace launch_testing;

namespace {

const std::wstring kGames = L"C:\\LaunchTests\\";

// What the stand-in wrote: "name=value" lines.
struct Record {
    bool started = false;
    std::string commandLine, directory, pilotOpens;
};

Record readRecord(const std::wstring& folder, DWORD waitMs)
{
    const std::wstring path = folder + L"standin-record.txt";
    for (DWORD waited = 0; GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && waited < waitMs; waited += 50)
        Sleep(50);
    Record record;
    std::istringstream lines(contentsOf(path));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        record.started = true;
        const size_t equals = line.find('=');
        const std::string name = line.substr(0, equals), value = line.substr(equals + 1);
        if (name == "commandline") record.commandLine = value;
        if (name == "directory") record.directory = value;
        if (name == "pilotopens") record.pilotOpens = value;
    }
    return record;
}

// A game folder with the stand-in as main.exe and the given pilot files; ends in "\".
std::wstring prepareGame(const std::wstring& name, const std::vector<std::wstring>& pilots)
{
    const std::wstring folder = kGames + name + L"\\";
    files_testing::removeTree(folder);
    CreateDirectoryW(kGames.c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    EXPECT_TRUE(CopyFileW((programFolder() + L"StandInGame.exe").c_str(), (folder + L"main.exe").c_str(), FALSE));
    for (const std::wstring& pilot : pilots) std::ofstream((folder + pilot).c_str()) << "pilot";
    return folder;
}

std::wstring shortTitle(const std::wstring& path)
{
    wchar_t shortPath[MAX_PATH] = {};
    GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    std::wstring name = shortPath;
    name = name.substr(name.find_last_of(L'\\') + 1);
    return name.substr(0, name.find_last_of(L'.'));
}

class LaunchRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetLauncherRegistry();
        setValue(kSystemKey, L"ShowSplash", L"0");
        setValue(kAppKey, L"RunOnce", L"True");
    }
    void TearDown() override { files_testing::removeTree(kGames); }

    const LauncherInstall install_{L"LaunchRun"};
};

TEST_F(LaunchRun, TheGameReceivesTheCommandLineAndFolderItsSettingsMake)
{
    const struct {
        const wchar_t* folder;
        std::vector<std::wstring> pilots;
        const wchar_t* randomize;
        const wchar_t* parameters;
        const char* pilotArgument; // "" none; "*" the short title of the only pilot
        const char* expectedParameters;
    } cases[] = {
        {L"one", {L"Ace.plt"}, L"0", L"", " -pilot Ace", " -launched"},
        {L"two", {L"Ace.plt", L"Bee.plt"}, L"0", L"-nointro", "", "-nointro -launched"},
        {L"Descent 3", {L"Ace.plt"}, L"0", L"-nointro", " -pilot Ace", "-nointro -launched"},
        {L"long", {L"Ace Pilot.plt"}, L"1", L"", "*", " -launched"},
        {L"unreadable", {L"Ace.plt", L"Bee.plt", L"Cat.plt"}, L"perhaps", L"", "?", " -launched"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(narrow(c.folder));
        const std::wstring game = prepareGame(c.folder, c.pilots);
        const std::wstring exe = game + L"main.exe";
        setValue(kAppKey, L"EXEPath", exe);
        setValue(kAppKey, L"Parameters", c.parameters);
        setValue(kAppKey, L"RandomizePilot", c.randomize);
        const RunOutcome out = install_.run();
        EXPECT_EQ(0, out.exitCode);
        const Record record = readRecord(game, 15000);
        ASSERT_TRUE(record.started) << "the game did not start";

        const std::string quotedExe = exe.find(L' ') == std::wstring::npos ? narrow(exe) : "\"" + narrow(exe) + "\"";
        std::string pilot = c.pilotArgument;
        if (pilot == "*") {
            const std::wstring title = shortTitle(game + c.pilots[0]);
            pilot = " -pilot " + (title.find(L' ') == std::wstring::npos ? narrow(title) : "\"" + narrow(title) + "\"");
            EXPECT_EQ("1", record.pilotOpens) << "the game can open the pilot it was given";
        }
        if (pilot == "?") {
            // Any of the three is right; "perhaps" counts as true, so one is passed.
            ASSERT_GT(record.commandLine.size(), quotedExe.size() + 12);
            pilot = record.commandLine.substr(quotedExe.size(), 12);
            EXPECT_TRUE(pilot == " -pilot Ace " || pilot == " -pilot Bee " || pilot == " -pilot Cat ") << pilot;
            pilot.pop_back();
        }
        EXPECT_EQ(quotedExe + pilot + " " + c.expectedParameters, record.commandLine);
        EXPECT_EQ(narrow(game.substr(0, game.size() - 1)), record.directory);
        EXPECT_TRUE(out.logHas("POST - Command Line: " + record.commandLine));
    }
}

TEST_F(LaunchRun, WithoutPilotsNothingIsStarted)
{
    const std::wstring game = prepareGame(L"empty", {});
    setValue(kAppKey, L"EXEPath", game + L"main.exe");
    const RunOutcome out = install_.run();
    EXPECT_EQ(0, out.exitCode);
    EXPECT_EQ(L"No Pilots found!", out.boxText());
    EXPECT_FALSE(readRecord(game, 1000).started);
}

TEST_F(LaunchRun, TheCullingAsksFirstAndTheGameStartsWhateverTheAnswer)
{
    for (const int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        const std::wstring game = prepareGame(L"culled", {L"Ace.plt"});
        const std::wstring sounds = game + L"custom\\sounds\\";
        CreateDirectoryW((game + L"custom").c_str(), nullptr);
        CreateDirectoryW(sounds.c_str(), nullptr);
        std::ofstream((sounds + L"mine.osf").c_str()) << "mine";
        std::ofstream((sounds + L"other.osf").c_str()) << std::string(1000001, 'o');
        setValue(kAppKey, L"EXEPath", game + L"main.exe");
        setValue(kAppKey, L"ClearTaunts", L"1");
        setValue(kAppKey, L"KeepTaunts", L"mine.osf|gone.osf");
        bool asked = false;
        const RunOutcome out = install_.run(L"", [&](const SeenWindow& window) {
            if (window.className != L"#32770") return closeDialogs(window);
            asked = true;
            PostMessageW(window.handle, WM_COMMAND, GetDlgItem(window.handle, answer) ? answer : IDOK, 0);
        });
        EXPECT_EQ(0, out.exitCode);
        EXPECT_TRUE(asked);
        EXPECT_TRUE(readRecord(game, 15000).started);
        EXPECT_EQ("mine", contentsOf(sounds + L"mine.osf"));
        EXPECT_EQ(answer == IDNO, GetFileAttributesW((sounds + L"other.osf").c_str()) != INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(out.logHas("POST - Kept File Not Found, Skipped: gone.osf"));
    }
}

} // namespace

// Ordinary starts of the real Vantorel.exe that launch the stand-in game; each
// case checks the exact command line and current directory the game recorded.
// The runs change the launcher's fixed keys, so this program has a prefix of its own.
#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

#include "GameFolders.h"
#include "LauncherInstall.h"
#include "ScratchFolder.h"
#include "TestSupport.h"
#include "WindowWatcher.h"

using namespace testing_support;
using namespace launch_testing;

namespace {

const std::wstring kGames = L"C:\\LaunchTests\\";

// A game folder with the stand-in as main.exe and the given pilot files; ends in "\".
std::wstring prepareGame(const std::wstring& name, const std::vector<std::wstring>& pilots)
{
    const std::wstring folder = kGames + name + L"\\";
    files_testing::removeTree(folder);
    CreateDirectoryW(kGames.c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    fillGame(folder, pilots);
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

size_t countOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Answers every dialog of a process with Yes, or OK where it has no Yes.
void answerYes(const SeenWindow& window)
{
    if (window.className != L"#32770") return closeDialogs(window);
    PostMessageW(window.handle, WM_COMMAND, GetDlgItem(window.handle, IDYES) ? IDYES : IDOK, 0);
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
        bool forwardSlashes = false; // the stored path written with "/", which Windows accepts
    } cases[] = {
        {L"one", {L"Ace.plt"}, L"0", L"", " -pilot Ace", " -launched"},
        {L"two", {L"Ace.plt", L"Bee.plt"}, L"0", L"-nointro", "", "-nointro -launched"},
        {L"Descent 3", {L"Ace.plt"}, L"0", L"-nointro", " -pilot Ace", "-nointro -launched"},
        {L"long", {L"Ace Pilot.plt"}, L"1", L"", "*", " -launched"},
        {L"unreadable", {L"Ace.plt", L"Bee.plt", L"Cat.plt"}, L"perhaps", L"", "?", " -launched"},
        {L"slashed", {L"Ace.plt", L"Bee.plt"}, L"0", L"", "", " -launched", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(narrow(c.folder));
        const std::wstring game = prepareGame(c.folder, c.pilots);
        const std::wstring exe = game + L"main.exe";
        std::wstring stored = exe;
        if (c.forwardSlashes) std::replace(stored.begin(), stored.end(), L'\\', L'/');
        setValue(kAppKey, L"EXEPath", stored);
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

// What cannot be started is said before anything is culled; a program that
// is there but is none is said after, with the system's reason.
TEST_F(LaunchRun, AGameThatCannotStartIsSaidAndEndsTheLauncherWithAnError)
{
    enum Game { kMissing, kFolder, kText, kProgram };
    const struct {
        const char* what;
        Game game;
        std::wstring parameters;
        const wchar_t* says;
        bool culls;
    } cases[] = {
        {"missing", kMissing, L"", L"Vantorel could not find the game at ", false},
        {"a folder", kFolder, L"", L"Vantorel could not find the game at ", false},
        {"a text file", kText, L"", L"Vantorel could not start the game ", true},
        {"too long a command line", kProgram, std::wstring(100000, L'p'), L"The game's command line is ", false},
        {"a NUL in the parameters", kProgram, std::wstring(L"-x\0y", 4),
         L"The setting Parameters holds a NUL character", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring game = prepareGame(L"unstartable", {L"Ace.plt"});
        const std::wstring exe = game + L"main.exe", sounds = game + L"custom\\sounds\\";
        if (c.game != kProgram) DeleteFileW(exe.c_str());
        if (c.game == kFolder) CreateDirectoryW(exe.c_str(), nullptr);
        if (c.game == kText) std::ofstream(exe.c_str()) << "not a program";
        CreateDirectoryW((game + L"custom").c_str(), nullptr);
        CreateDirectoryW(sounds.c_str(), nullptr);
        std::ofstream((sounds + L"mine.osf").c_str()) << "mine";
        std::ofstream((sounds + L"other.osf").c_str()) << std::string(1000001, 'o');
        setValue(kAppKey, L"EXEPath", exe);
        setValue(kAppKey, L"Parameters", c.parameters);
        setValue(kAppKey, L"ClearTaunts", L"1");
        setValue(kAppKey, L"KeepTaunts", L"mine.osf");
        const RunOutcome out = install_.run(L"", answerYes);
        EXPECT_EQ(1, out.exitCode);
        const std::wstring box = out.boxText();
        EXPECT_EQ(0u, box.find(c.says)) << narrow(box);
        if (c.game != kProgram) { EXPECT_NE(std::wstring::npos, box.find(exe)) << "the box names the program"; }
        if (c.game == kMissing) {
            EXPECT_EQ(L"Vantorel could not find the game at " + exe +
                          L". Choose the game's main.exe in the options (Vantorel /OPTIONS).",
                      box);
        }
        EXPECT_TRUE(out.logHas("POST - Error 0x800A00")) << "the log keeps it";
        EXPECT_EQ(c.culls, !files_testing::exists(sounds + L"other.osf"));
        EXPECT_EQ("mine", contentsOf(sounds + L"mine.osf"));
        RemoveDirectoryW(exe.c_str());
    }
}

// A backup left by a killed launch comes back only where its file is missing,
// even with culling off: a file the player replaced since stays as it is.
TEST_F(LaunchRun, RecoveryRestoresMissingKeptFilesAndNeverOverwrites)
{
    const std::wstring game = prepareGame(L"recovered", {L"Ace.plt"});
    const std::wstring sounds = game + L"custom\\sounds\\", backups = sounds + L"~Vantorel kept\\";
    CreateDirectoryW((game + L"custom").c_str(), nullptr);
    CreateDirectoryW(sounds.c_str(), nullptr);
    CreateDirectoryW(backups.c_str(), nullptr);
    std::ofstream((backups + L"lost.osf").c_str()) << "lost";
    std::ofstream((backups + L"replaced.osf").c_str()) << "old";
    std::ofstream((sounds + L"replaced.osf").c_str()) << "new";
    setValue(kAppKey, L"EXEPath", game + L"main.exe");
    const RunOutcome out = install_.run();
    EXPECT_EQ(0, out.exitCode);
    EXPECT_TRUE(readRecord(game, 15000).started);
    EXPECT_EQ("lost", contentsOf(sounds + L"lost.osf"));
    EXPECT_EQ("new", contentsOf(sounds + L"replaced.osf"));
    EXPECT_FALSE(files_testing::exists(backups));
    EXPECT_TRUE(out.logHas("POST - Kept File Restored: lost.osf"));
    EXPECT_TRUE(out.logHas("POST - Kept File Present, Its Backup Removed: replaced.osf"));
}

// A double-click that starts the launcher twice: only one culls, and only one
// starts the game; the other ends at once.
TEST_F(LaunchRun, TwoStartsAtOnceCullAndLaunchOnce)
{
    const std::wstring game = prepareGame(L"twice", {L"Ace.plt"});
    const std::wstring sounds = game + L"custom\\sounds\\";
    CreateDirectoryW((game + L"custom").c_str(), nullptr);
    CreateDirectoryW(sounds.c_str(), nullptr);
    setValue(kAppKey, L"EXEPath", game + L"main.exe");
    setValue(kAppKey, L"ClearTaunts", L"1");
    setValue(kAppKey, L"KeepTaunts", L"mine.osf|yours.osf");
    const std::wstring command = L"\"" + install_.exePath() + L"\"";
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        std::ofstream((sounds + L"mine.osf").c_str()) << "mine";
        std::ofstream((sounds + L"yours.osf").c_str()) << "yours";
        std::ofstream((sounds + L"other.osf").c_str()) << std::string(1000001, 'o');
        DeleteFileW((game + L"standin-record.txt").c_str());
        DeleteFileW((game + L"standin-record.txt.starts").c_str());
        DeleteFileW(install_.logPath().c_str());
        ProcessInfo first, second;
        ASSERT_TRUE(startProcess(command, first));
        ASSERT_TRUE(startProcess(command, second));
        // The shell's question waits until one start has ended, so the two always overlap.
        const auto ended = [&] {
            return WaitForSingleObject(first.process.get(), 0) == WAIT_OBJECT_0 ||
                   WaitForSingleObject(second.process.get(), 0) == WAIT_OBJECT_0;
        };
        const WindowHandler answer = [&](const SeenWindow& window) {
            if (window.className == L"#32770" && GetDlgItem(window.handle, IDYES) && !ended()) return;
            answerYes(window);
        };
        const WindowWatcher firstWindows(first.id, answer), secondWindows(second.id, answer);
        EXPECT_EQ(0, waitForProcess(first, 30000));
        EXPECT_EQ(0, waitForProcess(second, 30000));
        EXPECT_TRUE(readRecord(game, 15000).started);
        EXPECT_EQ("mine", contentsOf(sounds + L"mine.osf"));
        EXPECT_EQ("yours", contentsOf(sounds + L"yours.osf"));
        EXPECT_FALSE(files_testing::exists(sounds + L"other.osf"));
        EXPECT_EQ(1u, countOf(contentsOf(game + L"standin-record.txt.starts"), "started=1"));
        EXPECT_EQ(1u, countOf(contentsOf(install_.logPath()), "Application Initiation"));
        if (HasFailure()) break;
    }
}

} // namespace

// Ordinary starts of the real Vantorel.exe that launch the stand-in game.
#include "GameFolders.h"
#include "ScratchFolder.h"

using namespace testing_support;
using namespace launch_testing;
using files_testing::exists;

namespace {

const std::wstring kGames = L"C:\\LaunchTests\\";
const std::string kLargeTaunt(1000001, 'o');

std::wstring shortTitle(const std::wstring& path)
{
    wchar_t shortPath[MAX_PATH] = {};
    GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    const std::wstring name = wcsrchr(shortPath, L'\\') + 1;
    return name.substr(0, name.find_last_of(L'.'));
}

// Answers every dialog of a process with Yes, or OK where it has no Yes.
void answerYes(const SeenWindow& window)
{
    if (window.className != L"#32770") return closeDialogs(window);
    PostMessageW(window.handle, WM_COMMAND, GetDlgItem(window.handle, IDYES) ? IDYES : IDOK, 0);
}

class LaunchRun : public LauncherRunTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(LauncherRunTest::SetUp());
        setText(kSystemKeyPath, L"ShowSplash", L"0");
        setText(kAppKeyPath, L"RunOnce", L"True");
    }
    void TearDown() override
    {
        files_testing::removeTree(kGames);
        LauncherRunTest::TearDown();
    }

    // A game folder with the stand-in as main.exe and the given pilots, set as the game to start; ends in "\".
    static std::wstring game(const std::wstring& name, const std::vector<std::wstring>& pilots)
    {
        const std::wstring folder = kGames + name + L"\\";
        files_testing::removeTree(folder);
        CreateDirectoryW(kGames.c_str(), nullptr);
        fillGame(folder, pilots);
        setText(kAppKeyPath, L"EXEPath", folder + L"main.exe");
        return folder;
    }

    const LauncherInstall install_{L"LaunchRun"};
};

TEST_F(LaunchRun, TheGameReceivesTheCommandLineAndFolderItsSettingsMake)
{
    const struct {
        const wchar_t* folder;
        std::vector<std::wstring> pilots;
        const wchar_t* randomize;
        const wchar_t* parameters;
        std::vector<std::wstring> passed; // the pilots any of which may be passed; none: no pilot
        const char* expectedParameters;
    } cases[] = {
        {L"Descent 3", {L"Ace.plt"}, L"0", L"-nointro", {L"Ace.plt"}, "-nointro -launched"},
        {L"two", {L"Ace.plt", L"Bee.plt"}, L"0", L"", {}, " -launched"},
        // Long names pass as short ones; a switch that cannot be read counts as on.
        {L"random", {L"Ace Pilot.plt", L"Bee Pilot.plt"}, L"perhaps", L"", {L"Ace Pilot.plt", L"Bee Pilot.plt"},
         " -launched"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(narrow(c.folder));
        const std::wstring folder = game(c.folder, c.pilots), exe = folder + L"main.exe";
        // Stored with "/", which Windows accepts.
        std::wstring stored = exe;
        std::replace(stored.begin(), stored.end(), L'\\', L'/');
        setText(kAppKeyPath, L"EXEPath", stored);
        setText(kAppKeyPath, L"Parameters", c.parameters);
        setText(kAppKeyPath, L"RandomizePilot", c.randomize);
        const RunOutcome out = install_.run();
        EXPECT_EQ(0, out.exitCode);
        const Record record = readRecord(folder);
        ASSERT_TRUE(record.started) << "the game did not start";

        const std::string start = exe.find(L' ') == std::wstring::npos ? narrow(exe) : "\"" + narrow(exe) + "\"";
        std::vector<std::string> expected;
        for (const std::wstring& pilot : c.passed)
            expected.push_back(start + " -pilot " + narrow(shortTitle(folder + pilot)) + " " + c.expectedParameters);
        if (c.passed.empty()) expected.push_back(start + " " + c.expectedParameters);
        EXPECT_NE(expected.end(), std::find(expected.begin(), expected.end(), record.commandLine))
            << record.commandLine;
        EXPECT_EQ(c.passed.empty() ? "0" : "1", record.pilotOpens) << "the game can open the pilot it was given";
        EXPECT_EQ(narrow(folder.substr(0, folder.size() - 1)), record.directory);
        EXPECT_EQ(record.commandLine, out.logLine("POST - Command Line: "));
    }
    game(L"empty", {});
    const RunOutcome out = install_.run();
    EXPECT_EQ(0, out.exitCode);
    EXPECT_EQ(L"No Pilots found!", out.boxText());
    EXPECT_FALSE(readRecord(kGames + L"empty\\", 1000).started);
}

// What cannot be started is said before anything is culled; a program that is there but is none is said after,
// with the system's reason.
TEST_F(LaunchRun, AGameThatCannotStartIsSaidAndEndsTheLauncherWithAnError)
{
    enum Game { kMissing, kText, kProgram };
    const struct {
        const char* what;
        Game game;
        std::wstring parameters;
        const wchar_t* says;
        bool culls;
    } cases[] = {
        {"missing", kMissing, L"", L"Vantorel could not find the game at ", false},
        {"a text file", kText, L"", L"Vantorel could not start the game ", true},
        {"too long a command line", kProgram, std::wstring(100000, L'p'), L"The game's command line is ", false},
        {"a NUL in the parameters", kProgram, std::wstring(L"-x\0y", 4),
         L"The setting Parameters holds a NUL character", false},
    };
    setText(kAppKeyPath, L"ClearTaunts", L"1");
    setText(kAppKeyPath, L"KeepTaunts", L"mine.osf");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring folder = game(L"unstartable", {L"Ace.plt"});
        const std::wstring exe = folder + L"main.exe", sounds = folder + L"custom\\sounds\\";
        if (c.game != kProgram) DeleteFileW(exe.c_str());
        if (c.game == kText) writeFile(exe, "not a program");
        writeFile(sounds + L"mine.osf", "mine");
        writeFile(sounds + L"other.osf", kLargeTaunt);
        setText(kAppKeyPath, L"Parameters", c.parameters);
        const RunOutcome out = install_.run(L"", answerYes);
        EXPECT_EQ(1, out.exitCode);
        const std::wstring box = out.boxText();
        EXPECT_EQ(0u, box.find(c.says)) << narrow(box);
        EXPECT_TRUE(c.game == kProgram || box.find(exe) != std::wstring::npos) << "the box names the program";
        EXPECT_TRUE(out.logHas("POST - Error 0x800A00")) << "the log keeps it";
        EXPECT_EQ(c.culls, !exists(sounds + L"other.osf"));
        EXPECT_EQ("mine", fileBytes(sounds + L"mine.osf"));
    }
}

// A double-click that starts the launcher twice: only one culls (after the player's Yes), and only one starts the
// game; the other ends at once.
TEST_F(LaunchRun, TwoStartsAtOnceCullAndLaunchOnce)
{
    const std::wstring folder = game(L"twice", {L"Ace.plt"}), sounds = folder + L"custom\\sounds\\";
    setText(kAppKeyPath, L"ClearTaunts", L"1");
    setText(kAppKeyPath, L"KeepTaunts", L"mine.osf|yours.osf");
    const std::wstring command = L"\"" + install_.exePath() + L"\"";
    const auto count = [](const std::string& text, const std::string& part) {
        size_t found = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
        return found;
    };
    for (int round = 0; round < 10 && !HasFailure(); ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        writeFile(sounds + L"mine.osf", "mine");
        writeFile(sounds + L"yours.osf", "yours");
        writeFile(sounds + L"other.osf", kLargeTaunt);
        for (const wchar_t* name : {L"standin-record.txt", L"standin-record.txt.starts"})
            DeleteFileW((folder + name).c_str());
        DeleteFileW(install_.logPath().c_str());
        raii::ProcessInfo first, second;
        ASSERT_TRUE(startProcess(command, first) && startProcess(command, second));
        // The shell's question waits until one start has ended, so the two always overlap.
        const auto ended = [&] {
            return WaitForSingleObject(first.get().hProcess, 0) == WAIT_OBJECT_0 ||
                   WaitForSingleObject(second.get().hProcess, 0) == WAIT_OBJECT_0;
        };
        const WindowHandler answer = [&](const SeenWindow& window) {
            if (window.className != L"#32770" || !GetDlgItem(window.handle, IDYES) || ended()) answerYes(window);
        };
        const WindowWatcher firstWindows(first.get().dwProcessId, answer),
            secondWindows(second.get().dwProcessId, answer);
        EXPECT_EQ(0, waitForProcess(first, 30000));
        EXPECT_EQ(0, waitForProcess(second, 30000));
        EXPECT_TRUE(readRecord(folder).started);
        EXPECT_EQ("mine", fileBytes(sounds + L"mine.osf"));
        EXPECT_EQ("yours", fileBytes(sounds + L"yours.osf"));
        EXPECT_FALSE(exists(sounds + L"other.osf"));
        EXPECT_EQ(1u, count(fileBytes(folder + L"standin-record.txt.starts"), "started=1"));
        EXPECT_EQ(1u, count(fileBytes(install_.logPath()), "Application Initiation"));
    }
}

} // namespace

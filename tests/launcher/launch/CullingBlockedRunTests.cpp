// Culling that cannot back up every kept file removes nothing and the game
// starts anyway. The logo folder that cannot be written comes from
// read-only-folder.sh, since Wine takes a folder's write permission from Unix.
#include "GameFolders.h"
#include "LauncherInstall.h"
#include "ScratchFolder.h"
#include "TestSupport.h"

using namespace testing_support;
using namespace launch_testing;

namespace {

std::vector<std::string> contentsOfAll(const std::wstring& folder, const std::vector<std::wstring>& names)
{
    std::vector<std::string> contents;
    for (const std::wstring& name : names) contents.push_back(contentsOf(folder + name));
    return contents;
}

} // namespace

TEST(CullingBlocked, WithoutABackupOfEveryKeptFileNothingIsRemovedAndTheGameStarts)
{
    ASSERT_TRUE(ownPrefix()) << "these runs change the launcher's shared keys: run them through ctest";
    resetLauncherRegistry();
    setValue(kSystemKey, L"ShowSplash", L"0");
    setValue(kAppKey, L"RunOnce", L"True");
    setValue(kAppKey, L"ClearLogos", L"1");
    setValue(kAppKey, L"KeepLogos", L"mine.ogf");
    const LauncherInstall install(L"Blocked");
    const files_testing::ScratchFolder locked(L"LockedGame");
    locked.file(L"custom\\graphics\\mine.ogf", 10);
    locked.file(L"custom\\graphics\\big.ogf", 200000);

    const std::wstring readOnlyGraphics = readOnlyFolder();
    const std::wstring readOnlyGame = readOnlyGraphics.substr(0, readOnlyGraphics.size() - 16); // "custom\graphics\"
    const struct {
        const char* what;
        std::wstring game;
        std::wstring named; // what the log must name
        bool holdOpen;
    } cases[] = {
        {"a folder that cannot be written", readOnlyGame, readOnlyGraphics + L"~Vantorel kept.new", false},
        {"a kept file held open", locked.path(), locked / L"custom\\graphics\\mine.ogf", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fillGame(c.game, {L"Ace.plt"});
        const std::wstring graphics = c.game + L"custom\\graphics\\";
        const std::vector<std::string> before = contentsOfAll(graphics, {L"mine.ogf", L"big.ogf"});
        raii::UniqueFile held;
        if (c.holdOpen)
            held.reset(CreateFileW(c.named.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        setValue(kAppKey, L"EXEPath", c.game + L"main.exe");
        const RunOutcome out = install.run();
        held.reset();
        EXPECT_EQ(0, out.exitCode);
        EXPECT_TRUE(out.boxText().empty()) << "no box: " << narrow(out.boxText());
        EXPECT_TRUE(readRecord(c.game, 15000).started) << "the game starts";
        EXPECT_EQ(before, contentsOfAll(graphics, {L"mine.ogf", L"big.ogf"})) << "nothing removed";
        EXPECT_FALSE(files_testing::exists(graphics + L"~Vantorel kept.new"));
        const std::string line = "POST - Nothing Culled, The Kept Files Could Not Be Backed Up: ";
        std::string logged;
        for (const std::string& text : out.log)
            if (text.rfind(line, 0) == 0) logged = text.substr(line.size());
        EXPECT_NE(std::string::npos, logged.find(narrow(c.named) + " (")) << "the file and the reason: " << logged;
        EXPECT_GT(logged.size(), narrow(c.named).size() + 40) << logged;
        for (const wchar_t* name : {L"main.exe", L"Ace.plt", L"standin-record.txt", L"standin-record.txt.starts"})
            DeleteFileW((c.game + name).c_str());
    }
}

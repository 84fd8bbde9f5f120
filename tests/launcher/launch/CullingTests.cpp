// The culling against real folders, the real library and the shell's own confirmation (answered from a second
// thread), with the settings in memory.
#include <windows.h>
#include <shellapi.h>

#include "Culling.h"
#include "FakeSettings.h"
#include "GameFolders.h"
#include "LauncherError.h"
#include "ScratchFolder.h"

using namespace vantorel;
using namespace testing_support;
using namespace launch_testing;

namespace {

// Name below the game folder -> contents; compared as a listing of names, sizes and checksums.
using Files = std::map<std::wstring, std::string>;

std::string listing(const Files& files)
{
    std::string text;
    for (const auto& [name, bytes] : files) {
        unsigned long sum = 2166136261u;
        for (unsigned char c : bytes) sum = (sum ^ c) * 16777619u;
        text += narrow(name) + " " + std::to_string(bytes.size()) + " bytes #" + std::to_string(sum) + "\n";
    }
    return text;
}

// Distinct contents of exactly `size` bytes, so a file restored from the wrong backup shows.
std::string bytesOf(const std::wstring& name, size_t size)
{
    std::string bytes;
    while (bytes.size() < size) bytes += narrow(name) + "|";
    bytes.resize(size);
    return bytes;
}

struct StopHere {};

class Culling : public ComTest {
protected:
    void SetUp() override { GetCurrentDirectoryW(MAX_PATH, previous_); }
    void TearDown() override { SetCurrentDirectoryW(previous_); }

    // An empty game folder holding these files.
    void game(const Files& files)
    {
        SetCurrentDirectoryW(previous_);
        scratch_.reset();
        scratch_ = std::make_unique<files_testing::ScratchFolder>(L"Culling");
        writeFile(scratch_->path() + L"main.exe", "MZ");
        for (const auto& [name, bytes] : files) writeFile(scratch_->path() + name, bytes);
    }

    // Every file below the custom folders, with its contents.
    Files custom(const std::wstring& relative = L"custom\\") const
    {
        Files found;
        WIN32_FIND_DATAW entry;
        raii::UniqueFind find(FindFirstFileW((scratch_->path() + relative + L"*").c_str(), &entry));
        for (bool more = bool(find); more; more = FindNextFileW(find.get(), &entry)) {
            const std::wstring name = relative + entry.cFileName;
            if (entry.cFileName[0] == L'.') continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                found.merge(custom(name + L"\\"));
            else
                found[name] = fileBytes(scratch_->path() + name);
        }
        return found;
    }

    void settings(const std::wstring& value, const std::wstring& data)
    {
        settings_.values[FakeSettings::address(value, L"", kAppsKey)] = data;
    }

    // One run of the kind, answering the shell; the log lines it posted.
    std::string cull(const culling::Kind& kind, bool yes = true, const culling::StepHook& hook = {})
    {
        const std::wstring folder = scratch_->path(), logFile = folder + L"culling.log";
        qcLogging log(LogIdentity{folder.substr(0, folder.size() - 1), L"", {L"", L"culling", 1, 1, 32}}, settings_);
        log.LogMode(kLogFile);
        log.StartLog(L"Main");
        {
            DialogAnswers answers(yes ? IDYES : IDNO);
            try {
                culling::cullFolder(kind, folder + L"main.exe", settings_, log, hook);
            } catch (const LauncherError& error) {
                ADD_FAILURE() << "the culling failed: " << narrow(error.description());
            }
        }
        log.StopProc(L"", L"Void");
        const std::string text = fileBytes(logFile);
        DeleteFileW(logFile.c_str());
        return text;
    }

    std::unique_ptr<files_testing::ScratchFolder> scratch_;
    wchar_t previous_[MAX_PATH] = {};
    FakeSettings settings_;
};

const std::wstring S = L"custom\\sounds\\";
const std::wstring G = L"custom\\graphics\\";

// A "No" must neither remove anything nor fail: the launch goes on after it.
TEST_F(Culling, RemovesWhatIsNotKeptOnlyAboveTheThresholdAndWithAKeepList)
{
    const struct {
        const char* what;
        bool taunts;
        const wchar_t* clear;
        const wchar_t* keep;
        size_t bigSize;
        bool yes;
        bool culled;
    } cases[] = {
        {"taunts at the threshold", true, L"1", L"mine.osf", 1000000 - 30, true, false},
        {"taunts one byte above", true, L"1", L"mine.osf", 1000000 - 29, true, true},
        {"logos at the threshold", false, L"1", L"mine.ogf", 100000 - 30, true, false},
        {"logos one byte above", false, L"True", L"mine.ogf", 100000 - 29, true, true},
        {"switch off", true, L"0", L"mine.osf", 2000000, true, false},
        {"switch unreadable counts as off", true, L"maybe", L"mine.osf", 2000000, true, false},
        {"empty keep list", false, L"1", L"", 200000, true, false},
        {"the user answers No", false, L"1", L"mine.ogf", 200000, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring& folder = c.taunts ? S : G;
        const std::wstring ext = c.taunts ? L".osf" : L".ogf";
        // mine (20 bytes) + readme (10 bytes) + big: the folder holds bigSize + 30 bytes; a sub-folder counts not.
        const Files before = {{folder + L"mine" + ext, bytesOf(L"mine", 20)},
                              {folder + L"readme.txt", bytesOf(L"readme", 10)},
                              {folder + L"big" + ext, bytesOf(L"big", c.bigSize)},
                              {folder + L"deeper\\nested" + ext, bytesOf(L"nested", 1000)}};
        game(before);
        settings(c.taunts ? L"ClearTaunts" : L"ClearLogos", c.clear);
        settings(c.taunts ? L"KeepTaunts" : L"KeepLogos", c.keep);
        cull(c.taunts ? culling::taunts() : culling::logos(), c.yes);
        Files expected = before;
        if (c.culled) expected.erase(folder + L"big" + ext);
        EXPECT_EQ(listing(expected), listing(custom()));
    }
}

// A kept name in another letter case keeps the file under the name it has.
TEST_F(Culling, KeptNamesKeepTheirFilesNamesAndMissingOrOutsideOnesAreSkippedAndLogged)
{
    const Files kept = {{S + L"mine.osf", bytesOf(L"mine", 10)},
                        {S + L"MixedCase.osf", bytesOf(L"mixed", 10)},
                        {L"custom\\outside.osf", bytesOf(L"outside", 10)}};
    Files before = kept;
    before[S + L"other.osf"] = bytesOf(L"other", 1000001);
    game(before);
    settings(L"ClearTaunts", L"-1");
    settings(L"KeepTaunts", L"gone.osf|mine.osf|..\\outside.osf|mixedcase.OSF|MIXEDCASE.osf|");
    const std::string log = cull(culling::taunts());
    EXPECT_EQ(listing(kept), listing(custom()));
    EXPECT_NE(std::string::npos, log.find("POST - Kept File Not Found, Skipped: gone.osf")) << log;
    EXPECT_NE(std::string::npos, log.find("POST - Kept Name Is Not A File Name, Skipped: ..\\outside.osf")) << log;
}

// A run stopped after each of its steps in turn, as a kill would stop it: the next run loses no kept file and
// leaves what an uninterrupted run leaves. The last round is not stopped.
TEST_F(Culling, ARunStoppedAtAnyStepIsCompletedByTheNext)
{
    const Files before = {
        {G + L"a.ogf", bytesOf(L"a.ogf", 60000)},   {G + L"a.oga", bytesOf(L"a.oga", 60000)},
        {G + L"b.ogf", bytesOf(L"b.ogf", 1000)},    {G + L"c.oga", bytesOf(L"c.oga", 1000)},
        {G + L"notes.xxx", bytesOf(L"notes", 100)}, {G + L"readme.txt", bytesOf(L"readme", 100)},
    };
    Files expected = before;
    expected.erase(G + L"b.ogf");
    expected.erase(G + L"c.oga");
    settings(L"ClearLogos", L"1");
    settings(L"KeepLogos", L"a.ogf|a.oga");

    int stopAt = 1;
    for (bool stopped = true; stopped; ++stopAt) {
        SCOPED_TRACE(::testing::Message() << "stopped after step " << stopAt);
        game(before);
        stopped = false;
        try {
            cull(culling::logos(), true, [&](int step) {
                if (step == stopAt) throw StopHere{};
            });
        } catch (const StopHere&) {
            stopped = true;
        }
        cull(culling::logos());
        EXPECT_EQ(listing(expected), listing(custom()));
    }
    EXPECT_GT(stopAt, 8) << "every backup, removal and restore is a step";
}

// Wine's shell never applies a pattern to sub-folders, so the runs above cannot tell; on Windows it does unless
// told not to, and the kept files wait in one.
TEST(CullingRules, PatternDeletesNeverRecurseAndStillAsk)
{
    EXPECT_TRUE(culling::kPatternDeleteFlags & FOF_NORECURSION);
    EXPECT_FALSE(culling::kPatternDeleteFlags & (FOF_NOCONFIRMATION | ~0xFFFFL));
}

} // namespace

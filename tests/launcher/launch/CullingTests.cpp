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

// Name below the game folder -> size. Each file holds bytes made from its own name, so one restored from the
// wrong backup shows as kWrongBytes.
using Files = std::map<std::wstring, size_t>;
constexpr size_t kWrongBytes = ~size_t(0);

std::string bytesOf(const std::wstring& path, size_t size)
{
    std::string bytes;
    while (bytes.size() < size) bytes += narrow(path.substr(path.rfind(L'\\') + 1)) + "|";
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
        for (const auto& [name, size] : files) writeFile(scratch_->path() + name, bytesOf(name, size));
    }

    // Every file below the custom folders.
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
            else if (const std::string bytes = fileBytes(scratch_->path() + name); bytes == bytesOf(name, bytes.size()))
                found[name] = bytes.size();
            else
                found[name] = kWrongBytes;
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

// A "No" must neither remove anything nor fail: the launch goes on after it. Nor must a kept file that cannot be
// backed up (held open), after another was: culling is a convenience.
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
        bool holdMine = false; // the backup fails, which the log says with the system's reason
    } cases[] = {
        {"taunts at the threshold", true, L"1", L"mine.osf", 1000000 - 30, true, false},
        {"taunts one byte above", true, L"1", L"mine.osf", 1000000 - 29, true, true},
        {"logos at the threshold", false, L"1", L"mine.ogf", 100000 - 30, true, false},
        {"logos one byte above", false, L"True", L"mine.ogf", 100000 - 29, true, true},
        {"switch off", true, L"0", L"mine.osf", 2000000, true, false},
        {"switch unreadable counts as off", true, L"maybe", L"mine.osf", 2000000, true, false},
        {"empty keep list", false, L"1", L"", 200000, true, false},
        {"the user answers No", false, L"1", L"mine.ogf", 200000, false, false},
        {"a kept file held open", false, L"1", L"readme.txt|mine.ogf", 200000, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring& folder = c.taunts ? S : G;
        const std::wstring ext = c.taunts ? L".osf" : L".ogf";
        // mine + readme + big: the folder holds bigSize + 30 bytes; a sub-folder counts not.
        const Files before = {{folder + L"mine" + ext, 20}, {folder + L"readme.txt", 10},
                              {folder + L"big" + ext, c.bigSize}, {folder + L"deeper\\nested" + ext, 1000}};
        game(before);
        settings(c.taunts ? L"ClearTaunts" : L"ClearLogos", c.clear);
        settings(c.taunts ? L"KeepTaunts" : L"KeepLogos", c.keep);
        const std::wstring mine = scratch_->path() + folder + L"mine" + ext;
        raii::UniqueFile held(c.holdMine ? CreateFileW(mine.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                         : INVALID_HANDLE_VALUE);
        const std::string log = cull(c.taunts ? culling::taunts() : culling::logos(), c.yes);
        held.reset();
        const size_t said = log.find("POST - Nothing Culled, The Kept Files Could Not Be Backed Up: ");
        EXPECT_EQ(c.holdMine, said != std::string::npos && log.find(" (", said) != std::string::npos) << log;
        Files expected = before;
        if (c.culled) expected.erase(folder + L"big" + ext);
        EXPECT_EQ(expected, custom());
    }
}

// A kept name in another letter case keeps the file under the name it has.
TEST_F(Culling, KeptNamesKeepTheirFilesNamesAndMissingOrOutsideOnesAreSkippedAndLogged)
{
    const Files kept = {{S + L"mine.osf", 10}, {S + L"MixedCase.osf", 10}, {L"custom\\outside.osf", 10}};
    Files before = kept;
    before[S + L"other.osf"] = 1000001;
    game(before);
    settings(L"ClearTaunts", L"-1");
    settings(L"KeepTaunts", L"gone.osf|mine.osf|..\\outside.osf|mixedcase.OSF|MIXEDCASE.osf|");
    const std::string log = cull(culling::taunts());
    EXPECT_EQ(kept, custom());
    EXPECT_NE(std::string::npos, log.find("POST - Kept File Not Found, Skipped: gone.osf")) << log;
    EXPECT_NE(std::string::npos, log.find("POST - Kept Name Is Not A File Name, Skipped: ..\\outside.osf")) << log;
}

// A backup left by a killed launch comes back only where its file is missing, even with culling off: a file the
// player replaced since stays as it is.
TEST_F(Culling, RecoveryRestoresMissingKeptFilesAndNeverOverwrites)
{
    const std::wstring backups = S + culling::kBackupFolder + L"\\";
    game({{backups + L"lost.osf", 4}, {backups + L"replaced.osf", 3}, {S + L"replaced.osf", 5}});
    settings(L"ClearTaunts", L"0");
    const std::string log = cull(culling::taunts());
    EXPECT_EQ((Files{{S + L"lost.osf", 4}, {S + L"replaced.osf", 5}}), custom());
    EXPECT_FALSE(files_testing::exists(scratch_->path() + backups));
    EXPECT_NE(std::string::npos, log.find("POST - Kept File Restored: lost.osf")) << log;
    EXPECT_NE(std::string::npos, log.find("POST - Kept File Present, Its Backup Removed: replaced.osf")) << log;
}

// A run stopped after each of its steps in turn, as a kill would stop it: the next run loses no kept file and
// leaves what an uninterrupted run leaves. The last round is not stopped.
TEST_F(Culling, ARunStoppedAtAnyStepIsCompletedByTheNext)
{
    const Files before = {{G + L"a.ogf", 60000}, {G + L"a.oga", 60000},     {G + L"b.ogf", 1000},
                          {G + L"c.oga", 1000},  {G + L"notes.xxx", 100}, {G + L"readme.txt", 100}};
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
        EXPECT_EQ(expected, custom());
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

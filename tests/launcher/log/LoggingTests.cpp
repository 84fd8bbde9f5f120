// The log writer: exact lines, modes, the run number and the file itself.
#include <gtest/gtest.h>

#include "FakeSettings.h"
#include "LauncherInstall.h"
#include "LogFile.h"
#include "LogFormat.h"
#include "Logging.h"
#include "TestSupport.h"

using namespace vantorel;

namespace {

class FixedClock : public LogClock {
public:
    std::wstring timeText() override { return L"9:41 AM"; }
    std::wstring longDateText() override { return L"Friday, January 3, 2003"; }
};

const std::string kOuter =
    "-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=";
const std::string kInner =
    "--.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.--";
const std::wstring kLogValue = FakeSettings::address(L"Log", L"", kAppsKey);

class LoggingTest : public ::testing::Test {
protected:
    void SetUp() override { CreateDirectoryW(folder_.c_str(), nullptr); }
    void TearDown() override
    {
        DeleteFileW(logPath().c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    qcLogging makeLog(long mode)
    {
        qcLogging log(LogIdentity{folder_, L"", {L"", L"Vantorel", 1, 1, 32}}, store_, clock_);
        log.LogMode(mode);
        return log;
    }
    std::wstring logPath() const { return folder_ + L"\\Vantorel.log"; }
    bool logExists() const { return GetFileAttributesW(logPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::vector<std::string> fileLines() const { return testing_support::logLines(logPath()); }

    std::wstring folder_ = testing_support::programFolder() + L"logtest";
    FakeSettings store_;
    FixedClock clock_;
};

} // namespace

TEST(LogFormat, TheNextRunNumber)
{
    const struct {
        const wchar_t* stored;
        const wchar_t* next;
    } cases[] = {
        {L"0", L"1"}, {L"41", L"42"}, {L"", L"1"}, {L"abc", L"1"}, {L"7x", L"8"}, {L"-3", L"-2"},
        {L"99999999999999999999999", L"9223372036854775807"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.next, logformat::nextLogNumber(c.stored)) << c.stored;
}

TEST_F(LoggingTest, ARunWritesHeaderTraceAndFooterLineForLine)
{
    store_.values[kLogValue] = L"6";
    qcLogging log = makeLog(kLogFile);
    EXPECT_EQ(0, log.StartLog(L"ignored"));
    log.Post(L"Empty", L"");
    log.StartProc(L"Load");
    log.Post(L"Inside", L"v");
    log.StopProc(L"done", L"ok");
    log.StopProc(L"", L"Void");
    log.StopLog();

    const std::vector<std::string> expected = {
        kOuter,
        "Log Number: 6",
        " (Vantorel.Exe) - Build: 1.1.32 - Application Initiation. Friday, January 3, 2003 @ 9:41 AM",
        kInner,
        "    BEGIN Application Initialization <@>9:41 AM",
        "        INITIALIZATION - Application Directory  : " + toAnsi(folder_),
        "        INITIALIZATION - Command Line Parameters: ",
        "        POST - Empty: ",
        "        BEGIN Procedure - Load <@> 9:41 AM",
        "            POST - Inside: v",
        "        END   Procedure - Load <@> 9:41 AM| Procedure results: done: ok",
        "    END   Application Initialization <@>9:41 AM",
        kInner,
        " (Vantorel.Exe) - Build: 1.1.32 - Application Termination. Friday, January 3, 2003 <|> 9:41 AM",
        kOuter,
    };
    EXPECT_EQ(expected, fileLines());
    EXPECT_EQ(L"7", store_.values[kLogValue]);
    EXPECT_EQ(0, log.LogState());

    log.Post(L"after", L"stop");
    EXPECT_EQ(expected.size(), fileLines().size()) << "a stopped log traces nothing";
}

TEST_F(LoggingTest, OnlyAStartedFileModeLogWritesAFileAndOnlyAStartCountsTheRun)
{
    qcLogging off = makeLog(kLogOff);
    EXPECT_EQ(0, off.StartLog());
    EXPECT_EQ(0, off.LogState());
    qcLogging notStarted = makeLog(kLogFile);
    notStarted.Post(L"x", L"y");
    notStarted.StartProc(L"P");
    notStarted.StopLog();
    EXPECT_EQ(0, store_.reads);

    qcLogging memory = makeLog(kLogMemory);
    EXPECT_EQ(0, memory.StartLog());
    memory.Post(L"x", L"y");
    memory.StopLog();
    EXPECT_FALSE(logExists());
    EXPECT_EQ((std::vector<std::wstring>{kLogValue + L"=1"}), store_.writes);
}

TEST_F(LoggingTest, ExtraStopsNeverUnderflowAndDepthIsBounded)
{
    qcLogging log = makeLog(kLogMemory);
    log.StartLog();
    for (int i = 0; i < 300; ++i) log.StartProc(L"P");
    EXPECT_EQ(255u, log.Depth());
    for (int i = 0; i < 310; ++i) log.StopProc();
    EXPECT_EQ(0u, log.Depth());
    EXPECT_EQ(0u, log.OpenProcedures());
}

// Neither failure is reported as success: the log stays not started, the reset says it did not delete.
TEST_F(LoggingTest, AFileThatCannotBeOpenedOrDeletedIsReported)
{
    qcLogging unopenable = makeLog(kLogFile);
    unopenable.LogPath(folder_ + L"\\missing\\");
    EXPECT_EQ(-1, unopenable.StartLog());
    EXPECT_EQ(0, unopenable.LogState());

    qcLogging log = makeLog(kLogFile);
    ASSERT_EQ(0, log.StartLog());
    ASSERT_TRUE(logExists());
    EXPECT_EQ(0, log.ResetLog());
    EXPECT_FALSE(logExists());
    EXPECT_EQ(0, log.ResetLog()) << "a log that is already gone is not a failure";

    raii::UniqueFile locked(CreateFileW(logPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(locked);
    EXPECT_EQ(-1, log.ResetLog());
}

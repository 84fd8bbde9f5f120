// The log writer: exact lines, indentation, modes, the run number and the file itself.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "FakeSettings.h"
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

std::string readBytes(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::vector<std::string> linesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    EXPECT_EQ(bytes.size(), start) << "every line ends in CR LF";
    return lines;
}

std::string narrow(const std::wstring& text) { return toAnsi(text); }

const std::string kOuter =
    "-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=-=--=";
const std::string kInner =
    "--.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.----.--";

class LoggingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = testing_support::programFolder() + L"logtest";
        CreateDirectoryW(folder_.c_str(), nullptr);
        DeleteFileW(logPath().c_str());
    }
    void TearDown() override
    {
        DeleteFileW(logPath().c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    qcLogging makeLog(const std::wstring& commandLine = L"/x")
    {
        return qcLogging(LogIdentity{folder_, commandLine, {L"", L"Vantorel", 1, 1, 32}}, store_, clock_);
    }
    std::wstring logPath() const { return folder_ + L"\\Vantorel.log"; }
    std::vector<std::string> fileLines() const { return linesOf(readBytes(logPath())); }

    std::wstring folder_;
    FakeSettings store_;
    FixedClock clock_;
};

} // namespace

TEST(LogFormat, SeparatorsAreExactly120CharactersOfTheirPattern)
{
    EXPECT_EQ(kOuter, narrow(logformat::outerSeparator()));
    EXPECT_EQ(kInner, narrow(logformat::innerSeparator()));
    EXPECT_EQ(120u, logformat::separator(L"ab").size());
    EXPECT_EQ(120u, logformat::separator(L"").size());
}

TEST(LogFormat, NextLogNumberTakesTheLeadingNumberOrStartsAtOne)
{
    const struct {
        const wchar_t* stored;
        const wchar_t* next;
    } cases[] = {
        {L"0", L"1"},   {L"41", L"42"},     {L"", L"1"},        {L"abc", L"1"},
        {L"7x", L"8"},  {L" 12", L"13"},    {L"-3", L"-2"},     {L"+5", L"6"},
        {L"3.9", L"4"}, {L"99999999999999999999999", L"9223372036854775807"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.next, logformat::nextLogNumber(c.stored)) << c.stored;
}

TEST_F(LoggingTest, ARunWritesHeaderTraceAndFooterLineForLine)
{
    store_.values[FakeSettings::address(L"Log", L"", kAppsKey)] = L"6";
    qcLogging log = makeLog(L"");
    EXPECT_EQ(folder_ + L"\\", log.LogPath());
    EXPECT_EQ(L"Vantorel.log", log.LogFile());
    log.LogMode(kLogFile);
    EXPECT_EQ(0, log.StartLog(L"ignored"));
    EXPECT_EQ(1, log.LogState());
    log.Post(L"Empty", L"");
    log.StartProc(L"Load");
    log.Post(L"Inside", L"v");
    log.StopProc(L"done", L"ok");
    log.StopProc(L"", L"Void");
    log.StopLog();

    const std::string folder = narrow(folder_);
    const std::vector<std::string> expected = {
        kOuter,
        "Log Number: 6",
        " (Vantorel.Exe) - Build: 1.1.32 - Application Initiation. Friday, January 3, 2003 @ 9:41 AM",
        kInner,
        "    BEGIN Application Initialization <@>9:41 AM",
        "        INITIALIZATION - Application Directory  : " + folder,
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
    EXPECT_EQ(L"7", store_.values[FakeSettings::address(L"Log", L"", kAppsKey)]);
    EXPECT_EQ(0, log.LogState());
    EXPECT_EQ(0u, log.Depth());
}

TEST_F(LoggingTest, ASecondStartSkipsTheHeaderAndResetsDepthAndStack)
{
    qcLogging log = makeLog();
    log.LogMode(kLogFile);
    log.StartLog();
    log.StartProc(L"Deep");
    log.StartProc(L"Deeper");
    log.StartLog();
    EXPECT_EQ(2u, log.Depth());
    EXPECT_EQ(1u, log.OpenProcedures());
    const auto lines = fileLines();
    ASSERT_EQ(12u, lines.size());
    EXPECT_EQ("    BEGIN Application Initialization <@>9:41 AM", lines[9]);
}

TEST_F(LoggingTest, MemoryModeTracesWithoutAFileButStillCountsTheRun)
{
    qcLogging log = makeLog();
    log.LogMode(kLogMemory);
    EXPECT_EQ(0, log.StartLog());
    log.StartProc(L"P");
    EXPECT_EQ(3u, log.Depth());
    log.StopProc();
    log.StopLog();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(logPath().c_str()));
    EXPECT_EQ(L"1", store_.values[FakeSettings::address(L"Log", L"", kAppsKey)]);
}

TEST_F(LoggingTest, NothingIsTracedWhenOffNotStartedOrStopped)
{
    qcLogging off = makeLog();
    EXPECT_EQ(0, off.StartLog());
    EXPECT_EQ(0, off.LogState());
    off.Post(L"x", L"y");
    off.StopLog();

    qcLogging notStarted = makeLog();
    notStarted.LogMode(kLogFile);
    notStarted.Post(L"x", L"y");
    notStarted.StartProc(L"P");
    notStarted.StopProc();
    notStarted.StopLog();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(logPath().c_str()));
    EXPECT_TRUE(store_.calls.empty()) << "no run number is read or counted";

    notStarted.StartLog();
    notStarted.StopLog();
    const size_t written = fileLines().size();
    notStarted.Post(L"after", L"stop");
    notStarted.StartProc(L"P");
    EXPECT_EQ(written, fileLines().size());
}

TEST_F(LoggingTest, UnbalancedStopsAreIgnoredAndDepthIsBounded)
{
    qcLogging log = makeLog();
    log.LogMode(kLogFile);
    log.StartLog();
    log.StopProc(L"", L"Void");
    const size_t lines = fileLines().size();
    log.StopProc(L"extra", L"x");
    log.StopProc(L"extra", L"x");
    EXPECT_EQ(lines, fileLines().size());
    EXPECT_EQ(1u, log.Depth());
    EXPECT_EQ(0u, log.OpenProcedures());

    log.LogMode(kLogMemory);
    for (int i = 0; i < 300; ++i) log.StartProc(L"P");
    EXPECT_EQ(255u, log.Depth());
    for (int i = 0; i < 310; ++i) log.StopProc();
    EXPECT_EQ(0u, log.Depth());
}

TEST_F(LoggingTest, AProcedureNamedMainClosesLikeTheStartEntry)
{
    qcLogging log = makeLog();
    log.LogMode(kLogFile);
    log.StartLog();
    log.StartProc(L"MAIN");
    log.StopProc(L"d", L"r");
    EXPECT_EQ("        END   Application Initialization <@>9:41 AM", fileLines().back());
}

TEST_F(LoggingTest, AnUnopenableFileLeavesTheLogNotStarted)
{
    qcLogging log = makeLog();
    log.LogMode(kLogFile);
    log.LogPath(folder_ + L"\\missing\\");
    EXPECT_EQ(-1, log.StartLog());
    EXPECT_EQ(0, log.State());
    log.Post(L"x", L"y");
}

TEST_F(LoggingTest, ResetLogDeletesTheLogFile)
{
    qcLogging log = makeLog();
    log.LogMode(kLogFile);
    log.StartLog();
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(logPath().c_str()));
    EXPECT_EQ(0, log.ResetLog());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(logPath().c_str()));
    EXPECT_EQ(0, log.ResetLog()) << "an absent file is already reset";

    log.LogFile(L"");
    EXPECT_EQ(-1, log.ResetLog()) << "the folder itself is not a log file";
}

TEST_F(LoggingTest, LinesAreWrittenInTheAnsiCodePage)
{
    qcLogging log = makeLog();
    log.LogMode(kLogFile);
    log.StartLog();
    log.Post(L"User", L"Jos\u00e9");
    std::string expected = "        POST - User: " + toAnsi(L"Jos\u00e9");
    EXPECT_EQ(expected, fileLines().back());
    EXPECT_EQ(1u, toAnsi(L"\u00e9").size()) << "one byte per character in a single-byte code page";
}

TEST(LogPath, ADriveRootFolderGivesTwoBackslashes)
{
    FakeSettings store;
    qcLogging log(LogIdentity{L"C:\\", L"", {L"", L"Vantorel", 1, 1, 32}}, store);
    EXPECT_EQ(L"C:\\\\", log.LogPath());
}

TEST(LocaleText, TimeHasHoursAndMinutesAndTheDateIsTheLongForm)
{
    SYSTEMTIME moment{};
    moment.wYear = 2003;
    moment.wMonth = 1;
    moment.wDay = 3;
    moment.wDayOfWeek = 5;
    moment.wHour = 21;
    moment.wMinute = 7;
    moment.wSecond = 59;
    const std::wstring time = localeTime(moment);
    EXPECT_NE(std::wstring::npos, time.find(L"07")) << "minutes present";
    EXPECT_EQ(std::wstring::npos, time.find(L"59")) << "no seconds";
    const std::wstring date = localeLongDate(moment);
    EXPECT_NE(std::wstring::npos, date.find(L"2003"));
    EXPECT_GT(date.size(), 10u);
}

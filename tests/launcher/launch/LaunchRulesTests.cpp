// The launch and culling decisions from tables; the end-to-end runs check one
// case of each against the real launcher, library and stand-in game.
#include <gtest/gtest.h>

#include <cmath>

#include "CullingRules.h"
#include "LaunchRules.h"

using namespace vantorel;

TEST(LaunchRules, BooleanTextsAndTheirDefaults)
{
    const struct {
        const wchar_t* text;
        int expected; // 0 false, 1 true, -1 not a boolean text
    } cases[] = {
        {L"0", 0},      {L"1", 1},       {L"-1", 1},      {L"2", 1},     {L" 0 ", 0},    {L"0.0", 0},
        {L"0.5", 1},    {L"1e3", 1},     {L"True", 1},    {L"FALSE", 0}, {L" true", 1},  {L"false ", 0},
        {L"", -1},      {L"yes", -1},    {L"0x", -1},     {L"inf", -1},  {L"nan", -1},   {L"0x1", -1},
        {L"Truely", -1}, {L"- 1", -1},   {L"1-", -1},
    };
    for (const auto& c : cases) {
        const std::optional<bool> value = launch::readBooleanText(c.text);
        EXPECT_EQ(c.expected, value ? int(*value) : -1) << "'" << c.text << "'";
    }
    EXPECT_FALSE(launch::readBooleanText(std::wstring(L"1\0", 2)).has_value());
}

TEST(LaunchRules, MarkerDriveAndCommandLine)
{
    const struct {
        const wchar_t* parameters;
        const wchar_t* expected;
    } markers[] = {
        {L"", L" -launched"},          {L"-nointro", L"-nointro -launched"},
        {L"-LAUNCHED", L"-LAUNCHED -launched"}, {L"xlaunched", L"xlaunched"},
        {L"-launched -x", L"-launched -x"},
    };
    for (const auto& c : markers) EXPECT_EQ(c.expected, launch::withLaunchMarker(c.parameters)) << c.parameters;

    EXPECT_EQ(L"C:", launch::driveOf(L"C:\\Games\\main.exe"));
    EXPECT_EQ(L"d:", launch::driveOf(L"d:main.exe"));
    EXPECT_EQ(L"", launch::driveOf(L"\\\\server\\share\\main.exe"));
    EXPECT_EQ(L"", launch::driveOf(L"1:\\main.exe"));
    EXPECT_EQ(L"", launch::driveOf(L"C"));
    EXPECT_EQ(L"C:\\Games\\D3\\main.exe", launch::withBackslashes(L"C:/Games\\D3/main.exe"));

    const struct {
        const wchar_t* exe;
        std::optional<std::wstring> pilot;
        const wchar_t* parameters;
        const wchar_t* expected;
    } lines[] = {
        {L"G\\main.exe", L"ACE", L"-nointro -launched", L"G\\main.exe -pilot ACE -nointro -launched"},
        {L"G\\main.exe", std::nullopt, L" -launched", L"G\\main.exe  -launched"},
        {L"C:\\Games\\Descent 3\\main.exe", std::nullopt, L"-x", L"\"C:\\Games\\Descent 3\\main.exe\" -x"},
        {L"\"C:\\A B\\main.exe\"", std::nullopt, L"-x", L"\"C:\\A B\\main.exe\" -x"},
        {L"G\\main.exe", L"Ace Pilot", L"-x", L"G\\main.exe -pilot \"Ace Pilot\" -x"},
    };
    for (const auto& c : lines)
        EXPECT_EQ(c.expected, launch::gameCommandLine(c.exe, c.pilot, c.parameters)) << c.expected;
}

TEST(LaunchRules, PilotChoiceStaysInRange)
{
    const double belowOne = 0.99999999999999989; // the largest double below 1
    for (int count : {1, 2, 3, 7, 1000, 32767}) {
        EXPECT_EQ(count - 1, launch::pilotIndex(belowOne, count)) << count;
        EXPECT_EQ(0, launch::pilotIndex(0.0, count));
    }
    EXPECT_EQ(1, launch::pilotIndex(0.5, 3));
    EXPECT_EQ(0, launch::pilotIndex(-0.1, 3));
    for (double beyond : {1.0, 1e300, HUGE_VAL}) EXPECT_EQ(2, launch::pilotIndex(beyond, 3)) << beyond;
    EXPECT_EQ(launch::drawUniform(42), launch::drawUniform(42)) << "the draw is a function of its seed";
}

TEST(CullingRules, KeepListsAndBareNames)
{
    using List = std::vector<std::wstring>;
    EXPECT_EQ((List{L"", L" a.osf", L""}), culling::splitKeepList(L"| a.osf|"));

    const struct {
        const wchar_t* name;
        bool bare;
    } names[] = {
        {L"mine.osf", true}, {L"a", true}, {L".hidden", true}, {L"a b.ogf", true}, {L"..a.oga", true},
        {L"", false}, {L".", false}, {L"..", false}, {L"..\\x.osf", false}, {L"sub/x.osf", false},
        {L"C:x.osf", false}, {L"\\\\server\\x", false}, {L"*.osf", false}, {L"a?.osf", false},
        {L"CON", false}, {L"nul.osf", false}, {L"com1.ogf", false}, {L"LPT9", false}, {L"COM10.osf", true},
        {L"console.osf", true},
    };
    for (const auto& c : names) EXPECT_EQ(c.bare, culling::isBareFileName(c.name)) << c.name;
    EXPECT_FALSE(culling::isBareFileName(std::wstring(L"a\0.osf", 6)));

    const culling::KeepPlan plan = culling::planKeeps(L"|a.ogf|a.oga||..\\up.osf|a.ogf|x:y|");
    EXPECT_EQ((List{L"a.ogf", L"a.oga"}), plan.kept);
    EXPECT_EQ((List{L"..\\up.osf", L"x:y"}), plan.refused);
}

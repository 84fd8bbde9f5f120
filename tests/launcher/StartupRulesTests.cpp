// The start-up decisions, from the texts they are made from.
#include <gtest/gtest.h>

#include "StartupRules.h"
#include "VersionInfo.h"

using namespace vantorel::rules;

TEST(StartupRules, ResetSwitchAnywhereInAnyCase)
{
    const struct {
        const wchar_t* commandLine;
        bool reset;
    } cases[] = {
        {L"/SETUP", true},          {L"-setup", true},  {L"x/SeTuPx", true}, {L"/setup/OPTIONS", true},
        {L"SETUP", false},          {L"/ SETUP", false}, {L"", false},       {L"\\SETUP", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.reset, requestsReset(c.commandLine)) << c.commandLine;
}

TEST(StartupRules, OptionsOnlyAsAWholePieceAfterASlash)
{
    const struct {
        const wchar_t* commandLine;
        bool options;
    } cases[] = {
        {L"/OPTIONS", true},     {L"/options", true},      {L"/Properties", true}, {L"/setup/OPTIONS", true},
        {L"x/y/OPTIONS", true},  {L"/OPTIONS/", true},     {L"/OPTIONS ", false},  {L"/OPTIONS /x", false},
        {L"OPTIONS", false},     {L"-OPTIONS", false},     {L"/ OPTIONS", false},  {L"/OPTION", false},
        {L"", false},            {L"/", false},            {L"OPTIONS/", false},   {L"/PROPERTIESX", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.options, requestsOptions(c.commandLine)) << c.commandLine;
}

TEST(StartupRules, ExactTextsDecideSplashAndFirstRun)
{
    EXPECT_TRUE(showsSplash(L"1"));
    for (const wchar_t* other : {L" 1", L"01", L"True", L"1 ", L"", L"-1"}) EXPECT_FALSE(showsSplash(other)) << other;
    EXPECT_TRUE(isFirstRun(L"False"));
    for (const wchar_t* other : {L"false", L"FALSE", L"True", L"", L"0", L"False "})
        EXPECT_FALSE(isFirstRun(other)) << other;
}

TEST(StartupRules, AutoloadInAnyCaseRegistersNoApplicationPath)
{
    EXPECT_TRUE(registersAppPath(L"Vantorel"));
    EXPECT_TRUE(registersAppPath(L"Autoload2"));
    EXPECT_FALSE(registersAppPath(L"AUTOLOAD"));
    EXPECT_FALSE(registersAppPath(L"AutoLoad"));
}

TEST(StartupRules, IdentityAndPathsJoinTextsAsTheyStand)
{
    EXPECT_EQ(L"Vantorel", baseNameOf(L"C:\\Games\\Vantorel.exe"));
    EXPECT_EQ(L"AUTOLOAD", baseNameOf(L"C:\\AUTOLOAD.EXE"));
    EXPECT_EQ(L"C:\\Games", folderOf(L"C:\\Games\\Vantorel.exe"));
    EXPECT_EQ(L"C:\\", folderOf(L"C:\\Vantorel.exe"));
    EXPECT_EQ(L"\\\\server\\share", folderOf(L"\\\\server\\share\\Vantorel.exe"));

    EXPECT_EQ(L"C:\\\\Vantorel.exe", appPathData(L"C:\\", L"Vantorel"));
    EXPECT_EQ(L"C:\\\\readme.txt", readmePath(L"C:\\"));
    EXPECT_EQ(L"C:\\Games\\readme.txt", readmePath(L"C:\\Games"));
    EXPECT_EQ(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\app paths\\Vantorel.exe", appPathKey(L"Vantorel"));
    EXPECT_EQ(L"Software\\Brannock\\Apps\\AutoLoad", applicationKey(L"AutoLoad"));
    EXPECT_EQ(L"-1", numberText(true));
    EXPECT_EQ(L"0", numberText(false));
}

TEST(StartupRules, ArgumentsFollowTheProgramName)
{
    const struct {
        const wchar_t* full;
        const wchar_t* arguments;
    } cases[] = {
        {L"Vantorel.exe /setup", L"/setup"},
        {L"\"C:\\My Games\\Vantorel.exe\"  /OPTIONS ", L"/OPTIONS "},
        {L"Vantorel.exe", L""},
        {L"\"Vantorel.exe\"", L""},
        {L"\"unclosed /x", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.arguments, argumentsOf(c.full)) << c.full;
}

TEST(VersionInfo, MajorMinorAndRevisionComeFromTheFirstThreeFields)
{
    VS_FIXEDFILEINFO fixed{};
    fixed.dwFileVersionMS = MAKELONG(1, 1);
    fixed.dwFileVersionLS = MAKELONG(0, 32);
    const vantorel::ProgramVersion version = vantorel::versionFromFixed(fixed);
    EXPECT_EQ(1, version.major);
    EXPECT_EQ(1, version.minor);
    EXPECT_EQ(32, version.revision);
}

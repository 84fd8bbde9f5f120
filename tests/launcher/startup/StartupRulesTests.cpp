// The start-up decisions, from the texts they are made from; the end-to-end
// runs take one case of each road, these tables the edges.
#include <gtest/gtest.h>

#include "StartupRules.h"

using namespace vantorel::rules;

TEST(StartupRules, ResetAndOptionsSwitches)
{
    const struct {
        const wchar_t* commandLine;
        bool reset, options;
    } cases[] = {
        {L"-setup", true, false},        {L"SETUP", false, false},       {L"/ SETUP", false, false},
        {L"\\SETUP", false, false},      {L"x/y/OPTIONS", false, true},  {L"/OPTIONS/", false, true},
        {L"/OPTIONS /x", false, false},  {L"/ OPTIONS", false, false},   {L"/OPTION", false, false},
        {L"OPTIONS/", false, false},     {L"/PROPERTIESX", false, false}, {L"/", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.reset, requestsReset(c.commandLine)) << c.commandLine;
        EXPECT_EQ(c.options, requestsOptions(c.commandLine)) << c.commandLine;
    }
}

TEST(StartupRules, ArgumentsAndPaths)
{
    EXPECT_EQ(L"/OPTIONS ", argumentsOf(L"\"C:\\My Games\\Vantorel.exe\"  /OPTIONS "));
    EXPECT_EQ(L"/setup", argumentsOf(L"Vantorel.exe /setup"));
    EXPECT_EQ(L"", argumentsOf(L"\"unclosed /x"));
    EXPECT_EQ(L"AUTOLOAD", baseNameOf(L"C:\\AUTOLOAD.EXE"));
    for (const wchar_t* shown : {L"1", L" 1", L"True", L"-1", L"unreadable"}) EXPECT_TRUE(showsSplash(shown)) << shown;
    for (const wchar_t* hidden : {L"0", L"False", L"false "}) EXPECT_FALSE(showsSplash(hidden)) << hidden;
    EXPECT_TRUE(isFirstRun(L"False") && !isFirstRun(L"false"));
    EXPECT_FALSE(registersAppPath(L"AUTOLOAD"));
    EXPECT_TRUE(registersAppPath(L"Autoload2"));
    EXPECT_EQ(L"C:\\", folderOf(L"C:\\Vantorel.exe"));
    EXPECT_EQ(L"\\\\server\\share", folderOf(L"\\\\server\\share\\Vantorel.exe"));
    EXPECT_EQ(L"C:\\\\Vantorel.exe", appPathData(L"C:\\", L"Vantorel"));
    EXPECT_EQ(L"C:\\\\readme.txt", readmePath(L"C:\\"));
}

TEST(StartupRules, TheLogMovesToThePlayersFolderOnlyWhenItsOwnCannotBeWritten)
{
    const std::wstring own = L"C:\\Program Files\\Brannock\\Vantorel\\";
    const struct {
        bool writable;
        const wchar_t* localAppData;
        std::wstring folder;
    } cases[] = {
        {true, L"C:\\Users\\p\\AppData\\Local", own},
        {false, L"C:\\Users\\p\\AppData\\Local", L"C:\\Users\\p\\AppData\\Local\\Brannock\\Vantorel\\"},
        {false, L"D:\\", L"D:\\Brannock\\Vantorel\\"},
        {false, L"", own},
    };
    for (const auto& c : cases) EXPECT_EQ(c.folder, logFolder(own, c.writable, c.localAppData)) << c.localAppData;
}

TEST(StartupRules, TheResetNeverReachesAboveTheApplicationKey)
{
    EXPECT_EQ(L"Software\\Brannock\\Apps\\Vantorel", applicationKey(L"Vantorel").value_or(L"refused"));
    EXPECT_FALSE(applicationKey(L"").has_value());
    EXPECT_FALSE(applicationKey(L"a\\b").has_value());
    EXPECT_FALSE(applicationKey(std::wstring(L"a\0b", 3)).has_value());
}

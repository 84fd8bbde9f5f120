// The value rules of qfcLibWindows: verbs, applets, the shell's error texts, limits.
#include <gtest/gtest.h>

#include "forms/ShellRules.h"

using namespace quillon::ShellRules;

namespace {

std::wstring verb(long action)
{
    const wchar_t* text = ShellVerb(action);
    return text ? text : L"<none>";
}

} // namespace

TEST(ShellRules, VerbsFollowTheShowActionsAndOtherValuesPassNone)
{
    const std::pair<long, std::wstring> cases[] = {
        {0, L"open"}, {1, L"explore"}, {2, L"edit"},       {3, L"print"}, {4, L"properties"},
        {5, L"find"}, {6, L"play"},    {7, L"<none>"},     {-1, L"<none>"}, {0x7fffffff, L"<none>"},
    };
    for (const auto& [action, expected] : cases) EXPECT_EQ(expected, verb(action)) << action;
}

TEST(ShellRules, AppletCommandLinesAndThePreviousAppletRule)
{
    const std::wstring runner = L"rundll32.exe shell32.dll,Control_RunDLL ";
    std::wstring previous;
    EXPECT_EQ(runner, AppletCommandLine(-1, previous)) << "nothing kept before the first call";
    EXPECT_EQ(runner, AppletCommandLine(0, previous)) << "the Control Panel itself: the runner and its blank";
    EXPECT_EQ(runner + L"desk.cpl,,3", AppletCommandLine(9, previous));
    EXPECT_EQ(runner + L"desk.cpl,,3", AppletCommandLine(24, previous)) << "out of range keeps the previous applet";
    EXPECT_EQ(runner + L"desk.cpl,,3", AppletCommandLine(-5, previous));
    EXPECT_EQ(runner + L"s32lucp1.cpl", AppletCommandLine(23, previous));
    EXPECT_EQ(runner, AppletCommandLine(0, previous)) << "index 0 replaces the kept applet with nothing";
    EXPECT_EQ(runner, AppletCommandLine(100, previous));

    const std::pair<long, std::wstring> table[] = {
        {1, L"access.cpl,,5"}, {2, L"access.cpl,,3"}, {3, L"access.cpl,,1"},  {4, L"access.cpl,,4"},
        {5, L"access.cpl,,2"}, {6, L"desk.cpl,,0"},   {7, L"desk.cpl,,2"},    {8, L"desk.cpl,,1"},
        {10, L"timedate.cpl"}, {11, L"inetcpl.cpl"},  {12, L"intl.cpl"},      {13, L"joy.cpl"},
        {14, L"main.cpl"},     {15, L"mlcfg32.cpl"},  {16, L"mmsys.cpl"},     {17, L"modem.cpl"},
        {18, L"netcpl.cpl"},   {19, L"odbccp32.cpl"}, {20, L"password.cpl"},  {21, L"sysdm.cpl"},
        {22, L"themes.cpl"},
    };
    for (const auto& [index, applet] : table) EXPECT_EQ(applet, AppletText(index)) << index;
}

TEST(ShellRules, ErrorBoxTextsAreTheShellsOwn)
{
    EXPECT_STREQ(L"  ShellExecute - Error", kShellErrorTitle);
    EXPECT_EQ(L"The following error occured while trying to start the specified file, folder, URL, Email, or "
              L"document:\r\rError Number = 31\rError Description = There is no application associated with the "
              L"given file name extension. This error will also be returned if you attempt to print a file that is "
              L"not printable.",
              ShellErrorMessage(31));
    const std::pair<long, std::wstring> table[] = {
        {0, L"The operating system is out of memory or resources."},
        {2, L"The specified file was not found."},
        {11, L"The .exe file is invalid (non-Win32\u00ae .exe or error in .exe image)."},
        {30, L"The DDE transaction could not be completed because other DDE transactions were being processed."},
        {32, L"The specified dynamic-link library was not found."},
        {4, L"Unknown Error."}, {33, L"Unknown Error."}, {-1, L"Unknown Error."},
    };
    for (const auto& [code, text] : table) EXPECT_EQ(text, ShellErrorDescription(code)) << code;
    EXPECT_NE(std::wstring::npos, ShellErrorMessage(-7).find(L"Error Number = -7\rError Description = Unknown"));
}

TEST(ShellRules, TrimmingAndWhatMayBeHandedToTheSystem)
{
    EXPECT_EQ(L"", TrimSpaces(L"    "));
    EXPECT_EQ(L"a b", TrimSpaces(L"  a b "));
    EXPECT_EQ(L"\ta\t", TrimSpaces(L" \ta\t ")) << "only spaces are trimmed";

    EXPECT_TRUE(IsPassable(L""));
    EXPECT_TRUE(IsPassable(std::wstring(kMaxCommandLine, L'x')));
    EXPECT_FALSE(IsPassable(std::wstring(kMaxCommandLine + 1, L'x'))) << "one more than the system starts";
    EXPECT_FALSE(IsPassable(std::wstring(L"notepad.exe\0 evil.exe", 21)));
}

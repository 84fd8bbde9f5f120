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
        {0, L"open"}, {3, L"print"}, {6, L"play"}, {7, L"<none>"}, {-1, L"<none>"},
    };
    for (const auto& [action, expected] : cases) EXPECT_EQ(expected, verb(action)) << action;
}

TEST(ShellRules, AppletCommandLinesAndThePreviousAppletRule)
{
    const std::wstring runner = L"\"C:\\System\\rundll32.exe\" shell32.dll,Control_RunDLL ";
    std::wstring previous;
    const std::pair<long, std::wstring> calls[] = {
        {-1, L""},                // nothing kept before the first call
        {0, L""},                 // the Control Panel itself: the runner and its blank
        {9, L"desk.cpl,,3"},      {24, L"desk.cpl,,3"}, // out of range keeps the previous applet
        {-5, L"desk.cpl,,3"},     {1, L"access.cpl,,5"}, {10, L"timedate.cpl"}, {23, L"s32lucp1.cpl"},
        {0, L""},                 // index 0 replaces the kept applet with nothing
        {100, L""},
    };
    for (const auto& [index, applet] : calls)
        EXPECT_EQ(runner + applet, AppletCommandLine(L"C:\\System\\rundll32.exe", index, previous)) << index;
}

TEST(ShellRules, ErrorBoxTexts)
{
    EXPECT_STREQ(L"  ShellExecute - Error", kShellErrorTitle);
    EXPECT_EQ(L"The following error occured while trying to start the specified file, folder, URL, Email, or "
              L"document:\r\rError Number = 31\rError Description = There is no application associated with the "
              L"given file name extension. This error will also be returned if you attempt to print a file that is "
              L"not printable.",
              ShellErrorMessage(31));
    const std::pair<long, std::wstring> table[] = {
        {0, L"The operating system is out of memory or resources."},
        {11, L"The .exe file is invalid (non-Win32\u00ae .exe or error in .exe image)."},
        {4, L"Unknown Error."}, {33, L"Unknown Error."}, {-1, L"Unknown Error."},
    };
    for (const auto& [code, text] : table) EXPECT_EQ(text, ShellErrorDescription(code)) << code;
}

TEST(ShellRules, TrimmingAndWhatMayBeHandedToTheSystem)
{
    EXPECT_EQ(L"a b", TrimSpaces(L"  a b "));
    EXPECT_EQ(L"\ta\t", TrimSpaces(L" \ta\t ")) << "only spaces are trimmed";
    EXPECT_TRUE(IsPassable(std::wstring(kMaxCommandLine, L'x')));
    EXPECT_FALSE(IsPassable(std::wstring(kMaxCommandLine + 1, L'x'))) << "one more than the system starts";
    EXPECT_FALSE(IsPassable(std::wstring(L"notepad.exe\0 evil.exe", 21)));
}

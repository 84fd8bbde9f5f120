// The value rules of qfcLibWindows: verbs, applets, limits.
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

TEST(ShellRules, TrimmingSpacesOnly)
{
    EXPECT_EQ(L"a b", TrimSpaces(L"  a b "));
    EXPECT_EQ(L"\ta\t", TrimSpaces(L" \ta\t ")) << "only spaces are trimmed";
}

// The value rules of qfcLibNetwork: drive texts and request methods.
#include <gtest/gtest.h>

#include "network/NetworkRules.h"

using namespace quillon::NetworkRules;

TEST(NetworkRules, DriveTexts)
{
    struct Case { const wchar_t* drive; const wchar_t* map; const wchar_t* unmap; };
    const Case cases[] = {
        {L"c", L"", L"C:"},     {L"C", L"", L"C:"},     {L"a", L"", L"A:"},   {L"d", L"D:", L"D:"},
        {L"e", L"E:", L"E:"},   {L"z", L"Z:", L"Z:"},   {L"c:", L"C:", L"C:"}, {L"a:", L"A:", L"A:"},
        {L"Z:", L"Z:", L"Z:"},  {L"1:", L"", L""},      {L"1", L"", L""},      {L":", L"", L""},
        {L"", L"", L""},        {L"abc", L"", L""},     {L"e:\\", L"", L""},   {L"ee", L"", L""},
        {L"\u00e9", L"", L""},  {L"\u00e9:", L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.map, DriveName(c.drive, DriveUse::Map)) << "map " << testing::PrintToString(std::wstring(c.drive));
        EXPECT_EQ(c.unmap, DriveName(c.drive, DriveUse::Unmap)) << "unmap";
    }
}

TEST(NetworkRules, RequestMethods)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"", L"GET"}, {L"   ", L"GET"}, {L" post ", L"POST"}, {L"get", L"GET"}, {L"Put", L"PUT"},
        {L"HEAD", L"HEAD"}, {L"m-search", L"M-SEARCH"},
    };
    for (const auto& [given, method] : cases) EXPECT_EQ(method, RequestMethod(given));
}

// The value rules of qfcLibNetwork: drive texts, request methods, charsets.
#include <gtest/gtest.h>

#include "network/NetworkRules.h"

using namespace quillon::NetworkRules;

TEST(NetworkRules, DriveTexts)
{
    struct Case { const wchar_t* drive; const wchar_t* map; const wchar_t* unmap; };
    const Case cases[] = {
        {L"c", L"", L"C:"},  {L"a", L"", L"A:"},   {L"d", L"D:", L"D:"},    {L"z", L"Z:", L"Z:"},  // letters map from D:
        {L"c:", L"C:", L"C:"}, {L"Z:", L"Z:", L"Z:"}, {L"1:", L"", L""},     {L"", L"", L""},
        {L"abc", L"", L""},  {L"e:\\", L"", L""}, {L"\u00e9:", L"", L""},
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

TEST(NetworkRules, CharsetsAndMarks)
{
    const std::pair<std::wstring, std::wstring> types[] = {
        {L"text/html; charset=UTF-8", L"utf-8"}, {L"text/html;charset=\"ISO-8859-1\"", L"iso-8859-1"},
        {L"text/plain; format=flowed; Charset = koi8-r ", L"koi8-r"}, {L"text/plain", L""},
        {L"", L""}, {L"text/plain; charset", L""}, {L"text/plain; xcharset=utf-8", L""},
    };
    for (const auto& [type, charset] : types) EXPECT_EQ(charset, CharsetOf(type)) << testing::PrintToString(type);

    EXPECT_EQ(kUtf8, CodePageOf(L"utf-8"));
    EXPECT_EQ(28591u, CodePageOf(L"iso-8859-1"));
    EXPECT_EQ(kUtf16BigEndian, CodePageOf(L"utf-16be"));
    EXPECT_EQ(0u, CodePageOf(L"x-unknown"));

    const std::pair<std::string, unsigned> marks[] = {
        {"\xEF\xBB\xBFtext", kUtf8}, {"\xFF\xFEt", kUtf16}, {"\xFE\xFF", kUtf16BigEndian}, {"\xEF\xBB", 0},
        {"plain", 0}, {"", 0},
    };
    for (const auto& [bytes, codePage] : marks) {
        size_t length = 99;
        EXPECT_EQ(codePage, CodePageOfMark(bytes, length)) << testing::PrintToString(bytes);
        EXPECT_EQ(codePage == kUtf8 ? 3u : codePage ? 2u : 0u, length);
    }
}

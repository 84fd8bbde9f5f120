// The text rules of qfcLibStrings and of file associations, from tables; the plain cases are the reference's
// strings example, the written association values the registry class's tests.
#include <gtest/gtest.h>

#include <windows.h>

#include "registry/AssociationRules.h"
#include "strings/AnsiText.h"
#include "strings/StringRules.h"

using namespace quillon;

namespace {

struct TextCase {
    std::wstring input, argument, expected;
};

} // namespace

TEST(StringRules, ProperCaseAndUnQuote)
{
    const std::wstring defaults = stringrules::kProperCaseDelimiters;
    const TextCase proper[] = {
        {L"a  b", defaults, L"A  b"},  // the second blank is the character after a delimiter
        {L"end.", defaults, L"End."},
        {L"me@host/path[x]", defaults, L"Me@Host/Path[X]"},
        {L"\u00e9t\u00e9 \u00e0 paris", defaults, L"\u00c9t\u00e9 \u00c0 Paris"},
        {L"one-two three", L"-", L"One-Two three"},
    };
    for (const TextCase& c : proper) EXPECT_EQ(c.expected, stringrules::ProperCase(c.input, c.argument)) << c.input;

    const TextCase unquote[] = {
        {L"  abc  ", L"", L"abc"},   {L"\"\"", L"", L""},          {L"  \"  ", L"", L""},  // a lone quotation mark
        {L"\" a b \"", L"", L" a b "}, {L"\"open", L"", L"\"open"}, {L"\tabc", L"", L"\tabc"},
    };
    for (const TextCase& c : unquote) EXPECT_EQ(c.expected, stringrules::UnQuoteString(c.input)) << c.input;
}

TEST(StringRules, ScramblerAndItsCodes)
{
    std::vector<int> out;
    ASSERT_EQ(stringrules::ScrambleStatus::Ok, stringrules::Scramble(3, {65, 66}, out));
    EXPECT_EQ((std::vector<int>{67, 56}), out) << "odd positions add the key, even ones subtract it, then xor 10 - key";
    EXPECT_EQ(stringrules::ScrambleStatus::Ok, stringrules::Scramble(-32758, {}, out)) << "no character, no sum";
    EXPECT_EQ(stringrules::ScrambleStatus::InvalidArgument, stringrules::Scramble(1, {255}, out));
    EXPECT_EQ(stringrules::ScrambleStatus::InvalidArgument, stringrules::Unscramble(9, {0}, out));

    std::wstring text;
    ASSERT_TRUE(ansitext::FromCodes({0, 65, 233}, text));
    EXPECT_EQ(std::wstring(L"\0A\u00e9", 3), text);
    if (GetACP() == 1252) {
        EXPECT_FALSE(ansitext::ToCodes(L"\u0100", out)) << "no best fit: A with macron is not A";
    }
}

TEST(StringRules, PhoneFormat)
{
    using stringrules::TextColour;
    const struct {
        std::wstring number;
        bool compress;
        std::wstring areaCode, expected;
        TextColour colour;
    } cases[] = {
        {L"6125551234", false, L"999", L"(612) 555-1234", TextColour::Black},
        {L"555-call", false, L"", L"555-2255", TextColour::Black},
        {L"555-1234 x1", false, L"", L"5551234x1", TextColour::Black},  // X is no keypad letter
    };
    for (const auto& c : cases) {
        const stringrules::PhoneFormatted result = stringrules::PhoneFormat(c.number, c.compress, c.areaCode);
        EXPECT_EQ(c.expected, result.text) << c.number;
        EXPECT_EQ(c.colour, result.colour) << c.number;
    }
}

TEST(StringRules, StringReplaceAndStrip)
{
    const struct {
        std::wstring text, source, target;
        bool caseSensitive;
        std::wstring expected;
    } cases[] = {
        {L"abcab", L"ab", L"", false, L"cab"},  // pieces at multiples of the length; the short last one never matches
        {L"abc", L"", L"X", false, L"abc"},     // an empty source changes nothing
        {L"\u00e9T\u00c9", L"\u00e9", L"e", false, L"eTe"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, stringrules::StringReplace(c.text, c.source, c.target, c.caseSensitive)) << c.text;
    EXPECT_EQ(L"aBc", stringrules::StringStrip(L"a,bB;cb", L",;b")) << "exact comparison";
}

TEST(AssociationRules, Values)
{
    // (A star, a missing dot and what names no extension: the association client; a key name's form: the
    // extensions fuzz target.)
    EXPECT_EQ(L".tar.gz", associationrules::NormalisedExtension(L"*.tar.gz"));
    EXPECT_EQ(L"TAR.GZFile", associationrules::TypeName(L".tar.gz"));

    EXPECT_EQ(L"", associationrules::AssociationValues(L".abc", L"", L"", L"%1", L"", 5, L"Vantorel").icon)
        << "no path, no icon";
}

// The text rules of the file services, from tables (the reference's files example holds the plain cases).
#include <gtest/gtest.h>

#include "files/FileNames.h"

using namespace quillon::qfcLibFilesA;

namespace {

using TextRule = std::wstring (*)(const std::wstring&);
std::wstring title(const std::wstring& file) { return GetFileTitle(file, false); }

std::wstring listOf(std::initializer_list<const wchar_t*> names)
{
    std::wstring list;
    for (const wchar_t* name : names) list += std::wstring(name) + L'\0';
    return list + L'\0';
}

} // namespace

TEST(FileNames, PathPiecesFollowTheCleanUpAndTheLastSeparator)
{
    const struct {
        TextRule rule;
        const wchar_t* input;
        const wchar_t* expected;
    } cases[] = {
        {AddDirSep, L"C:\\Games\\", L"C:\\Games\\"},
        {AddDirSep, L"\"  C:\\My Games \"", L"C:\\My Games\\"},  // quotes go first, then the blanks inside them
        {AddDirSep, L" \"C:\\x\" ", L"\"C:\\x\"\\"},             // blanks outside the quotes keep the quotes
        {AddDirSep, L"C:\\x\t", L"C:\\x\t\\"},                    // tabs are not blanks
        {AddDirSep, L"\"", L"\"\\"},                              // one quote is not a pair
        {GetFileExt, L"readme", L"readme"},
        {GetFileExt, L"archive.tar.", L""},
        {title, L"\"C:\\My Games\\Пилот.plt\"", L"Пилот"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, c.rule(c.input)) << c.input;
}

TEST(FileNames, EightDotThreeTestsAndFoldersToMake)
{
    // (A non-empty name is either long or short: the paths fuzz target holds that.)
    const std::pair<const wchar_t*, bool> shortOrNot[] = {
        {L"C:\\ABCDEFGHI", false},      // 9 without a dot
        {L"C:\\ABCDEFGH.IJK", true},    // 12 with a dot
        {L"C:\\ABCDEFGH.IJKL", false},  // 13 with a dot
        {L"ABCDEFGHIJK.", true},        // the split of name and extension is not checked
    };
    for (const auto& [name, isShort] : shortOrNot) EXPECT_EQ(isShort, IsShortFileName(name)) << name;

    // (Blanks around a nested path, and a blank path, are MakePath's own test.)
    using List = std::vector<std::wstring>;
    EXPECT_EQ((List{L"a", L"a\\b"}), FoldersToMake(L"a\\b\\"));
    EXPECT_EQ((List{L"\\", L"\\\\srv", L"\\\\srv\\share"}), FoldersToMake(L"\\\\srv\\share"));
    EXPECT_EQ(List{}, FoldersToMake(L"C:"));
}

// (Dot entries, file matching and which files a listing shows: the search and size tests on real folders.)
TEST(FileNames, ListingMaskAndFoldersToEnter)
{
    EXPECT_TRUE(IsListed(0x31, kFilesAndFoldersMask)) << "read-only and archive never hide an entry";
    EXPECT_FALSE(IsListed(0x12, kFilesAndFoldersMask) || IsListed(0x24, kFilesAndFoldersMask));
    // (Wine 8 makes no links, so the folder tests cannot show a loop.)
    EXPECT_TRUE(IsFolderToEnter(0x10) && IsFolderToEnter(0x31)) << "read-only or archive folders are searched";
    EXPECT_FALSE(IsFolderToEnter(0x410) || IsFolderToEnter(0x20)) << "links and files are not";
}

// (Splitting at one-character separators and arrays with empty elements: the copy and move test.)
TEST(FileNames, ShellListsHoldEachNameOnceAndEndWithTwoNuls)
{
    const struct {
        const wchar_t* text;
        const wchar_t* parseChar;
        std::wstring expected;
    } texts[] = {
        {L"C:\\a||C:\\b|", L"|", listOf({L"C:\\a", L"C:\\b"})},  // an empty piece would end the list early
        {L"C:\\a<>C:\\b", L"<>", listOf({L"C:\\a", L"C:\\b"})},
        {L"C:\\a|C:\\b", L"", listOf({L"C:\\a|C:\\b"})},
        {L" |\t", L"|", listOf({})},  // a blank name would stand for the current folder
    };
    for (const auto& c : texts) EXPECT_EQ(c.expected, ShellList(NamesFromText(c.text, c.parseChar).names)) << c.text;
}

// (The dialogs' other settings and answers: the files client's recording dialog object.)
TEST(FileNames, DialogExtension)
{
    for (const wchar_t* given : {L"exe", L".exe", L"*.exe"}) EXPECT_EQ(L"exe", DialogExtension(given)) << given;
    EXPECT_EQ(L"*exe", DialogExtension(L".*exe")) << "only a leading star, then a leading dot";
}

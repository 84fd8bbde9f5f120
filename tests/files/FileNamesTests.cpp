// The text rules of the file services, from tables (the reference's files example holds the plain cases).
#include <gtest/gtest.h>

#include <cwctype>

#include "files/FileNames.h"

using namespace quillon::qfcLibFilesA;

namespace {

using TextRule = std::wstring (*)(const std::wstring&);
std::wstring title(const std::wstring& file) { return GetFileTitle(file, false); }
wchar_t upper(wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); }

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
        {AddDirSep, L"", L""},
        {AddDirSep, L"C:\\Games", L"C:\\Games\\"},
        {AddDirSep, L"C:\\Games\\", L"C:\\Games\\"},
        {AddDirSep, L"\"  C:\\My Games \"", L"C:\\My Games\\"},  // quotes go first, then the blanks inside them
        {AddDirSep, L" \"C:\\x\" ", L"\"C:\\x\"\\"},             // blanks outside the quotes keep the quotes
        {AddDirSep, L"C:\\x\t", L"C:\\x\t\\"},                    // tabs are not blanks
        {AddDirSep, L"\"", L"\"\\"},                              // one quote is not a pair
        {GetFilePath, L"\" main.exe \"", L"main.exe"},
        {GetFilePath, L"C:/Games/main.exe", L"C:/Games/main.exe"},  // only "\" separates
        {GetFileExt, L"readme", L"readme"},
        {GetFileExt, L"archive.tar.", L""},
        {title, L"C:\\a\\my.pilot.plt", L"my.pilot"},
        {title, L"C:\\a.b\\noext", L"noext"},
        {title, L"\"C:\\My Games\\Пилот.plt\"", L"Пилот"},
        {title, L"C:\\a\\", L""},
        {title, L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, c.rule(c.input)) << c.input;
}

TEST(FileNames, EightDotThreeTestsAndFoldersToMake)
{
    const struct {
        const wchar_t* input;
        bool isLong, isShort;
    } names[] = {
        {L"", false, false},
        {L"C:\\ABCDEFGHI", true, false},       // 9 without a dot
        {L"C:\\ABCDEFGH.IJK", false, true},    // 12 with a dot
        {L"C:\\ABCDEFGH.IJKL", true, false},   // 13 with a dot
        {L"ABCDEFGHIJK.", false, true},        // the split of name and extension is not checked
    };
    for (const auto& c : names) {
        EXPECT_EQ(c.isLong, IsLongFileName(c.input)) << c.input;
        EXPECT_EQ(c.isShort, IsShortFileName(c.input)) << c.input;
    }

    // (Blanks around a nested path, and a blank path, are MakePath's own test.)
    using List = std::vector<std::wstring>;
    EXPECT_EQ((List{L"a", L"a\\b"}), FoldersToMake(L"a\\b\\"));
    EXPECT_EQ((List{L"\\", L"\\\\srv", L"\\\\srv\\share"}), FoldersToMake(L"\\\\srv\\share"));
    EXPECT_EQ(List{}, FoldersToMake(L"C:"));
}

TEST(FileNames, ListingMaskAndExtensionMatch)
{
    // (What the existence tests list: their own table.)
    EXPECT_TRUE(IsListed(0x31, kFilesAndFoldersMask)) << "read-only and archive never hide an entry";
    EXPECT_FALSE(IsListed(0x12, kFilesAndFoldersMask) || IsListed(0x24, kFilesAndFoldersMask));
    EXPECT_TRUE(IsDotEntry(L".") && IsDotEntry(L"..") && !IsDotEntry(L"..."));
    // (Wine 8 makes no links, so the folder tests cannot show a loop.)
    EXPECT_TRUE(IsFolderToEnter(0x10) && IsFolderToEnter(0x31)) << "read-only or archive folders are searched";
    EXPECT_FALSE(IsFolderToEnter(0x410) || IsFolderToEnter(0x20)) << "links and files are not";

    // (Which extensions a search asks for: the search's own tests.)
    const struct {
        const wchar_t* name;
        const wchar_t* upperExtension;
        bool matches;
    } matches[] = {{L"a.Plt", L"PLT", true}, {L"xplt", L"PLT", true}, {L"a.plx", L"PLT", false},
                   {L"lt", L"PLT", false},    {L"any", L"", true}};
    for (const auto& m : matches)
        EXPECT_EQ(m.matches, EndsWithExtension(m.name, wcslen(m.name), m.upperExtension, upper)) << m.name;
}

TEST(FileNames, ShellListsHoldEachNameOnceAndEndWithTwoNuls)
{
    const struct {
        const wchar_t* text;
        const wchar_t* parseChar;
        std::wstring expected;
        bool multiple;
    } texts[] = {
        {L"C:\\a.txt", L"|", listOf({L"C:\\a.txt"}), false},
        {L"C:\\a|C:\\b", L"|", listOf({L"C:\\a", L"C:\\b"}), true},
        {L"C:\\a||C:\\b|", L"|", listOf({L"C:\\a", L"C:\\b"}), true},  // an empty piece would end the list early
        {L"C:\\a<>C:\\b", L"<>", listOf({L"C:\\a", L"C:\\b"}), true},
        {L"C:\\a|C:\\b", L"", listOf({L"C:\\a|C:\\b"}), true},
        {L"", L"|", listOf({}), false},
        {L" |\t", L"|", listOf({}), true},  // a blank name would stand for the current folder
    };
    for (const auto& c : texts) {
        const SourceNames names = NamesFromText(c.text, c.parseChar);
        EXPECT_EQ(c.expected, ShellList(names.names)) << c.text;
        EXPECT_EQ(c.multiple, names.multiple) << c.text;
    }
    const SourceNames fromArray = NamesFromArray({L"", L"C:\\a", L"", L"C:\\b", L" "});
    EXPECT_EQ(listOf({L"C:\\a", L"C:\\b"}), ShellList(fromArray.names));
    EXPECT_TRUE(fromArray.multiple);
}

// The dialogs' other settings and answers are checked through a recording dialog object.
TEST(FileNames, DialogExtensionAndInitialFolder)
{
    for (const wchar_t* given : {L"exe", L".exe", L"*.exe"}) EXPECT_EQ(L"exe", DialogExtension(given)) << given;
    EXPECT_EQ(L"*exe", DialogExtension(L".*exe")) << "only a leading star, then a leading dot";
    EXPECT_EQ(L"C:\\", InitialFolder(L"", L"C:\\")) << "a root folder is not doubled";
}

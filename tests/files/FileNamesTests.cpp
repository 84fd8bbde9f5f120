// The text rules of the file services, from tables.
#include <gtest/gtest.h>

#include <cwctype>

#include "files/FileNames.h"

using namespace quillon::qfcLibFilesA;

namespace {

struct TextCase {
    const wchar_t* input;
    const wchar_t* expected;
};

wchar_t asciiUpper(wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); }

std::wstring bytes(std::initializer_list<const wchar_t*> names)
{
    std::wstring list;
    for (const wchar_t* name : names) list += std::wstring(name) + L'\0';
    return list + L'\0';
}

} // namespace

TEST(FileNames, PathPiecesFollowTheCleanUpAndTheLastSeparator)
{
    const TextCase dirSep[] = {
        {L"", L""},
        {L"C:\\Games", L"C:\\Games\\"},
        {L"C:\\Games\\", L"C:\\Games\\"},
        {L"\"C:\\My Games\"", L"C:\\My Games\\"},
        {L"  C:\\Games  ", L"C:\\Games\\"},
        {L"\"  C:\\x \"", L"C:\\x\\"},        // quotes go first, then the blanks inside them
        {L" \"C:\\x\" ", L"\"C:\\x\"\\"},    // blanks outside the quotes keep the quotes
        {L"C:\\x\t", L"C:\\x\t\\"},           // tabs are not blanks
        {L"\"", L"\"\\"},                     // one quote is not a pair
        {L"\"\"", L"\\"},
        {L"a/b", L"a/b\\"},
    };
    for (const TextCase& c : dirSep) EXPECT_EQ(c.expected, AddDirSep(c.input)) << c.input;

    const TextCase urlSep[] = {{L"", L""}, {L"a/b", L"a/b/"}, {L"a/b/", L"a/b/"}, {L"\"http://x\"", L"http://x/"}};
    for (const TextCase& c : urlSep) EXPECT_EQ(c.expected, AddURLSep(c.input)) << c.input;

    const TextCase path[] = {
        {L"", L""},
        {L"C:\\Games\\main.exe", L"C:\\Games\\"},
        {L"main.exe", L"main.exe"},
        {L"\" C:\\Games\\main.exe \"", L"C:\\Games\\"},
        {L"C:\\a.b\\c", L"C:\\a.b\\"},
        {L"\\\\server\\share", L"\\\\server\\"},
        {L"C:/Games/main.exe", L"C:/Games/main.exe"},  // only "\" separates
    };
    for (const TextCase& c : path) EXPECT_EQ(c.expected, GetFilePath(c.input)) << c.input;

    const TextCase ext[] = {
        {L"", L""},
        {L"C:\\a\\pilot.plt", L"plt"},
        {L"C:\\a.b\\noext", L"b\\noext"},
        {L"readme", L"readme"},
        {L"archive.tar.gz", L"gz"},
        {L"trailing.", L""},
        {L"\"C:\\a\\x.TXT\"", L"TXT"},
    };
    for (const TextCase& c : ext) EXPECT_EQ(c.expected, GetFileExt(c.input)) << c.input;
}

TEST(FileNames, FileTitleCutsTheLastExtensionUnlessAsked)
{
    struct Case {
        const wchar_t* input;
        bool withExt;
        const wchar_t* expected;
    } cases[] = {
        {L"", false, L""},
        {L"C:\\a\\pilot.plt", false, L"pilot"},
        {L"C:\\a\\pilot.plt", true, L"pilot.plt"},
        {L"C:\\a.b\\noext", false, L"noext"},
        {L"C:\\a\\my.pilot.plt", false, L"my.pilot"},
        {L"pilot.plt", false, L"pilot"},
        {L"\"C:\\My Games\\Пилот.plt\"", false, L"Пилот"},
        {L"C:\\a\\", false, L""},
        {L"C:\\a\\.hidden", false, L""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, GetFileTitle(c.input, c.withExt)) << c.input;
}

TEST(FileNames, EightDotThreeTests)
{
    struct Case {
        const wchar_t* input;
        bool isLong;
        bool isShort;
    } cases[] = {
        {L"", false, false},
        {L"C:\\PROGRA~1\\GAME.EXE", false, true},
        {L"C:\\My Games", true, false},
        {L"C:\\GAMES\\MAIN.EXE", false, true},
        {L"C:\\ABCDEFGHI", true, false},         // 9 characters without a dot
        {L"C:\\ABCDEFGH", false, true},          // 8 without a dot
        {L"C:\\ABCDEFGH.IJK", false, true},      // 12 with a dot
        {L"C:\\ABCDEFGH.IJKL", true, false},     // 13 with a dot
        {L"C:\\ABCDEFGHIJKLMNOP\\A.B", true, false},
        {L"ABCDEFGHIJK.", false, true},          // the split of name and extension is not checked
        {L"C:\\a\\\\b", false, true},            // an empty piece fits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.isLong, IsLongFileName(c.input)) << c.input;
        EXPECT_EQ(c.isShort, IsShortFileName(c.input)) << c.input;
    }
}

TEST(FileNames, FoldersToMakeSkipTheDrivePart)
{
    using List = std::vector<std::wstring>;
    struct Case {
        const wchar_t* input;
        List expected;
    } cases[] = {
        {L"C:\\a\\b\\c", {L"C:\\a", L"C:\\a\\b", L"C:\\a\\b\\c"}},
        {L"  C:\\a\\b\\  ", {L"C:\\a", L"C:\\a\\b"}},
        {L"C:\\", {}},
        {L"C:", {}},
        {L"a\\b", {L"a", L"a\\b"}},
        {L"\\top\\sub", {L"\\top", L"\\top\\sub"}},
        {L"\\\\srv\\share\\d", {L"\\", L"\\\\srv", L"\\\\srv\\share", L"\\\\srv\\share\\d"}},
        {L"   ", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, FoldersToMake(c.input)) << c.input;
}

TEST(FileNames, ListingMaskAndExtensionMatch)
{
    EXPECT_TRUE(IsListed(0x20, kFilesMask));
    EXPECT_TRUE(IsListed(0x22, kFilesMask)) << "hidden files are asked for";
    EXPECT_FALSE(IsListed(0x10, kFilesMask)) << "folders are not";
    EXPECT_TRUE(IsListed(0x10, kFilesAndFoldersMask));
    EXPECT_TRUE(IsListed(0x21, kFilesAndFoldersMask)) << "read-only and archive never hide an entry";
    EXPECT_FALSE(IsListed(0x12, kFilesAndFoldersMask)) << "a hidden folder";
    EXPECT_FALSE(IsListed(0x24, kFilesAndFoldersMask)) << "a system file";

    EXPECT_TRUE(IsDotEntry(L".") && IsDotEntry(L"..") && IsDotEntry(L""));
    EXPECT_FALSE(IsDotEntry(L"...") || IsDotEntry(L".x") || IsDotEntry(L"a"));

    const TextCase extensions[] = {
        {L"plt", L"plt"}, {L".plt", L"plt"}, {L"*.plt", L"plt"}, {L"txt.", L""}, {L"a.b.c", L"b.c"}, {L".", L""},
    };
    for (const TextCase& c : extensions) EXPECT_EQ(c.expected, SearchExtension(c.input)) << c.input;

    struct Match {
        const wchar_t* name;
        const wchar_t* upperExtension;
        bool matches;
    } matches[] = {
        {L"pilot.plt", L"PLT", true}, {L"PILOT.PLT", L"PLT", true}, {L"xplt", L"PLT", true},
        {L"pilot.plx", L"PLT", false}, {L"lt", L"PLT", false},      {L"anything", L"", true},
        {L"a.Plt", L"PLT", true},
    };
    for (const Match& m : matches) {
        const std::wstring name = m.name;
        EXPECT_EQ(m.matches, EndsWithExtension(name.c_str(), name.size(), m.upperExtension, asciiUpper)) << m.name;
    }
}

TEST(FileNames, ShellListsHoldEachNameOnceAndEndWithTwoNuls)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* parseChar;
        std::wstring expected;
        bool multiple;
    } texts[] = {
        {L"C:\\a.txt", L"|", bytes({L"C:\\a.txt"}), false},
        {L"C:\\a|C:\\b", L"|", bytes({L"C:\\a", L"C:\\b"}), true},
        {L"C:\\a||C:\\b|", L"|", bytes({L"C:\\a", L"C:\\b"}), true},  // an empty piece would end the list early
        {L"C:\\a;C:\\b", L";", bytes({L"C:\\a", L"C:\\b"}), true},
        {L"C:\\a<>C:\\b", L"<>", bytes({L"C:\\a", L"C:\\b"}), true},
        {L"C:\\a|C:\\b", L"", bytes({L"C:\\a|C:\\b"}), true},
        {L"", L"|", bytes({}), false},
        {L"  ", L"|", bytes({}), false},                                  // a blank name would be the current folder
        {L"|", L"|", bytes({}), true},
    };
    for (const Case& c : texts) {
        const SourceNames names = NamesFromText(c.text, c.parseChar);
        EXPECT_EQ(c.expected, ShellList(names.names)) << c.text;
        EXPECT_EQ(c.multiple, names.multiple) << c.text;
    }

    const SourceNames fromArray = NamesFromArray({L"", L"C:\\a", L"", L"C:\\b", L" "});
    EXPECT_EQ(bytes({L"C:\\a", L"C:\\b"}), ShellList(fromArray.names));
    EXPECT_TRUE(fromArray.multiple);
    EXPECT_TRUE(NamesFromArray({L"", L""}).names.empty());

    for (long flags : {0L, 1L, 16L, 0x8000L, 0xFFFFL}) EXPECT_TRUE(FitsShellFlags(flags)) << flags;
    for (long flags : {-1L, 0x10000L, 0x10010L}) EXPECT_FALSE(FitsShellFlags(flags)) << flags;
}

TEST(FileNames, BrowserFlagsAndDialogSettings)
{
    const std::pair<long, unsigned int> flags[] = {{1, 1u}, {2, 4096u}, {3, 8192u}, {0, 0u}, {4, 0u}, {-1, 0u}};
    for (const auto& f : flags) EXPECT_EQ(f.second, BrowseFlags(f.first)) << f.first;

    for (const wchar_t* given : {L"exe", L".exe", L"*.exe"}) EXPECT_EQ(L"exe", DialogExtension(given)) << given;
    EXPECT_EQ(L"", DialogExtension(L"*."));
    EXPECT_EQ(L"*exe", DialogExtension(L".*exe")) << "only a leading star, then a leading dot";

    EXPECT_EQ(L"C:\\Games\\", InitialFolder(L"C:\\Games", L"C:\\App"));
    EXPECT_EQ(L"C:\\Games\\", InitialFolder(L"C:\\Games\\", L"C:\\App"));
    EXPECT_EQ(L"C:\\App\\", InitialFolder(L"", L"C:\\App"));
    EXPECT_EQ(L"C:\\", InitialFolder(L"", L"C:\\")) << "a root folder is not doubled";

    EXPECT_EQ(L"Vantorel Files|*.exe|All Files (*.*)|*.*", DialogFilter(L"Vantorel", L"exe", L""));
    EXPECT_EQ(L"Vantorel Files|*.bmp|Pictures|*.png|All Files (*.*)|*.*",
              DialogFilter(L"Vantorel", L"bmp", L"|Pictures|*.png"));
    EXPECT_EQ(L"Open Vantorel File", DialogTitle(L"", L"Vantorel", false));
    EXPECT_EQ(L"Save Vantorel File", DialogTitle(L"", L"Vantorel", true));
    EXPECT_EQ(L"Pick", DialogTitle(L"Pick", L"Vantorel", true));

    EXPECT_EQ(L"C:\\x\\main.exe", DialogAnswer(L"C:\\x\\main.exe", L"main.exe", false));
    EXPECT_EQ(L"", DialogAnswer(L"C:\\x\\main.exe", L"main.exe", true));
    EXPECT_EQ(L"", DialogAnswer(L"C:\\x\\*.exe", L"*.exe", false));
    EXPECT_EQ(L"", DialogAnswer(L"C:\\x\\main.exe", L"", false));
}

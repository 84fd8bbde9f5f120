// The file routines on real folders under Wine, each test in its own scratch
// folder; copy, move and delete go through Wine's real shell, whose
// confirmations are answered from a second thread (run under Xvfb).
#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include <algorithm>

#include "RaisedNumber.h"
#include "Raii.h"
#include "ScratchFolder.h"
#include "WindowWatcher.h"
#include "files/qfcLibFilesA.h"

using namespace quillon::qfcLibFilesA;
using files_testing::exists;
using quillon::checkedName;
using files_testing::ScratchFolder;
using testing_support::raisedNumber;

namespace {

constexpr long kNoConfirmation = 16;

SourceNames listOf(const std::wstring& text) { return NamesFromText(text, L"|"); }

// Opened without sharing until the object goes, as another program may hold a file.
struct HeldFile {
    explicit HeldFile(const std::wstring& name)
        : handle(CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    raii::UniqueFile handle;
};

} // namespace

TEST(FilesModule, ExistenceTestsTellFilesFromFolders)
{
    ScratchFolder scratch(L"Exists");
    scratch.file(L"hidden.plt", 0, FILE_ATTRIBUTE_HIDDEN);
    scratch.file(L"My Games\\Пилот ёж.plt");
    const struct {
        std::wstring name;
        bool file, folder;
    } cases[] = {
        {L"\" " + scratch / L"hidden.plt\"", true, false},
        {scratch / L"*.plt", true, false},
        {scratch / L"My Games\\Пилот ёж.plt", true, false},
        {scratch / L"missing.plt", false, false},
        {scratch / L"My Games", false, true},
        {scratch / L"My Games\\", true, true},  // a trailing separator lists the folder's contents
        {L"   ", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.file, FileExists(checkedName(c.name))) << c.name;
        EXPECT_EQ(c.folder, DirExists(checkedName(c.name))) << c.name;
    }
    EXPECT_EQ(52, raisedNumber([&] { FileExists(checkedName(scratch / L"a*b\\c.plt")); }))
        << "a wildcard in a folder is malformed";
}

TEST(FilesModule, ExtensionSearchListsRootFirstThenSubFoldersFromTheLast)
{
    ScratchFolder scratch(L"Search");
    const std::wstring root = scratch.path();
    for (const wchar_t* name : {L"a.plt", L"xplt", L"c.txt", L"One\\one.plt", L"One\\Deep\\deep.plt", L"Two\\Пилот x.PLT"})
        scratch.file(name);
    scratch.file(L"hidden.plt", 0, FILE_ATTRIBUTE_HIDDEN);
    std::vector<std::wstring> found;
    {
        HeldFile locked(scratch.file(L"locked.plt"));
        ASSERT_TRUE(FindByExtension(checkedName(root.substr(0, root.size() - 1)), checkedName(L".PLT"), true, found));
    }
    ASSERT_EQ(5u, found.size()) << "hidden and unreadable matches are left out";
    std::sort(found.begin(), found.begin() + 2);
    EXPECT_EQ(root + L"a.plt", found[0]);
    EXPECT_EQ(root + L"xplt", found[1]) << "no dot is needed before the extension";
    // Sub-folders come from the last listed to the first, each with its own sub-folders before the next.
    const size_t one = found[2] == root + L"One\\one.plt" ? 2 : 3;
    EXPECT_EQ(root + L"One\\one.plt", found[one]);
    EXPECT_EQ(root + L"One\\Deep\\deep.plt", found[one + 1]);
    EXPECT_EQ(root + L"Two\\Пилот x.PLT", found[one == 2 ? 4 : 2]);

    const auto count = [&](const wchar_t* ext, bool recursive) {
        std::vector<std::wstring> names;
        return FindByExtension(checkedName(root), checkedName(ext), recursive, names) ? long(names.size()) : -1L;
    };
    EXPECT_EQ(3, count(L"*.plt", false)) << "without recursion only the root, the lock gone";
    EXPECT_EQ(7, count(L"txt.", true)) << "an extension emptied by its dot matches every file";
    EXPECT_EQ(-1, count(L"*.*", true));
    EXPECT_FALSE(FindByExtension(checkedName(L""), checkedName(L"plt"), true, found));
}

TEST(FilesModule, FolderSizeSumsSixtyFourBitLengthsOfListedFiles)
{
    ScratchFolder scratch(L"Size");
    EXPECT_EQ(-1, GetDirSize(checkedName(L"  "), true));
    EXPECT_EQ(-1, GetDirSize(checkedName(scratch / L"Missing"), true)) << "no folder is not an empty one";
    scratch.file(L"a.bin", 1000);
    scratch.file(L"hidden.bin", 5000, FILE_ATTRIBUTE_HIDDEN);
    scratch.file(L"Sub\\Deeper\\c.bin", 20000);
    {
        HeldFile held(scratch.file(L"held.bin", 234));
        EXPECT_EQ(1234, GetDirSize(checkedName(L"\"" + scratch / L"\""), false))
            << "a file held open elsewhere still counts";
    }
    // A sparse file over 4 GB costs nothing on disk but must count in full.
    raii::UniqueFile big(CreateFileW(scratch.file(L"Sub\\big.bin").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     0, nullptr));
    DWORD returned = 0;
    DeviceIoControl(big.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 5LL << 30;
    EXPECT_TRUE(SetFilePointerEx(big.get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(big.get()));
    big.reset();
    EXPECT_EQ(21234 + (5LL << 30), GetDirSize(checkedName(scratch.path()), true));
}

TEST(FilesModule, MakePathShortNamesAndSystemFolders)
{
    ScratchFolder scratch(L"Folders");
    const std::wstring before = files_testing::currentDirectory();
    EXPECT_TRUE(MakePath(checkedName(L"  " + scratch / L"a\\b\\c  ")));
    EXPECT_TRUE(DirExists(checkedName(scratch / L"a\\b\\c")));
    EXPECT_EQ(before, files_testing::currentDirectory());
    EXPECT_TRUE(MakePath(checkedName(scratch / L"a\\b"))) << "it is there";
    for (const std::wstring& unmade : {scratch.file(L"file") + L"\\x", std::wstring(L" ")})
        EXPECT_FALSE(MakePath(checkedName(unmade))) << "nothing made: " << unmade;

    const std::wstring shortName =
        GetShortFileName(checkedName(scratch.file(L"A long folder name\\Пилот with spaces.plt", 10)));
    EXPECT_TRUE(IsShortFileName(shortName.substr(shortName.rfind(L'\\') + 1))) << shortName;
    EXPECT_EQ(L"", GetShortFileName(checkedName(scratch / L"missing.plt")));

    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_EQ(std::wstring(windows) + L"\\", GetSystemFolder(128));
    for (long id : {0L, 5L, 64L}) {
        const std::wstring folder = GetSystemFolder(id);
        EXPECT_TRUE(folder.back() == L'\\' && folder[folder.size() - 2] != L'\\' && DirExists(checkedName(folder)))
            << folder;
    }
    EXPECT_EQ(L"", GetSystemFolder(17)) << "the computer folder has no path";
}

TEST(FilesShell, CopyAndMoveReachOnlyAnExistingFolder)
{
    ScratchFolder scratch(L"Copy");
    const std::wstring a = scratch.file(L"a.txt"), b = scratch.file(L"Пилот é.plt");
    const std::wstring target = scratch.folder(L"Target") + L"\\";
    EXPECT_FALSE(CopyFile(0, listOf(a + L"|" + b), checkedName(target), qcCopy, kNoConfirmation, L""));
    EXPECT_TRUE(exists(target + L"a.txt") && exists(target + L"Пилот é.plt") && exists(a));

    // (Wine's shell moves only the first of several names into one folder, so the move takes one.)
    const std::wstring other = scratch.folder(L"Other") + L"\\";
    EXPECT_FALSE(
        CopyFile(0, NamesFromArray({L"", b, L""}), checkedName(L"\"" + other + L"\""), qcMove, kNoConfirmation, L""));
    EXPECT_TRUE(exists(other + L"Пилот é.plt") && !exists(b)) << "array with empty elements, quoted destination";

    for (const auto& [destination, operation] : {std::pair<std::wstring, long>{scratch / L"Missing\\", qcCopy},
                                                 {L"", qcCopy}, {target, qcDelete}, {target, 4}})
        EXPECT_FALSE(CopyFile(0, listOf(a), checkedName(destination), operation, kNoConfirmation, L"")) << destination;
    EXPECT_TRUE(exists(a) && !exists(scratch / L"Missing")) << "CopyFile never deletes, renames or makes folders";
}

TEST(FilesShell, DeleteTakesTheUsersAnswerAndOnlyNamesTheShellCanResolve)
{
    ScratchFolder scratch(L"Delete");
    const std::wstring asked = scratch.file(L"asked.txt"), keep = scratch.file(L"keep.txt");
    for (int answer : {IDNO, IDYES}) {
        testing_support::DialogAnswers user(answer);
        EXPECT_EQ(answer == IDNO, DeleteFile(0, listOf(asked), 0)) << "a refusal is an aborted operation";
        EXPECT_EQ(1, user.answered());
        EXPECT_EQ(answer == IDNO, exists(asked));
    }

    const std::wstring relative = scratch.file(L"relative.txt"), before = files_testing::currentDirectory();
    SetCurrentDirectoryW(scratch.path().c_str());
    EXPECT_FALSE(DeleteFile(0, listOf(L"relative.txt"), kNoConfirmation));
    EXPECT_FALSE(exists(relative)) << "a relative name means the current folder's file";
    // Given one name it cannot resolve, Wine's shell empties the current folder: such names never reach it.
    const std::wstring tooLong = std::wstring(300, L'x') + L".txt";
    EXPECT_EQ(52, raisedNumber([&] { DeleteFile(0, listOf(keep + L"|" + tooLong), kNoConfirmation); }));
    EXPECT_FALSE(DeleteFile(0, listOf(L" | "), kNoConfirmation)) << "blank names are no names";
    for (long flags : {0x10000L | kNoConfirmation, -1L}) {
        EXPECT_EQ(5, raisedNumber([&] { DeleteFile(0, listOf(keep), flags); })) << flags;
        EXPECT_EQ(5, raisedNumber([&] { CopyFile(0, listOf(keep), checkedName(scratch.path()), qcCopy, flags, L""); }))
            << flags;
    }
    SetCurrentDirectoryW(before.c_str());
    EXPECT_TRUE(exists(keep)) << "no refused call touched the folder";
}

// The file routines on real folders under Wine, each test in its own scratch folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include "Raii.h"
#include "RuntimeError.h"
#include "ScratchFolder.h"
#include "files/qfcLibFilesA.h"

using namespace quillon::qfcLibFilesA;
using files_testing::ScratchFolder;

namespace {

long runtimeErrorOf(void (*body)(const std::wstring&), const std::wstring& argument)
{
    try {
        body(argument);
    } catch (const quillon::RuntimeError& error) {
        return error.number();
    }
    return 0;
}

std::vector<std::wstring> search(const std::wstring& path, const std::wstring& ext, bool recursive)
{
    std::vector<std::wstring> found;
    FindByExtension(path, ext, recursive, found);
    return found;
}

} // namespace

TEST(FilesModule, ExistenceTestsTellFilesFromFolders)
{
    ScratchFolder scratch(L"Exists");
    scratch.file(L"pilot.plt");
    scratch.file(L"hidden.plt", 0, FILE_ATTRIBUTE_HIDDEN);
    scratch.file(L"My Games\\Пилот ёж.plt");
    scratch.folder(L"Empty");

    struct Case {
        std::wstring name;
        bool file;
        bool folder;
    } cases[] = {
        {scratch / L"pilot.plt", true, false},
        {L"\"" + scratch / L"pilot.plt" + L"\"", true, false},
        {L"  " + scratch / L"pilot.plt" + L"  ", true, false},
        {scratch / L"hidden.plt", true, false},
        {scratch / L"*.plt", true, false},
        {scratch / L"My Games\\Пилот ёж.plt", true, false},
        {scratch / L"missing.plt", false, false},
        {scratch / L"My Games", false, true},
        {scratch / L"My Games\\", true, true},  // a trailing separator lists the folder's contents
        {scratch / L"Empty", false, true},
        {L"\"" + scratch / L"Empty\"", false, true},
        {scratch / L"Missing\\x.plt", false, false},
        {L"", false, false},
        {L"   ", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.file, FileExists(c.name)) << c.name;
        EXPECT_EQ(c.folder, DirExists(c.name)) << c.name;
    }
}

TEST(FilesModule, BadNamesAreTheCallersErrorExceptWhereErrorsAreTrapped)
{
    ScratchFolder scratch(L"BadNames");
    const std::wstring withNul = scratch / std::wstring(L"a\0b", 3);
    EXPECT_EQ(quillon::kInvalidArgument, runtimeErrorOf([](const std::wstring& n) { FileExists(n); }, withNul));
    EXPECT_EQ(quillon::kInvalidArgument, runtimeErrorOf([](const std::wstring& n) { GetShortFileName(n); }, withNul));
    EXPECT_EQ(52, runtimeErrorOf([](const std::wstring& n) { FileExists(n); }, scratch / L"a*b\\c.plt"))
        << "a wildcard in a folder part is a malformed name";
    EXPECT_FALSE(DirExists(withNul));
    EXPECT_FALSE(MakePath(withNul));
    EXPECT_EQ(-1, GetDirSize(withNul, false));
    std::vector<std::wstring> found;
    EXPECT_FALSE(FindByExtension(withNul, L"plt", false, found));
    EXPECT_FALSE(FindByExtension(scratch.path(), std::wstring(L"p\0lt", 4), false, found));
}

TEST(FilesModule, ExtensionSearchListsRootFirstThenSubFoldersFromTheLast)
{
    ScratchFolder scratch(L"Search");
    const std::wstring root = scratch.path();
    scratch.file(L"a.plt");
    scratch.file(L"xplt");
    scratch.file(L"b.PLT");
    scratch.file(L"c.txt");
    scratch.file(L"hidden.plt", 0, FILE_ATTRIBUTE_HIDDEN);
    scratch.file(L"system.plt", 0, FILE_ATTRIBUTE_SYSTEM);
    scratch.file(L"One\\one.plt");
    scratch.file(L"One\\Deep\\deep.plt");
    scratch.file(L"Two\\two.plt");
    scratch.file(L"Two\\Long pilot name.plt");
    scratch.file(L"Two\\Пилот.plt");
    scratch.file(L"Hidden\\inside.plt");
    SetFileAttributesW((scratch / L"Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);

    auto sorted = [](std::vector<std::wstring> names) {
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::wstring> rootFiles = {root + L"a.plt", root + L"b.PLT", root + L"xplt"};
    for (const wchar_t* ext : {L"plt", L".plt", L"*.plt", L".PLT"})
        EXPECT_EQ(rootFiles, sorted(search(root, ext, false))) << ext;
    EXPECT_EQ(rootFiles, sorted(search(root.substr(0, root.size() - 1), L"plt", false))) << "no trailing separator";

    // Folders are searched from the last listed to the first, each with its own sub-folders first.
    std::vector<std::wstring> recursive = search(root, L"plt", true);
    ASSERT_EQ(8u, recursive.size());
    EXPECT_EQ(rootFiles, sorted({recursive.begin(), recursive.begin() + 3}));
    const bool twoFirst = recursive[3].find(L"\\Two\\") != std::wstring::npos;
    const std::vector<std::wstring> two = {root + L"Two\\Long pilot name.plt", root + L"Two\\two.plt",
                                           root + L"Two\\Пилот.plt"};
    const std::vector<std::wstring> one = {root + L"One\\one.plt", root + L"One\\Deep\\deep.plt"};
    const size_t twoAt = twoFirst ? 3 : 5;
    const size_t oneAt = twoFirst ? 6 : 3;
    EXPECT_EQ(two, sorted({recursive.begin() + twoAt, recursive.begin() + twoAt + 3}));
    EXPECT_EQ(one, std::vector<std::wstring>(recursive.begin() + oneAt, recursive.begin() + oneAt + 2));

    EXPECT_EQ(9u, search(root, L"txt.", true).size()) << "an extension emptied by its dot matches every file";
    EXPECT_TRUE(search(root, L"zzz", true).empty());
    std::vector<std::wstring> untouched;
    EXPECT_FALSE(FindByExtension(root, L"*.*", true, untouched));
    EXPECT_FALSE(FindByExtension(L"", L"plt", true, untouched));
    EXPECT_FALSE(FindByExtension(root, L"", true, untouched));
}

TEST(FilesModule, ExtensionSearchLeavesOutAMatchThatCannotBeRead)
{
    ScratchFolder scratch(L"Locked");
    scratch.file(L"free.plt");
    const std::wstring locked = scratch.file(L"locked.plt");
    raii::UniqueFile exclusive(CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive);
    EXPECT_EQ(std::vector<std::wstring>{scratch / L"free.plt"}, search(scratch.path(), L"plt", true));
}

TEST(FilesModule, FolderSizeSumsSixtyFourBitLengthsOfListedFiles)
{
    ScratchFolder scratch(L"Size");
    EXPECT_EQ(-1, GetDirSize(L"", false));
    EXPECT_EQ(-1, GetDirSize(L"  ", true));
    EXPECT_EQ(0, GetDirSize(scratch.path(), true)) << "an empty folder";

    scratch.file(L"a.bin", 1000);
    const std::wstring held = scratch.file(L"held.bin", 234);
    scratch.file(L"hidden.bin", 5000, FILE_ATTRIBUTE_HIDDEN);
    scratch.file(L"Sub\\b.bin", 20000);
    scratch.file(L"Sub\\Deeper\\c.bin", 300000);
    raii::UniqueFile exclusive(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive);

    EXPECT_EQ(1234, GetDirSize(scratch.path(), false)) << "a file held open by another handle still counts";
    EXPECT_EQ(1234, GetDirSize(L"\"" + scratch.path().substr(0, scratch.path().size() - 1) + L"\"", false));
    EXPECT_EQ(321234, GetDirSize(scratch.path(), true));
    EXPECT_EQ(0, GetDirSize(scratch / L"Missing", true));

    // A sparse file over 4 GB costs nothing on disk but must count in full.
    const std::wstring big = scratch.file(L"Sub\\big.bin");
    {
        raii::UniqueFile file(CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD returned = 0;
        DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
        LARGE_INTEGER size;
        size.QuadPart = 5LL << 30;
        ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    EXPECT_EQ(321234 + (5LL << 30), GetDirSize(scratch.path(), true));
}

TEST(FilesModule, MakePathCreatesEveryLevelAndKeepsTheCurrentDirectory)
{
    ScratchFolder scratch(L"MakePath");
    const std::wstring before = files_testing::currentDirectory();
    EXPECT_TRUE(MakePath(L"  " + scratch / L"a\\b\\c  "));
    EXPECT_TRUE(DirExists(scratch / L"a\\b\\c"));
    EXPECT_EQ(before, files_testing::currentDirectory());

    EXPECT_TRUE(MakePath(scratch / L"a\\b\\c\\")) << "existing levels are fine";
    const std::wstring blocker = scratch.file(L"file");
    EXPECT_TRUE(MakePath(blocker + L"\\x")) << "true even when a level cannot be made";
    EXPECT_FALSE(DirExists(blocker + L"\\x"));
    EXPECT_FALSE(MakePath(L""));
}

TEST(FilesModule, ShortNamesOpenTheSameFile)
{
    ScratchFolder scratch(L"Short");
    const std::wstring longName = scratch.file(L"A long folder name\\Пилот with spaces.plt", 10);
    const std::wstring shortName = GetShortFileName(longName);
    ASSERT_FALSE(shortName.empty());
    EXPECT_TRUE(IsShortFileName(shortName.substr(shortName.rfind(L'\\') + 1))) << shortName;

    auto identity = [](const std::wstring& name) {
        raii::UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                          nullptr));
        BY_HANDLE_FILE_INFORMATION info = {};
        GetFileInformationByHandle(file.get(), &info);
        return (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    };
    EXPECT_NE(0u, identity(shortName));
    EXPECT_EQ(identity(longName), identity(shortName));
    EXPECT_EQ(L"", GetShortFileName(scratch / L"missing.plt"));
    EXPECT_EQ(L"", GetShortFileName(L""));
}

TEST(FilesModule, SystemFoldersEndInASeparator)
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_EQ(std::wstring(windows) + L"\\", GetSystemFolder(128));
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(std::wstring(system) + L"\\", GetSystemFolder(256));
    for (long id : {0L, 5L, 6L, 64L}) {
        const std::wstring folder = GetSystemFolder(id);
        ASSERT_GT(folder.size(), 3u) << id;
        EXPECT_EQ(L'\\', folder.back()) << id;
        EXPECT_NE(L'\\', folder[folder.size() - 2]) << id;
        EXPECT_TRUE(DirExists(folder)) << folder;
    }
    EXPECT_EQ(L"", GetSystemFolder(17)) << "the computer folder has no path";
    EXPECT_EQ(L"", GetSystemFolder(9999));
}

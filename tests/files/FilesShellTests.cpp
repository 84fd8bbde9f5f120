// Copy, move and delete through Wine's real shell, on scratch folders; the
// confirmations are answered from a second thread (run under Xvfb).
#include <gtest/gtest.h>

#include <functional>

#include "DialogAnswers.h"
#include "RuntimeError.h"
#include "ScratchFolder.h"
#include "files/qfcLibFilesA.h"

using namespace quillon::qfcLibFilesA;
using files_testing::exists;
using files_testing::ScratchFolder;

namespace {

constexpr long kNoConfirmation = 16;

SourceNames listOf(const std::wstring& text) { return NamesFromText(text, L"|"); }

long errorOf(const std::function<void()>& body)
{
    try {
        body();
    } catch (const quillon::RuntimeError& error) {
        return error.number();
    }
    return 0;
}

} // namespace

TEST(FilesShell, CopyAndMoveReachOnlyAnExistingFolder)
{
    ScratchFolder scratch(L"Copy");
    const std::wstring a = scratch.file(L"a.txt"), b = scratch.file(L"Пилот é.plt");
    const std::wstring target = scratch.folder(L"Target") + L"\\";
    EXPECT_FALSE(CopyFile(0, listOf(a + L"|" + b), target, kCopy, kNoConfirmation, L""));
    EXPECT_TRUE(exists(target + L"a.txt") && exists(target + L"Пилот é.plt") && exists(a));

    // (Wine's shell moves only the first of several names into one folder, so the move takes one.)
    const std::wstring other = scratch.folder(L"Other") + L"\\";
    EXPECT_FALSE(CopyFile(0, NamesFromArray({L"", b, L""}), L"\"" + other + L"\"", kMove, kNoConfirmation,
                          std::wstring(1, L'\0')));
    EXPECT_TRUE(exists(other + L"Пилот é.plt") && !exists(b)) << "array with empty elements, quoted destination";

    for (const auto& [destination, operation] : {std::pair<std::wstring, long>{scratch / L"Missing\\", kCopy},
                                                 {L"", kCopy}, {target, kDelete}, {target, 4}})
        EXPECT_FALSE(CopyFile(0, listOf(a), destination, operation, kNoConfirmation, L"")) << destination;
    EXPECT_TRUE(exists(a) && !exists(scratch / L"Missing")) << "CopyFile never deletes, renames or makes folders";
}

TEST(FilesShell, DeleteWithoutConfirmationAndWithTheUsersAnswer)
{
    ScratchFolder scratch(L"Delete");
    const std::wstring a = scratch.file(L"a.txt"), b = scratch.file(L"b.txt"), asked = scratch.file(L"asked.txt");
    EXPECT_FALSE(DeleteFile(0, listOf(a + L"|" + b), kNoConfirmation));
    EXPECT_FALSE(exists(a) || exists(b));
    for (int answer : {IDNO, IDYES}) {
        testing_support::DialogAnswers user(answer);
        EXPECT_EQ(answer == IDNO, DeleteFile(0, listOf(asked), 0)) << "a refusal is an aborted operation";
        EXPECT_EQ(1, user.answered());
        EXPECT_EQ(answer == IDNO, exists(asked));
    }
}

TEST(FilesShell, NamesReachTheShellAbsoluteOrNotAtAll)
{
    ScratchFolder scratch(L"Names");
    const std::wstring keep = scratch.file(L"keep.txt"), relative = scratch.file(L"relative.txt");
    const std::wstring before = files_testing::currentDirectory();
    SetCurrentDirectoryW(scratch.path().c_str());
    EXPECT_FALSE(DeleteFile(0, listOf(L"relative.txt"), kNoConfirmation));
    EXPECT_FALSE(exists(relative)) << "a relative name means the current folder's file";

    // Given one name it cannot resolve, Wine's shell empties the current folder: such names never reach it.
    const std::wstring tooLong = std::wstring(300, L'x') + L".txt";
    EXPECT_EQ(52, errorOf([&] { DeleteFile(0, listOf(keep + L"|" + tooLong), kNoConfirmation); }));
    EXPECT_EQ(5, errorOf([&] { DeleteFile(0, NamesFromArray({std::wstring(L"keep.txt\0x", 10)}), kNoConfirmation); }));
    EXPECT_FALSE(DeleteFile(0, listOf(L" | "), kNoConfirmation)) << "blank names are no names";
    for (long flags : {0x10000L | kNoConfirmation, -1L}) {
        EXPECT_EQ(5, errorOf([&] { DeleteFile(0, listOf(keep), flags); })) << flags;
        EXPECT_EQ(5, errorOf([&] { CopyFile(0, listOf(keep), scratch.path(), kCopy, flags, L""); })) << flags;
    }
    SetCurrentDirectoryW(before.c_str());
    EXPECT_TRUE(exists(keep)) << "no refused call touched the folder";
}

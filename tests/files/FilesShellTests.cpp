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
using testing_support::DialogAnswers;

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

// Runs with the current directory set to a folder, then puts it back.
class InFolder {
public:
    explicit InFolder(const std::wstring& folder) : before_(files_testing::currentDirectory())
    {
        SetCurrentDirectoryW(folder.c_str());
    }
    ~InFolder() { SetCurrentDirectoryW(before_.c_str()); }

private:
    std::wstring before_;
};

} // namespace

TEST(FilesShell, CopyAndMoveReachOnlyAnExistingFolder)
{
    ScratchFolder scratch(L"Copy");
    const std::wstring a = scratch.file(L"a.txt", 3), b = scratch.file(L"Пилот é.plt", 4);
    const std::wstring target = scratch.folder(L"Target") + L"\\";

    EXPECT_FALSE(CopyFile(0, listOf(a + L"|" + b), target, kCopy, kNoConfirmation, L""));
    EXPECT_TRUE(exists(target + L"a.txt") && exists(target + L"Пилот é.plt")) << "two names joined by |";
    EXPECT_TRUE(exists(a) && exists(b));

    // (Wine's shell moves only the first of several names into one folder, so the move takes one.)
    const std::wstring other = scratch.folder(L"Other") + L"\\";
    EXPECT_FALSE(CopyFile(0, NamesFromArray({L"", b, L""}), L"\"" + other + L"\"", kMove, kNoConfirmation,
                          std::wstring(1, L'\0')));
    EXPECT_TRUE(exists(other + L"Пилот é.plt")) << "array with empty elements, quoted destination";
    EXPECT_FALSE(exists(b)) << "moved";
    EXPECT_TRUE(exists(a));

    const std::wstring c = scratch.file(L"c.txt");
    EXPECT_FALSE(CopyFile(0, listOf(c), scratch / L"Missing\\", kCopy, kNoConfirmation, L""));
    EXPECT_FALSE(exists(scratch / L"Missing")) << "a destination that does not exist does nothing";
    EXPECT_FALSE(CopyFile(0, listOf(c), L"", kCopy, kNoConfirmation, L""));
    EXPECT_FALSE(CopyFile(0, listOf(c), target, kDelete, kNoConfirmation, L""));
    EXPECT_FALSE(CopyFile(0, listOf(c), target, 4, kNoConfirmation, L""));
    EXPECT_TRUE(exists(c)) << "CopyFile never deletes or renames";
    EXPECT_FALSE(exists(target + L"c.txt"));
}

TEST(FilesShell, DeleteWithoutConfirmationAndWithTheUsersAnswer)
{
    ScratchFolder scratch(L"Delete");
    const std::wstring a = scratch.file(L"a.txt"), b = scratch.file(L"b.txt"), keep = scratch.file(L"keep.txt");
    EXPECT_FALSE(DeleteFile(0, listOf(a + L"|" + b), kNoConfirmation));
    EXPECT_FALSE(exists(a) || exists(b));
    EXPECT_TRUE(exists(keep));

    const std::wstring asked = scratch.file(L"asked.txt");
    {
        DialogAnswers no(IDNO);
        EXPECT_TRUE(DeleteFile(0, listOf(asked), 0)) << "a refusal is an aborted operation";
        EXPECT_EQ(1, no.answered());
    }
    EXPECT_TRUE(exists(asked));
    {
        DialogAnswers yes(IDYES);
        EXPECT_FALSE(DeleteFile(0, listOf(asked), 0));
        EXPECT_EQ(1, yes.answered());
    }
    EXPECT_FALSE(exists(asked));

    EXPECT_FALSE(DeleteFile(0, NamesFromArray({L"", L""}), kNoConfirmation)) << "nothing to delete";
    EXPECT_TRUE(exists(keep));
}

TEST(FilesShell, NamesReachTheShellAbsoluteOrNotAtAll)
{
    ScratchFolder scratch(L"Names");
    const std::wstring keep = scratch.file(L"keep.txt");
    const std::wstring relative = scratch.file(L"relative.txt");
    InFolder inside(scratch.path());

    EXPECT_FALSE(DeleteFile(0, listOf(L"relative.txt"), kNoConfirmation));
    EXPECT_FALSE(exists(relative)) << "a relative name means the current folder's file";

    const std::wstring tooLong = std::wstring(300, L'x') + L".txt";
    EXPECT_EQ(52, errorOf([&] { DeleteFile(0, listOf(tooLong), kNoConfirmation); }));
    EXPECT_EQ(52, errorOf([&] { DeleteFile(0, listOf(keep + L"|" + tooLong), kNoConfirmation); }));
    EXPECT_EQ(quillon::kInvalidArgument,
              errorOf([&] { DeleteFile(0, NamesFromArray({std::wstring(L"keep.txt\0x", 10)}), kNoConfirmation); }));
    EXPECT_FALSE(DeleteFile(0, listOf(L"   "), kNoConfirmation)) << "a blank name is no name";
    EXPECT_FALSE(DeleteFile(0, listOf(L"|  |"), kNoConfirmation));
    EXPECT_TRUE(exists(keep)) << "no refused call touched the current folder";
    EXPECT_TRUE(exists(scratch.path()));

    for (long flags : {0x10000L | kNoConfirmation, -1L}) {
        EXPECT_EQ(quillon::kInvalidArgument, errorOf([&] { DeleteFile(0, listOf(keep), flags); })) << flags;
        EXPECT_EQ(quillon::kInvalidArgument,
                  errorOf([&] { CopyFile(0, listOf(keep), scratch.path(), kCopy, flags, L""); }))
            << flags;
    }
    EXPECT_TRUE(exists(keep)) << "flags beyond 16 bits are refused, not cut down";
}

// The pure decisions of the registry modules: operating-system codes, how a
// key tree is deleted, key paths of the maker's tree, value names and roots.
#include <gtest/gtest.h>

#include "registry/qfcLibRegistryA.h"
#include "registry/qfcLibRegistryB.h"

using namespace quillon::qfcLibRegistryB;
namespace A = quillon::qfcLibRegistryA;

TEST(OSDecisions, ClassificationAndDeleteStrategyFollowTheSystemTable)
{
    using S = DeleteStrategy;
    struct Row { const char* name; unsigned long platform, major, minor; long code; S oldShell, newShell; } rows[] = {
        {"Win32s", 0, 3, 11, 32, S::Refuse, S::Refuse},
        {"Windows 95", 1, 4, 0, 95, S::SingleCall, S::SingleCall},
        {"Windows 98", 1, 4, 10, 98, S::SingleCall, S::SingleCall},
        {"other 9x", 1, 4, 90, 0, S::Refuse, S::Refuse},
        {"NT 3.51", 2, 3, 51, 351, S::Refuse, S::Refuse},
        {"NT 4.0", 2, 4, 0, 40, S::ChildByChild, S::ShellTree},
        {"2000", 2, 5, 0, 2000, S::ChildByChild, S::ShellTree},
        {"XP", 2, 5, 1, 2000, S::ChildByChild, S::ShellTree},
        {"7", 2, 6, 1, 0, S::ChildByChild, S::ShellTree},
        {"unknown platform", 3, 4, 0, 0, S::Refuse, S::Refuse},
    };
    struct Shell { unsigned long major, minor; bool at471; } shells[] = {
        {3, 99, false}, {4, 70, false}, {4, 71, true}, {5, 0, true}};
    for (const Shell& shell : shells)
        EXPECT_EQ(shell.at471, IsVersion471OrLater(shell.major, shell.minor)) << shell.major << "." << shell.minor;
    for (const Row& row : rows) {
        EXPECT_EQ(row.code, ClassifyOS(row.platform, row.major, row.minor)) << row.name;
        for (const Shell& shell : shells) {
            const S expected = shell.at471 ? row.newShell : row.oldShell;
            EXPECT_EQ(expected, ChooseDeleteStrategy(row.platform, row.major, row.minor, shell.at471, 255))
                << row.name << " with shell library " << shell.major << "." << shell.minor;
            EXPECT_EQ(expected == S::SingleCall ? S::PathTooLong : expected,
                      ChooseDeleteStrategy(row.platform, row.major, row.minor, shell.at471, 256))
                << row.name << ": only Windows 95/98 limit paths to 255 characters";
        }
    }
}

TEST(KeyPaths, BaseKeysAndSubKeyRule)
{
    const std::wstring app = L"Software\\Brannock\\Apps\\Vantorel";
    struct Row { long base; const wchar_t* sub; std::wstring expected; } rows[] = {
        {1, L"", app},                       {-1, L"", app},
        {1, L"Forms", app + L"\\Forms"},     {1, L"\\Forms", app + L"\\Forms"},
        {1, L"Forms\\", app + L"\\Forms\\"}, {1, L"\\\\Forms", app + L"\\\\Forms"},
        {1, L" A\\B ", app + L"\\ A\\B "},   {7, L"Forms", app + L"\\Forms"},
        {2, L"Net", L"Software\\Brannock\\System\\Net"}, {3, L"\\Net", L"Software\\Brannock\\User\\Net"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, A::KeyPath(row.base, row.sub, L"Vantorel")) << row.base << " " << row.sub;
}

TEST(KeyPaths, DeletesStayBelowTheApplicationsOwnKey)
{
    using R = A::DeleteRefusal;
    struct Row { long base; std::wstring sub, title; R expected; } rows[] = {
        {1, L"", L"Vantorel", R::NamesBaseKey},    {2, L"\\", L"", R::NamesBaseKey},
        {1, L"Forms", L"", R::NoApplication},      {-1, L"Forms", L"", R::NoApplication},
        {1, L"Forms", L"\\", R::NoApplication},  {1, L"Forms", L"Other\\Vantorel", R::NoApplication},
        {1, L"Forms", L"Vantorel", R::None},       {3, L"Net", L"", R::None},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, A::RefuseDelete(row.base, row.sub, row.title)) << row.base << " " << row.title.c_str();
}

TEST(ValueNamesAndRoots, OnlyExactMarkersAndPredefinedRootsAreRecognised)
{
    for (const wchar_t* asIs : {L"{default}", L"{DEFAULT}", L" {Default}", L"", L"EXEPath"})
        EXPECT_EQ(asIs, A::ValueName(asIs));
    EXPECT_EQ(L"", A::ValueName(L"{Default}"));

    EXPECT_EQ(HKEY_CLASSES_ROOT, A::RootKey(static_cast<long>(qc::kClassesRoot)));
    EXPECT_EQ(HKEY_DYN_DATA, A::RootKey(static_cast<long>(qc::kDynData)));
    for (unsigned long other : {0x80000007UL, 0x7FFFFFFFUL, 0UL, 0xFFFFFFFFUL})
        EXPECT_EQ(nullptr, A::RootKey(static_cast<long>(other))) << std::hex << other;
}

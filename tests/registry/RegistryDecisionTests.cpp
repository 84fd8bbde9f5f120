// The pure decisions of the registry modules: operating-system codes, how a
// key tree is deleted, key paths of the maker's tree, value names and roots.
#include <gtest/gtest.h>

#include "registry/qfcLibRegistryA.h"
#include "registry/qfcLibRegistryB.h"

using namespace quillon::qfcLibRegistryB;
namespace A = quillon::qfcLibRegistryA;

namespace {

struct SystemRow {
    const char* name;
    unsigned long platform, major, minor;
    long code;
};

const SystemRow kSystems[] = {
    {"Win32s", 0, 3, 11, 32},     {"Windows 95", 1, 4, 0, 95},
    {"Windows 98", 1, 4, 10, 98}, {"other 9x", 1, 4, 90, 0},
    {"NT 3.51", 2, 3, 51, 351}, {"NT 4.0", 2, 4, 0, 40},
    {"2000", 2, 5, 0, 2000},      {"XP", 2, 5, 1, 2000},
    {"7", 2, 6, 1, 0},         {"10", 2, 10, 0, 0},
    {"unknown platform", 3, 4, 0, 0},
};

} // namespace

TEST(OSClassification, FollowsThePlatformTable)
{
    for (const SystemRow& row : kSystems)
        EXPECT_EQ(row.code, ClassifyOS(row.platform, row.major, row.minor)) << row.name;
}

TEST(ShellLibraryVersion, TreeDeletionNeeds471)
{
    struct Row { unsigned long major, minor; bool expected; } rows[] = {
        {4, 0, false}, {4, 70, false}, {4, 71, true}, {4, 72, true}, {5, 0, true}, {6, 0, true}, {3, 99, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, IsVersion471OrLater(row.major, row.minor)) << row.major << "." << row.minor;
}

TEST(DeleteStrategy, ModernNTDeletesTreesOldSystemsRefuse)
{
    using S = DeleteStrategy;
    struct ShellVersion { unsigned long major, minor; } shells[] = {{4, 70}, {4, 71}, {5, 0}, {6, 0}};
    struct Row { const char* name; unsigned long platform, major, minor; S old, modern; } rows[] = {
        {"Win32s", 0, 3, 11, S::Refuse, S::Refuse},
        {"Windows 95", 1, 4, 0, S::SingleCall, S::SingleCall},
        {"Windows 98", 1, 4, 10, S::SingleCall, S::SingleCall},
        {"other 9x", 1, 4, 90, S::Refuse, S::Refuse},
        {"NT 3.51", 2, 3, 51, S::Refuse, S::Refuse},
        {"NT 4.0", 2, 4, 0, S::ChildByChild, S::ShellTree},
        {"2000", 2, 5, 0, S::ChildByChild, S::ShellTree},
        {"XP", 2, 5, 1, S::ChildByChild, S::ShellTree},
        {"7", 2, 6, 1, S::ChildByChild, S::ShellTree},
        {"10", 2, 10, 0, S::ChildByChild, S::ShellTree},
    };
    for (const Row& row : rows)
        for (const ShellVersion& shell : shells) {
            bool at471 = IsVersion471OrLater(shell.major, shell.minor);
            EXPECT_EQ(at471 ? row.modern : row.old,
                      ChooseDeleteStrategy(row.platform, row.major, row.minor, at471, 40))
                << row.name << " with shell library " << shell.major << "." << shell.minor;
        }
}

TEST(DeleteStrategy, Windows9xRefusesPathsLongerThan255Characters)
{
    for (unsigned long minor : {0UL, 10UL}) {
        EXPECT_EQ(DeleteStrategy::SingleCall, ChooseDeleteStrategy(1, 4, minor, true, 255));
        EXPECT_EQ(DeleteStrategy::PathTooLong, ChooseDeleteStrategy(1, 4, minor, true, 256));
        EXPECT_EQ(DeleteStrategy::PathTooLong, ChooseDeleteStrategy(1, 4, minor, false, 5000));
    }
    EXPECT_EQ(DeleteStrategy::ShellTree, ChooseDeleteStrategy(2, 6, 1, true, 5000)) << "the limit is 9x only";
    EXPECT_EQ(DeleteStrategy::Refuse, ChooseDeleteStrategy(2, 3, 51, true, 256));
}

TEST(KeyPaths, BaseKeysAndSubKeyRule)
{
    struct Row { long base; const wchar_t* sub; const wchar_t* title; const wchar_t* expected; } rows[] = {
        {1, L"", L"Vantorel", L"Software\\Brannock\\Apps\\Vantorel"},
        {1, L"Forms", L"Vantorel", L"Software\\Brannock\\Apps\\Vantorel\\Forms"},
        {1, L"\\Forms", L"Vantorel", L"Software\\Brannock\\Apps\\Vantorel\\Forms"},
        {1, L"Forms\\", L"Vantorel", L"Software\\Brannock\\Apps\\Vantorel\\Forms\\"},
        {1, L"\\\\Forms", L"Vantorel", L"Software\\Brannock\\Apps\\Vantorel\\\\Forms"},
        {1, L"A\\B", L"Vantorel", L"Software\\Brannock\\Apps\\Vantorel\\A\\B"},
        {7, L"Forms", L"Vantorel", L"Software\\Brannock\\Apps\\Vantorel\\Forms"},
        {0, L"", L"Vantorel", L"Software\\Brannock\\Apps\\Vantorel"},
        {-1, L"", L"Vantorel", L"Software\\Brannock\\Apps\\Vantorel"},
        {2, L"", L"Vantorel", L"Software\\Brannock\\System"},
        {2, L"Net", L"Vantorel", L"Software\\Brannock\\System\\Net"},
        {3, L"\\Net", L"Vantorel", L"Software\\Brannock\\User\\Net"},
        {1, L"", L"", L"Software\\Brannock\\Apps\\"},
        {1, L" Forms ", L"My App", L"Software\\Brannock\\Apps\\My App\\ Forms "},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, A::KeyPath(row.base, row.sub, row.title)) << row.base << " " << row.sub;
}

TEST(ValueNames, OnlyTheExactDefaultMarkerNamesTheUnnamedValue)
{
    EXPECT_EQ(L"", A::ValueName(L"{Default}"));
    EXPECT_EQ(L"{default}", A::ValueName(L"{default}"));
    EXPECT_EQ(L"{DEFAULT}", A::ValueName(L"{DEFAULT}"));
    EXPECT_EQ(L" {Default}", A::ValueName(L" {Default}"));
    EXPECT_EQ(L"", A::ValueName(L""));
    EXPECT_EQ(L"EXEPath", A::ValueName(L"EXEPath"));
}

TEST(RootKeys, OnlyThePredefinedRootsAreAccepted)
{
    EXPECT_EQ(HKEY_CLASSES_ROOT, A::RootKey(static_cast<long>(0x80000000UL)));
    EXPECT_EQ(HKEY_CURRENT_USER, A::RootKey(static_cast<long>(0x80000001UL)));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, A::RootKey(static_cast<long>(0x80000002UL)));
    EXPECT_EQ(HKEY_USERS, A::RootKey(static_cast<long>(0x80000003UL)));
    EXPECT_EQ(HKEY_DYN_DATA, A::RootKey(static_cast<long>(0x80000006UL)));
    for (unsigned long other : {0x80000007UL, 0x7FFFFFFFUL, 0UL, 1UL, 0xFFFFFFFFUL})
        EXPECT_EQ(nullptr, A::RootKey(static_cast<long>(other))) << std::hex << other;
}

TEST(KeyPaths, PathsWithoutAKeyNameAreRecognised)
{
    for (const wchar_t* none : {L"", L"\\", L"\\\\\\"}) EXPECT_TRUE(NamesNoKey(none)) << none;
    for (const wchar_t* some : {L"a", L"\\a", L"a\\", L" "}) EXPECT_FALSE(NamesNoKey(some)) << some;
}

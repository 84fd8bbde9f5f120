// The pure decisions of the registry modules: key paths of the maker's tree, which deletes
// stay below the application's key, value names and roots. (How a tree is deleted on the
// systems that can load the library: the module's delete tests.)
#include <gtest/gtest.h>

#include "registry/qfcLibRegistryA.h"

namespace A = quillon::qfcLibRegistryA;

TEST(KeyPaths, BaseKeysAndSubKeyRule)
{
    const std::wstring app = L"Software\\Brannock\\Apps\\Vantorel";
    struct Row { long base; const wchar_t* sub; std::wstring expected; } rows[] = {
        {1, L"", app},                       {-1, L"", app},
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

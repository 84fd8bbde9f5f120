// The registry routines and the class's method bodies called directly, on the
// real registry with HKEY_CURRENT_USER redirected to a scratch key.
#include "TestSupport.h"
#include "core/qfcLibCoreA.h"
#include "registry/qfcLibRegistryA.h"
#include "registry/qfcLibRegistryB.h"
#include "server/Failure.h"

#include <sddl.h>

#include <thread>

using namespace testing_support;
using namespace quillon::qfcLibRegistryB;
using quillon::checkedName;
using quillon::failure::ErrorRecord;
using quillon::failure::lastError;
namespace A = quillon::qfcLibRegistryA;

namespace {

const std::wstring kBase = L"Software\\Brannock\\Tests";
const std::wstring kAppKey = L"Software\\Brannock\\Apps\\Vantorel";
const long kCurrentUser = static_cast<long>(qc::kCurrentUser);

void makeTree(const std::wstring& root)
{
    for (const wchar_t* sub : {L"\\A\\A1\\A11", L"\\A\\A2", L"\\B", L""})
        ASSERT_TRUE(REG_SaveString(HKEY_CURRENT_USER, checkedName(root + sub), checkedName(L"Value"), sub));
}

class RegistryModule : public ::testing::Test {
protected:
    void SetUp() override { quillon::qfcLibCoreA::InitCore(L"Vantorel", L"Vantorel", L"C:\\Games\\", 1, 1, 32); }
    ScratchCurrentUser scratch_{L"RegistryModule"};
};

} // namespace

TEST_F(RegistryModule, FailedCallsRecordNumberAndSystemTextPerThread)
{
    std::wstring text = L"stale";
    EXPECT_FALSE(REG_GetString(HKEY_CURRENT_USER, checkedName(kBase + L"\\Missing"), checkedName(L"Value"), text));
    EXPECT_EQ(L"", text);
    wchar_t system[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILE_NOT_FOUND, 0,
                   system, 511, nullptr);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, lastError().LastErrorNumber);
    EXPECT_EQ(system, lastError().LastErrorText);

    ASSERT_TRUE(REG_SaveString(HKEY_CURRENT_USER, checkedName(kBase), checkedName(L"Value"), L"v"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, lastError().LastErrorNumber) << "a success keeps the last failure";

    ErrorRecord seen;
    std::thread([&] {
        seen = lastError();
        EXPECT_FALSE(REG_DeleteValue(nullptr, checkedName(kBase), checkedName(L"Value")));
        EXPECT_EQ(ERROR_INVALID_HANDLE, lastError().LastErrorNumber) << "a null root is refused, not used";
    }).join();
    EXPECT_EQ(0, seen.LastErrorNumber) << "a new thread starts with an empty record";
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, lastError().LastErrorNumber) << "another thread's failure leaked in";
}

TEST_F(RegistryModule, ChildByChildDeletionRemovesTheTreeAndFailsWhenTheKeyStays)
{
    const std::wstring tree = kBase + L"\\Hand\\";
    makeTree(tree);
    EXPECT_TRUE(REG_DeleteKeyTree(HKEY_CURRENT_USER, checkedName(tree))) << "a trailing separator is allowed";
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, tree));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kBase)) << "the parent stays";

    // A handle that cannot enumerate ends the loop at once; the key, still holding sub-keys, cannot go.
    const std::wstring kept = kBase + L"\\Kept";
    makeTree(kept);
    raii::UniqueHKey noEnumeration;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kept.c_str(), 0, KEY_QUERY_VALUE, noEnumeration.put()));
    EXPECT_FALSE(REG_DeleteSubKeys(HKEY_CURRENT_USER, noEnumeration.get(), checkedName(kept)));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kept + L"\\A\\A1\\A11"));
}

TEST_F(RegistryModule, ReadOnlyKeysAreReadButNotWritten)
{
    // An access list as an administrator sets on keys a standard account may only read.
    const std::wstring path = kBase + L"\\ReadOnly";
    ASSERT_TRUE(REG_SaveString(HKEY_CURRENT_USER, checkedName(path), checkedName(L"Value"), L"readable"));
    raii::UniqueLocal descriptor;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KRSDWD;;;WD)", SDDL_REVISION_1,
                                                                     descriptor.put(), nullptr));
    {
        raii::UniqueHKey key;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, key.put()));
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor.get()));
    }
    raii::UniqueHKey probe;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, probe.put()) != ERROR_ACCESS_DENIED)
        GTEST_SKIP() << "this registry does not enforce key security";

    std::wstring text;
    EXPECT_TRUE(REG_GetString(HKEY_CURRENT_USER, checkedName(path), checkedName(L"Value"), text));
    EXPECT_EQ(L"readable", text);
    EXPECT_FALSE(REG_SaveString(HKEY_CURRENT_USER, checkedName(path), checkedName(L"Value"), L"changed"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, lastError().LastErrorNumber);
}

TEST_F(RegistryModule, RefusalsChangeNothingAndOtherTypesReadAsMissing)
{
    ASSERT_TRUE(A::KeySet(checkedName(L"Keep"), L"1", checkedName(L""), 1));
    ASSERT_TRUE(A::KeySet(checkedName(L"Keep"), L"1", checkedName(L"Forms"), 1));
    EXPECT_FALSE(A::KeyDelete(checkedName(L"\\"), 1)) << "a bare separator would address the application key itself";
    EXPECT_FALSE(A::RegDeleteKey(kCurrentUser, checkedName(L""))) << "an empty path must not empty the root";
    EXPECT_FALSE(A::KeyDeleteValue(checkedName(L""), checkedName(L"Forms"), 1));
    EXPECT_EQ(L"1", storedText(HKEY_CURRENT_USER, kAppKey, L"Keep"));
    EXPECT_EQ(L"1", storedText(HKEY_CURRENT_USER, kAppKey + L"\\Forms", L"Keep"));
    EXPECT_TRUE(A::KeyDeleteValue(checkedName(L"Keep"), checkedName(L"Forms"), 1));
    EXPECT_EQ(L"<missing>", storedText(HKEY_CURRENT_USER, kAppKey + L"\\Forms", L"Keep"));

    const long unknown = static_cast<long>(0x80000007UL);  // a null root would read from the object namespace
    EXPECT_EQ(L"default", A::RegKeyGetString(unknown, checkedName(L"Software"), checkedName(L"{Default}"), L"default"));
    EXPECT_FALSE(A::RegKeySetString(unknown, checkedName(L"Software\\Brannock"), checkedName(L"X"), L"1"));
    EXPECT_FALSE(A::RegDeleteKey(unknown, checkedName(L"Software\\Brannock")));

    // The same text under each type: only the type makes it missing.
    for (DWORD type : {DWORD(REG_EXPAND_SZ), DWORD(REG_BINARY), DWORD(REG_MULTI_SZ)}) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, kAppKey.c_str(), L"Typed", type, L"ab\0", 8));
        EXPECT_EQ(L"default", A::KeyGet(checkedName(L"Typed"), L"default", checkedName(L""), 1)) << type;
    }
}

TEST_F(RegistryModule, NestedTreesAreRemovedWholeByKeyDeleteAndRegDeleteKey)
{
    ASSERT_TRUE(A::KeySet(checkedName(L"V"), L"sibling", checkedName(L"Sibling"), 1));
    for (int round = 0; round < 2; ++round) {
        for (const wchar_t* sub : {L"Tree\\A\\A1", L"Tree\\A\\A2", L"Tree\\B"})
            ASSERT_TRUE(A::KeySet(checkedName(L"V"), sub, checkedName(sub), 1));
        EXPECT_TRUE(round == 0 ? A::KeyDelete(checkedName(L"Tree"), 1)
                               : A::RegDeleteKey(kCurrentUser, checkedName(kAppKey + L"\\Tree")));
        EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kAppKey + L"\\Tree")) << round;
        EXPECT_EQ(L"sibling", storedText(HKEY_CURRENT_USER, kAppKey + L"\\Sibling", L"V"));
    }
    EXPECT_FALSE(A::KeyDelete(checkedName(L"Tree"), 1)) << "already gone";
}

// The registry routines called directly, as the library's other modules call
// them, on the real registry with HKEY_CURRENT_USER redirected to a scratch key.
#include "TestSupport.h"
#include "registry/qfcLibRegistryB.h"

#include <sddl.h>

#include <thread>
#include <vector>

using namespace testing_support;
using namespace quillon::qfcLibRegistryB;

namespace {

const std::wstring kBase = L"Software\\Brannock\\Tests";

std::wstring systemText(DWORD code)
{
    wchar_t buffer[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer, 511, nullptr);
    return buffer;
}

void writeRaw(const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD bytes)
{
    raii::UniqueHKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, key.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes));
}

void makeTree(const std::wstring& root)
{
    for (const wchar_t* sub : {L"\\A\\A1\\A11", L"\\A\\A1\\A12", L"\\A\\A2", L"\\B", L""})
        ASSERT_TRUE(REG_SaveString(HKEY_CURRENT_USER, root + sub, L"Value", sub));
}

std::wstring keyClass(const std::wstring& path)
{
    raii::UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return L"<none>";
    wchar_t text[64] = {};
    DWORD length = 64;
    RegQueryInfoKeyW(key.get(), text, &length, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    return std::wstring(text, length);
}

class RegistryModule : public ::testing::Test {
protected:
    ScratchCurrentUser scratch_{L"RegistryModule"};
};

} // namespace

TEST_F(RegistryModule, StringsOfAnyLengthAndScriptRoundTrip)
{
    std::vector<std::wstring> texts = {L"", L"x", L"C:\\Games\\Descent3\\main.exe",
                                       L"Gr\u00fc\u00dfe \u2713 \u65e5\u672c\u8a9e \U0001F600 \u0416"};
    for (size_t length : {255u, 256u, 257u, 260u, 4096u, 100000u}) texts.push_back(std::wstring(length, L'q'));
    for (const std::wstring& text : texts) {
        ASSERT_TRUE(REG_SaveString(HKEY_CURRENT_USER, kBase, L"Text", text)) << text.size();
        std::wstring back = L"stale";
        ASSERT_TRUE(REG_GetString(HKEY_CURRENT_USER, kBase, L"Text", back)) << text.size();
        EXPECT_EQ(text, back) << "length " << text.size();
        std::wstring direct;
        ASSERT_TRUE(readString(HKEY_CURRENT_USER, kBase, L"Text", &direct));
        EXPECT_EQ(text, direct) << "stored as plain REG_SZ";
    }
}

TEST_F(RegistryModule, SavingCreatesEveryMissingKeyWithClassZero)
{
    ASSERT_TRUE(REG_SaveString(HKEY_CURRENT_USER, kBase + L"\\One\\Two\\Three", L"", L"deep"));
    for (const wchar_t* path : {L"", L"\\One", L"\\One\\Two", L"\\One\\Two\\Three"})
        EXPECT_EQ(L"0", keyClass(kBase + path)) << path;
    std::wstring value;
    ASSERT_TRUE(readString(HKEY_CURRENT_USER, kBase + L"\\One\\Two\\Three", L"", &value));
    EXPECT_EQ(L"deep", value);

    unsigned long type = 0, size = 0;
    ASSERT_TRUE(REG_SaveString(HKEY_CURRENT_USER, kBase, L"Empty", L""));
    ASSERT_TRUE(REG_GetValueType(HKEY_CURRENT_USER, kBase, L"Empty", type, size));
    EXPECT_EQ(unsigned(REG_SZ), type);
    EXPECT_LE(size, sizeof(wchar_t));
}

TEST_F(RegistryModule, OtherValueTypesReadAsMissing)
{
    const wchar_t expand[] = L"%TEMP%\\x";
    const wchar_t multi[] = L"a\0b\0";
    const DWORD number = 42;
    const BYTE binary[] = {'a', 0, 'b', 0, 0, 0};
    writeRaw(kBase, L"Expand", REG_EXPAND_SZ, expand, sizeof(expand));
    writeRaw(kBase, L"Multi", REG_MULTI_SZ, multi, sizeof(multi));
    writeRaw(kBase, L"Number", REG_DWORD, &number, sizeof(number));
    writeRaw(kBase, L"Binary", REG_BINARY, binary, sizeof(binary));
    for (const wchar_t* name : {L"Expand", L"Multi", L"Number", L"Binary"}) {
        std::wstring text = L"stale";
        EXPECT_FALSE(REG_GetString(HKEY_CURRENT_USER, kBase, name, text)) << name;
        EXPECT_EQ(L"", text) << name;
        EXPECT_EQ(-1, LastError().LastErrorNumber);
        EXPECT_EQ(kNotAStringText, LastError().LastErrorText);
    }
}

TEST_F(RegistryModule, FailedCallsRecordNumberAndSystemTextPerThread)
{
    std::wstring text = L"stale";
    EXPECT_FALSE(REG_GetString(HKEY_CURRENT_USER, kBase + L"\\Missing", L"Value", text));
    EXPECT_EQ(L"", text);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, LastError().LastErrorNumber);
    EXPECT_EQ(systemText(ERROR_FILE_NOT_FOUND), LastError().LastErrorText);
    EXPECT_FALSE(LastError().LastErrorText.empty());
    EXPECT_EQ(0u, GetLastError()) << "the report clears the thread's error code";

    ASSERT_TRUE(REG_SaveString(HKEY_CURRENT_USER, kBase, L"Value", L"v"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, LastError().LastErrorNumber) << "a success keeps the last failure";

    ErrorRecord seen;
    std::thread([&] {
        seen = LastError();
        REG_DeleteValue(nullptr, kBase, L"Value");
        EXPECT_EQ(ERROR_INVALID_HANDLE, LastError().LastErrorNumber);
    }).join();
    EXPECT_EQ(0, seen.LastErrorNumber);
    EXPECT_EQ(L"", seen.LastErrorText);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, LastError().LastErrorNumber) << "another thread's failure leaked in";
}

TEST_F(RegistryModule, ReportTakesTheThreadErrorOnlyWhenNoCodeIsGiven)
{
    long number = 99;
    std::wstring text = L"stale";
    SetLastError(0);
    EXPECT_FALSE(REG_ReportAPIError(0, L"RegOpenKeyEx", number, text, false));
    EXPECT_EQ(0, number);
    EXPECT_EQ(L"", text);

    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_TRUE(REG_ReportAPIError(0, L"RegOpenKeyEx", number, text, false));
    EXPECT_EQ(ERROR_ACCESS_DENIED, number);
    EXPECT_EQ(systemText(ERROR_ACCESS_DENIED), text);
    EXPECT_EQ(0u, GetLastError());

    EXPECT_TRUE(REG_ReportAPIError(ERROR_INVALID_HANDLE, L"RegCloseKey", number, text, false));
    EXPECT_EQ(ERROR_INVALID_HANDLE, number);
}

TEST_F(RegistryModule, TreesAreDeletedWholeByEachStrategy)
{
    const std::wstring byShell = kBase + L"\\Shell", byHand = kBase + L"\\Hand\\", sibling = kBase + L"\\Sibling";
    makeTree(byShell);
    makeTree(byHand);
    ASSERT_TRUE(REG_SaveString(HKEY_CURRENT_USER, sibling, L"Value", L"keep"));

    EXPECT_TRUE(REG_DeleteKey(HKEY_CURRENT_USER, byShell));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, byShell));
    EXPECT_TRUE(REG_DeleteKeyTree(HKEY_CURRENT_USER, byHand)) << "a trailing separator is allowed";
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, byHand));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, sibling));

    makeTree(byShell);
    raii::UniqueHKey open;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, byShell.c_str(), 0, KEY_READ, open.put()));
    EXPECT_TRUE(REG_DeleteSubKeys(HKEY_CURRENT_USER, open.get(), byShell));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, byShell));

    long count = -1;
    ASSERT_TRUE(REG_CountSubKeys(HKEY_CURRENT_USER, kBase, count));
    EXPECT_EQ(1, count);
}

TEST_F(RegistryModule, DeletingMissingOrNamelessKeysFailsAndKeepsTheRoot)
{
    ASSERT_TRUE(REG_SaveString(HKEY_CURRENT_USER, kBase, L"Value", L"keep"));
    EXPECT_FALSE(REG_DeleteKey(HKEY_CURRENT_USER, kBase + L"\\Missing"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, LastError().LastErrorNumber);
    EXPECT_FALSE(REG_DeleteKeyTree(HKEY_CURRENT_USER, kBase + L"\\Missing"));

    for (const wchar_t* nothing : {L"", L"\\", L"\\\\"}) {
        EXPECT_FALSE(REG_DeleteKey(HKEY_CURRENT_USER, nothing)) << nothing;
        EXPECT_EQ(kNoKeyToDeleteText, LastError().LastErrorText);
        EXPECT_FALSE(REG_DeleteKeyTree(HKEY_CURRENT_USER, nothing)) << nothing;
    }
    EXPECT_TRUE(readString(HKEY_CURRENT_USER, kBase, L"Value", nullptr)) << "the root was emptied";
}

TEST_F(RegistryModule, UnknownRootFailsCleanly)
{
    std::wstring text;
    unsigned long type = 0, size = 0;
    long count = 0;
    EXPECT_FALSE(REG_GetString(nullptr, kBase, L"Value", text));
    EXPECT_EQ(ERROR_INVALID_HANDLE, LastError().LastErrorNumber);
    EXPECT_FALSE(REG_DeleteValue(nullptr, kBase, L"Value"));
    EXPECT_FALSE(REG_GetValueType(nullptr, kBase, L"Value", type, size));
    EXPECT_FALSE(REG_CountSubKeys(nullptr, kBase, count));
    EXPECT_FALSE(REG_DeleteKeyTree(nullptr, kBase));
}

TEST_F(RegistryModule, SystemAndShellLibraryAreDetectedOncePerThread)
{
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExW(&info));
    EXPECT_TRUE(REG_IsOSSupported());
    EXPECT_EQ(ClassifyOS(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion), OSCache().OSType);
    EXPECT_EQ(std::to_wstring(info.dwMajorVersion) + L"." + std::to_wstring(info.dwMinorVersion),
              OSCache().OSVersionText);
    EXPECT_EQ(std::to_wstring(info.dwBuildNumber), OSCache().OSBuildText);
    EXPECT_FALSE(OSCache().OSDetectFailed);

    EXPECT_TRUE(REG_IsShlwapi471());
    EXPECT_FALSE(ShlwapiCache().ShlwapiVersionText.empty());
    EXPECT_FALSE(ShlwapiCache().ShlwapiCheckFailed);

    OSState other;
    std::thread([&] { other = OSCache(); }).join();
    EXPECT_TRUE(other.OSVersionText.empty()) << "each thread detects for itself";
}

namespace {

// Replaces a key's access list, as an administrator restricts keys a standard account may only read.
bool restrictKey(const std::wstring& path, const wchar_t* sddl)
{
    raii::UniqueLocal descriptor;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, descriptor.put(), nullptr))
        return false;
    raii::UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, key.put()) != ERROR_SUCCESS) return false;
    return RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor.get()) == ERROR_SUCCESS;
}

bool securityEnforced(const std::wstring& path)
{
    raii::UniqueHKey probe;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, probe.put()) == ERROR_ACCESS_DENIED;
}

const wchar_t kReadAndDelete[] = L"D:P(A;;KRSDWD;;;WD)";

} // namespace

TEST_F(RegistryModule, ReadOnlyKeysAreReadButNotWritten)
{
    const std::wstring path = kBase + L"\\ReadOnly";
    ASSERT_TRUE(REG_SaveString(HKEY_CURRENT_USER, path, L"Value", L"readable"));
    ASSERT_TRUE(restrictKey(path, kReadAndDelete));
    if (!securityEnforced(path)) GTEST_SKIP() << "this registry does not enforce key security";

    std::wstring text;
    EXPECT_TRUE(REG_GetString(HKEY_CURRENT_USER, path, L"Value", text));
    EXPECT_EQ(L"readable", text);
    unsigned long type = 0, size = 0;
    EXPECT_TRUE(REG_GetValueType(HKEY_CURRENT_USER, path, L"Value", type, size));
    EXPECT_FALSE(REG_SaveString(HKEY_CURRENT_USER, path, L"Value", L"changed"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, LastError().LastErrorNumber);
    EXPECT_FALSE(REG_DeleteValue(HKEY_CURRENT_USER, path, L"Value"));
    ASSERT_TRUE(REG_GetString(HKEY_CURRENT_USER, path, L"Value", text));
    EXPECT_EQ(L"readable", text);
}

TEST_F(RegistryModule, SubKeyDeletionFailsWhenTheKeyItselfStays)
{
    // A handle that cannot enumerate ends the loop at once; the key, still holding sub-keys, cannot go.
    const std::wstring path = kBase + L"\\Kept";
    makeTree(path);
    raii::UniqueHKey noEnumeration;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, noEnumeration.put()));
    EXPECT_FALSE(REG_DeleteSubKeys(HKEY_CURRENT_USER, noEnumeration.get(), path));
    EXPECT_NE(0, LastError().LastErrorNumber);
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, path + L"\\A\\A1\\A11"));
}

// qfcLibRegistry as its clients see it: through the vtable after InitCore,
// through IDispatch by name, and from a script under cscript.
#include <thread>
#include <vector>

#include "TestSupport.h"

using namespace testing_support;

namespace {

const qcRegistryKeys kCurrentUser = static_cast<qcRegistryKeys>(0x80000001UL);
const std::wstring kAppKey = L"Software\\Brannock\\Apps\\Vantorel";

qcRegBaseKeys base(long value) { return static_cast<qcRegBaseKeys>(value); }

void writeRaw(const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD bytes)
{
    raii::UniqueHKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, key.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes));
}

std::wstring stored(const std::wstring& path, const std::wstring& name)
{
    std::wstring value;
    return readString(HKEY_CURRENT_USER, path, name, &value) ? value : L"<missing>";
}

class RegistryClient : public ComTest {
protected:
    void SetUp() override
    {
        registry_ = create<_qfcLibRegistry>(CLSID_qfcLibRegistry, IID__qfcLibRegistry);
        core_ = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
        ASSERT_TRUE(registry_ && core_);
        initCore(L"Vantorel");
    }

    void initCore(const std::wstring& title)
    {
        ASSERT_EQ(S_OK, core_->InitCore(bstr(L"Vantorel").get(), bstr(title).get(), bstr(L"C:\\Games\\").get(), 1,
                                        1, 32));
    }

    std::wstring get(const std::wstring& value, const std::wstring& fallback = L"", const std::wstring& sub = L"",
                     long baseKey = 1)
    {
        raii::UniqueBstr text;
        EXPECT_EQ(S_OK, registry_->KeyGet(bstr(value).get(), bstr(fallback).get(), bstr(sub).get(), base(baseKey),
                                          text.put()));
        return raii::toWString(text.get());
    }

    bool set(const std::wstring& value, const std::wstring& data, const std::wstring& sub = L"", long baseKey = 1)
    {
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(S_OK, registry_->KeySet(bstr(value).get(), bstr(data).get(), bstr(sub).get(), base(baseKey), &ok));
        return ok == VARIANT_TRUE;
    }

    bool keyDelete(const std::wstring& sub, long baseKey = 1)
    {
        VARIANT_BOOL ok = VARIANT_TRUE;
        EXPECT_EQ(S_OK, registry_->KeyDelete(bstr(sub).get(), base(baseKey), &ok));
        return ok == VARIANT_TRUE;
    }

    bool deleteValue(const std::wstring& value, const std::wstring& sub, long baseKey = 1)
    {
        VARIANT_BOOL ok = VARIANT_TRUE;
        EXPECT_EQ(S_OK, registry_->KeyDeleteValue(bstr(value).get(), bstr(sub).get(), base(baseKey), &ok));
        return ok == VARIANT_TRUE;
    }

    std::wstring getString(qcRegistryKeys root, const std::wstring& sub, const std::wstring& value,
                           const std::wstring& fallback = L"")
    {
        raii::UniqueBstr text;
        EXPECT_EQ(S_OK, registry_->RegKeyGetString(root, bstr(sub).get(), bstr(value).get(), bstr(fallback).get(),
                                                   text.put()));
        return raii::toWString(text.get());
    }

    bool setString(qcRegistryKeys root, const std::wstring& sub, const std::wstring& value, const std::wstring& data)
    {
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(S_OK, registry_->RegKeySetString(root, bstr(sub).get(), bstr(value).get(), bstr(data).get(), &ok));
        return ok == VARIANT_TRUE;
    }

    ScratchCurrentUser scratch_{L"RegistryClient"};
    raii::ComPtr<_qfcLibRegistry> registry_;
    raii::ComPtr<_qfcLibCore> core_;
};

} // namespace

TEST_F(RegistryClient, KeySetAndKeyGetUseTheApplicationKeyOfInitCore)
{
    EXPECT_EQ(L"", get(L"EXEPath")) << "missing value, empty default";
    EXPECT_EQ(L"fallback", get(L"EXEPath", L"fallback"));

    ASSERT_TRUE(set(L"EXEPath", L"C:\\Games\\Descent3\\main.exe"));
    EXPECT_EQ(L"C:\\Games\\Descent3\\main.exe", stored(kAppKey, L"EXEPath"));
    EXPECT_EQ(L"C:\\Games\\Descent3\\main.exe", get(L"EXEPath", L"fallback"));
    EXPECT_EQ(L"C:\\Games\\Descent3\\main.exe", get(L"EXEPath", L"", L"", 7)) << "base key 7 is the application key";
    EXPECT_EQ(L"C:\\Games\\Descent3\\main.exe", get(L"EXEPath", L"", L"", 0));

    ASSERT_TRUE(set(L"ShowSplash", L"1", L"", 2));
    ASSERT_TRUE(set(L"Name", L"Pat", L"", 3));
    EXPECT_EQ(L"1", stored(L"Software\\Brannock\\System", L"ShowSplash"));
    EXPECT_EQ(L"Pat", stored(L"Software\\Brannock\\User", L"Name"));
    EXPECT_EQ(L"none", get(L"ShowSplash", L"none")) << "System values are not in the application key";

    initCore(L"Other");
    EXPECT_EQ(L"none", get(L"EXEPath", L"none")) << "a second InitCore moves later reads";
    ASSERT_TRUE(set(L"EXEPath", L"D:\\other.exe"));
    EXPECT_EQ(L"D:\\other.exe", stored(L"Software\\Brannock\\Apps\\Other", L"EXEPath"));
    EXPECT_EQ(L"C:\\Games\\Descent3\\main.exe", stored(kAppKey, L"EXEPath"));
}

TEST_F(RegistryClient, SubKeysWithAndWithoutLeadingSeparatorAreTheSameKey)
{
    ASSERT_TRUE(set(L"Left", L"120", L"Forms"));
    EXPECT_EQ(L"120", stored(kAppKey + L"\\Forms", L"Left"));
    EXPECT_EQ(L"120", get(L"Left", L"", L"\\Forms"));
    ASSERT_TRUE(set(L"Top", L"80", L"\\Forms"));
    EXPECT_EQ(L"80", get(L"Top", L"", L"Forms"));
}

TEST_F(RegistryClient, KeySetCreatesMissingKeysAndStoresEmptyText)
{
    ASSERT_TRUE(set(L"Deep", L"", L"One\\Two\\Three"));
    DWORD type = 0, size = 99;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, (kAppKey + L"\\One\\Two\\Three").c_str(), L"Deep",
                                          RRF_RT_ANY, &type, nullptr, &size));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(L"", get(L"Deep", L"not empty", L"One\\Two\\Three"));
}

TEST_F(RegistryClient, TextOutsideTheAnsiCodePageSurvives)
{
    const std::wstring unicode = L"\u0416\u0443\u043a \u65e5\u672c \u2603 \U0001F680";
    ASSERT_TRUE(set(L"\u00c9t\u00e9", unicode, L"\u0424\u043e\u0440\u043c\u044b"));
    EXPECT_EQ(unicode, get(L"\u00c9t\u00e9", L"", L"\u0424\u043e\u0440\u043c\u044b"));
    EXPECT_EQ(unicode, stored(kAppKey + L"\\\u0424\u043e\u0440\u043c\u044b", L"\u00c9t\u00e9"));
}

TEST_F(RegistryClient, ValuesOfOtherTypesReadAsMissing)
{
    const wchar_t expand[] = L"%SystemRoot%";
    const DWORD number = 7;
    const BYTE binary[] = {1, 2, 3, 4};
    writeRaw(kAppKey, L"Expand", REG_EXPAND_SZ, expand, sizeof(expand));
    writeRaw(kAppKey, L"Number", REG_DWORD, &number, sizeof(number));
    writeRaw(kAppKey, L"Binary", REG_BINARY, binary, sizeof(binary));
    for (const wchar_t* name : {L"Expand", L"Number", L"Binary"}) {
        EXPECT_EQ(L"default", get(name, L"default")) << name;
        EXPECT_EQ(L"default", getString(kCurrentUser, kAppKey, name, L"default")) << name;
    }
}

TEST_F(RegistryClient, DeletionWithoutASubKeyOrValueNameChangesNothing)
{
    ASSERT_TRUE(set(L"Keep", L"1"));
    ASSERT_TRUE(set(L"Keep", L"1", L"Forms"));
    EXPECT_FALSE(keyDelete(L""));
    EXPECT_FALSE(keyDelete(L"\\")) << "a bare separator would address the application key itself";
    EXPECT_FALSE(keyDelete(L"", 2));
    EXPECT_FALSE(deleteValue(L"Keep", L""));
    EXPECT_FALSE(deleteValue(L"", L"Forms"));
    EXPECT_FALSE(deleteValue(L"Keep", L"\\"));
    EXPECT_EQ(L"1", stored(kAppKey, L"Keep"));
    EXPECT_EQ(L"1", stored(kAppKey + L"\\Forms", L"Keep"));

    EXPECT_TRUE(deleteValue(L"Keep", L"Forms"));
    EXPECT_EQ(L"<missing>", stored(kAppKey + L"\\Forms", L"Keep"));
    EXPECT_FALSE(deleteValue(L"Keep", L"Forms")) << "already gone";
}

TEST_F(RegistryClient, NestedTreesAreRemovedWhole)
{
    for (const wchar_t* sub : {L"Tree\\A\\A1", L"Tree\\A\\A2", L"Tree\\B"}) ASSERT_TRUE(set(L"V", sub, sub));
    ASSERT_TRUE(set(L"V", L"sibling", L"Sibling"));
    EXPECT_TRUE(keyDelete(L"Tree"));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kAppKey + L"\\Tree"));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kAppKey + L"\\Sibling"));
    EXPECT_FALSE(keyDelete(L"Tree")) << "already gone";

    for (const wchar_t* sub : {L"Tree\\A\\A1", L"Tree\\A\\A2", L"Tree\\B"}) ASSERT_TRUE(set(L"V", sub, sub));
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(S_OK, registry_->RegDeleteKey(kCurrentUser, bstr(kAppKey + L"\\Tree").get(), &ok));
    EXPECT_EQ(VARIANT_TRUE, ok);
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kAppKey + L"\\Tree"));
    EXPECT_EQ(L"sibling", stored(kAppKey + L"\\Sibling", L"V"));

    ASSERT_EQ(S_OK, registry_->RegDeleteKey(kCurrentUser, bstr(L"").get(), &ok));
    EXPECT_EQ(VARIANT_FALSE, ok) << "an empty path must not empty the root";
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kAppKey));
}

TEST_F(RegistryClient, DefaultMarkerNamesTheUnnamedValueOnlyWhenExact)
{
    const std::wstring path = L"Software\\Brannock\\Assoc";
    ASSERT_TRUE(setString(kCurrentUser, path, L"{Default}", L"unnamed"));
    ASSERT_TRUE(setString(kCurrentUser, path, L"{default}", L"named"));
    EXPECT_EQ(L"unnamed", stored(path, L""));
    EXPECT_EQ(L"named", stored(path, L"{default}"));
    EXPECT_EQ(L"unnamed", getString(kCurrentUser, path, L"{Default}"));
    EXPECT_EQ(L"named", getString(kCurrentUser, path, L"{default}"));

    ASSERT_TRUE(setString(kCurrentUser, kAppKey, L"{Default}", L"unnamed app"));
    EXPECT_EQ(L"unnamed app", get(L"")) << "an empty name is the unnamed value for Key*";
    EXPECT_EQ(L"none", get(L"{Default}", L"none")) << "Key* know no marker";
}

TEST_F(RegistryClient, RegDeleteValueReadsTheRootWithoutChangingIt)
{
    const std::wstring path = L"Software\\Brannock\\Assoc";
    ASSERT_TRUE(setString(kCurrentUser, path, L"Gone", L"x"));
    qcRegistryKeys root = kCurrentUser;
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(S_OK, registry_->RegDeleteValue(&root, bstr(path).get(), bstr(L"Gone").get(), &ok));
    EXPECT_EQ(VARIANT_TRUE, ok);
    EXPECT_EQ(kCurrentUser, root);
    EXPECT_EQ(L"<missing>", stored(path, L"Gone"));

    EXPECT_EQ(HRESULT(0x800A0005), registry_->RegDeleteValue(nullptr, bstr(path).get(), bstr(L"Gone").get(), &ok));
}

TEST_F(RegistryClient, UnknownRootsGiveTheNeutralResult)
{
    const auto unknown = static_cast<qcRegistryKeys>(0x80000007UL);
    EXPECT_EQ(L"default", getString(unknown, L"Software", L"{Default}", L"default"));
    EXPECT_FALSE(setString(unknown, L"Software\\Brannock", L"X", L"1"));
    VARIANT_BOOL ok = VARIANT_TRUE;
    EXPECT_EQ(S_OK, registry_->RegDeleteKey(unknown, bstr(L"Software\\Brannock").get(), &ok));
    EXPECT_EQ(VARIANT_FALSE, ok);
}

namespace {

VARIANT text(const wchar_t* value)
{
    VARIANT v;
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocString(value);
    return v;
}

VARIANT number(long value)
{
    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return v;
}

HRESULT callByName(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args, VARIANT* result)
{
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO exception = {};
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result, &exception, nullptr);
    for (VARIANT& arg : args) VariantClear(&arg);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
}

} // namespace

TEST_F(RegistryClient, DispatchByNameFillsOmittedOptionalArguments)
{
    raii::ComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, registry_.as(dispatch, IID_IDispatch));
    raii::UniqueVariant ok, value, fallback, unnamed;
    ASSERT_EQ(S_OK, callByName(dispatch.get(), L"KeySet", {text(L"Greeting")}, ok.put()));
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(ok.get()));
    EXPECT_EQ(L"", stored(kAppKey, L"Greeting")) << "omitted data stores an empty text";

    ASSERT_EQ(S_OK, callByName(dispatch.get(), L"KeySet", {text(L"Greeting"), text(L"hi")}, ok.put()));
    ASSERT_EQ(S_OK, callByName(dispatch.get(), L"KeyGet", {text(L"Greeting")}, value.put()));
    ASSERT_EQ(VT_BSTR, V_VT(value.get()));
    EXPECT_STREQ(L"hi", V_BSTR(value.get()));
    ASSERT_EQ(S_OK, callByName(dispatch.get(), L"KeyGet", {text(L"Missing"), text(L"fb")}, fallback.put()));
    EXPECT_STREQ(L"fb", V_BSTR(fallback.get()));

    ASSERT_EQ(S_OK, callByName(dispatch.get(), L"RegKeySetString",
                               {number(static_cast<long>(0x80000001UL)), text(kAppKey.c_str())}, ok.put()));
    EXPECT_EQ(L"", stored(kAppKey, L"")) << "omitted name and data: empty unnamed value";
    ASSERT_EQ(S_OK, callByName(dispatch.get(), L"RegKeyGetString",
                               {number(static_cast<long>(0x80000001UL)), text(kAppKey.c_str())}, unnamed.put()));
    EXPECT_STREQ(L"", V_BSTR(unnamed.get()));
}

TEST(RegistryScriptClient, CscriptWritesAndReadsWithOmittedArguments)
{
    raii::ComScope com;
    const std::wstring title = L"RegistryScript" + std::to_wstring(GetCurrentProcessId());
    const std::wstring appKey = L"Software\\Brannock\\Apps\\" + title;
    long exitCode = -1;
    std::string output = captureProcess(L"cscript.exe //nologo \"" + programFolder() + L"RegistryClient.vbs\" " + title,
                                        &exitCode);
    bool leftBehind = keyExists(HKEY_CURRENT_USER, appKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, appKey.c_str());

    EXPECT_EQ(0, exitCode) << output;
    const char* expected[] = {"set=True",        "get=Hello from a script", "missing=fallback", "setblank=True",
                              "blank=[]",        "setsub=True",             "getsub=deep",      "setdefault=True",
                              "getdefault=unnamed", "deletesub=True",       "cleanup=True"};
    std::string lines;
    for (const char* line : expected) lines += std::string(line) + "\r\n";
    EXPECT_EQ(lines, output);
    EXPECT_FALSE(leftBehind) << "the script's RegDeleteKey did not remove its key";
}

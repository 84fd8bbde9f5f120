// The launcher's side of the library binding: shared instances, failure
// reports, and the settings store on the real registry class.
#include "LauncherError.h"
#include "LibrarySlots.h"
#include "Properties.h"
#include "SettingsStore.h"
#include "TestSupport.h"

using namespace testing_support;
using namespace vantorel;

namespace {

class LibraryBinding : public ComTest {
protected:
    void TearDown() override { slots::releaseLibraries(); }
};

LauncherError failureOf(HRESULT hr)
{
    try {
        check(hr, L"Caller");
    } catch (const LauncherError& error) {
        return error;
    }
    return LauncherError(S_OK, L"", L"");
}

} // namespace

TEST_F(LibraryBinding, EachClassIsCreatedOnceAndShared)
{
    EXPECT_EQ(&slots::core(), &slots::core());
    EXPECT_EQ(&slots::registry(), &slots::registry());
    EXPECT_EQ(&slots::files(), &slots::files());
    EXPECT_EQ(&slots::forms(), &slots::forms());
    EXPECT_EQ(&slots::windows(), &slots::windows());
    EXPECT_NE(static_cast<void*>(&slots::core()), static_cast<void*>(&slots::registry()));
}

TEST_F(LibraryBinding, AFailedCallCarriesItsCodeDescriptionAndProcedure)
{
    EXPECT_NO_THROW(check(S_OK, L"Caller"));
    EXPECT_NO_THROW(check(S_FALSE, L"Caller"));

    raii::ComPtr<ICreateErrorInfo> create;
    ASSERT_EQ(S_OK, CreateErrorInfo(create.put()));
    create->SetDescription(const_cast<LPOLESTR>(L"The library says no"));
    raii::ComPtr<IErrorInfo> info;
    ASSERT_EQ(S_OK, create.as(info, IID_IErrorInfo));
    SetErrorInfo(0, info.get());
    LauncherError error = failureOf(static_cast<HRESULT>(0x800A0005));
    EXPECT_EQ(static_cast<HRESULT>(0x800A0005), error.hr());
    EXPECT_EQ(L"The library says no", error.description());
    EXPECT_EQ(L"Caller", error.procedure());

    error = failureOf(E_OUTOFMEMORY);
    EXPECT_FALSE(error.description().empty()) << "without error info the system's text stands in";
    EXPECT_NE(L"The library says no", error.description()) << "error info is taken once";
    EXPECT_EQ(L"0x8007000E", hresultText(E_OUTOFMEMORY));
}

TEST_F(LibraryBinding, TheSettingsStoreReadsAndWritesTheMakersKeys)
{
    ScratchCurrentUser scratch(L"LauncherSettings");
    SettingsStore& store = librarySettings();
    EXPECT_EQ(L"401", store.KeyGet(L"NetworkPort", L"401", L"", kSystemKey, L"Test"));
    EXPECT_TRUE(store.KeySet(L"NetworkPort", L"8080", L"", kSystemKey, L"Test"));
    EXPECT_TRUE(store.KeySet(L"UserName", L"Ann", L"", kUserKey, L"Test"));
    std::wstring data;
    EXPECT_TRUE(readString(HKEY_CURRENT_USER, L"Software\\Brannock\\System", L"NetworkPort", &data));
    EXPECT_EQ(L"8080", data);
    EXPECT_TRUE(readString(HKEY_CURRENT_USER, L"Software\\Brannock\\User", L"UserName", &data));
    EXPECT_EQ(L"Ann", data);
    EXPECT_EQ(L"8080", store.KeyGet(L"NetworkPort", L"401", L"", kSystemKey, L"Test"));
}

TEST_F(LibraryBinding, ReleasingACollectionWritesItsRecordsToTheRegistry)
{
    ScratchCurrentUser scratch(L"LauncherProperties");
    {
        qcolProperties collection(librarySettings());
        auto record = std::make_shared<qcProperty>();
        record->BaseKey(kUserKey);
        record->Value(L"AreaCode");
        record->Data(L"");
        collection.Add(record, L"AreaCode");
        collection.Item(L"areacode")->Data(L" 617");
        collection.Release();
    }
    std::wstring data;
    ASSERT_TRUE(readString(HKEY_CURRENT_USER, L"Software\\Brannock\\User", L"AreaCode", &data));
    EXPECT_EQ(L" 617", data);
}

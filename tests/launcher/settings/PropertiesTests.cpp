// The property store: keyed, ordered records that save their changes through the registry.
#include <gtest/gtest.h>

#include <functional>

#include "FakeSettings.h"
#include "LauncherError.h"
#include "Properties.h"
#include "RaisedNumber.h"

using namespace vantorel;

namespace {

PropertyRef record(const std::wstring& value, const std::wstring& data, long baseKey = kSystemKey)
{
    auto property = std::make_shared<qcProperty>();
    property->BaseKey(baseKey);
    property->Value(value);
    property->Data(data);
    return property;
}

HRESULT failureOf(const std::function<void()>& action)
{
    return testing_support::caught<LauncherError>(action, [](const LauncherError& error) { return error.hr(); });
}

} // namespace

TEST(Properties, KeysIgnoreCasePositionsCloseUpAndMisuseChangesNothing)
{
    FakeSettings store;
    qcolProperties collection(store);
    collection.Add(record(L"ShowSplash", L"1"), L"ShowSplash");
    collection.Add(record(L"Unkeyed", L"u"));
    collection.Add(record(L"UserName", L"Ann", kUserKey), L"UserName");

    EXPECT_EQ(collection.Item(1), collection.Item(L"SHOWSPLASH"));
    collection.Item(L"username")->Data(L"Bob");
    EXPECT_EQ(L"Bob", collection.Item(3)->Data()) << "Item hands out the stored record";
    EXPECT_EQ(kDuplicateKey, failureOf([&] { collection.Add(record(L"C", L"3"), L"userNAME"); }));
    for (long position : {0L, 4L, -1L}) EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Item(position); }));
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Item(L""); })) << "an unkeyed entry has no key to find";
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Remove(L"Beta"); }));
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Add(nullptr, L"Null"); }));
    EXPECT_EQ(3, collection.Count());

    collection.Remove(L"showsplash");
    EXPECT_EQ(L"Unkeyed", collection.Item(1)->Value()) << "positions close up";
    collection.Add(record(L"Again", L"x"), L"ShowSplash");
    EXPECT_EQ(L"Again", collection.Item(3)->Value()) << "a removed key is free again";
}

TEST(Properties, SaveWritesDirtyRecordsRefreshReadsWithTheDefaultAndReleaseSavesThenEmpties)
{
    FakeSettings store;
    qcolProperties collection(store);
    auto clean = std::make_shared<qcProperty>();
    clean->DefaultData(L"401");
    ASSERT_FALSE(clean->Dirty()) << "a default alone is not a change";
    collection.Add(clean);
    auto located = record(L"ShowSplash", L"stale");
    collection.Add(located);
    collection.Save();
    collection.Save();
    const std::wstring write = L"2\\\\ShowSplash=stale";
    EXPECT_EQ((std::vector<std::wstring>{write, write}), store.writes) << "every dirty record, every time";

    store.values[FakeSettings::address(L"ShowSplash", L"", kSystemKey)] = L"0";
    collection.Refresh();
    EXPECT_EQ(L"401", clean->Data());
    EXPECT_TRUE(clean->Dirty());
    EXPECT_EQ(L"0", located->Data());
    collection.Release();
    EXPECT_EQ(0, collection.Count());
    EXPECT_EQ(4u, store.writes.size());
}

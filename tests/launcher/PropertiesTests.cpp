// The property store: keyed, ordered records that save their changes through the registry.
#include <gtest/gtest.h>

#include <functional>

#include "FakeSettings.h"
#include "LauncherError.h"
#include "Properties.h"

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
    try {
        action();
    } catch (const LauncherError& error) {
        return error.hr();
    }
    return S_OK;
}

} // namespace

TEST(Properties, KeysIgnoreCaseAndItemHandsOutTheStoredRecord)
{
    FakeSettings store;
    qcolProperties collection(store);
    collection.Add(record(L"ShowSplash", L"1"), L"ShowSplash");
    collection.Add(record(L"Unkeyed", L"u"));
    collection.Add(record(L"UserName", L"Ann", kUserKey), L"UserName");

    EXPECT_EQ(collection.Item(1), collection.Item(L"SHOWSPLASH"));
    collection.Item(L"username")->Data(L"Bob");
    EXPECT_EQ(L"Bob", collection.Item(3)->Data());
    collection.Remove(L"showsplash");
    EXPECT_EQ(L"Unkeyed", collection.Item(1)->Value()) << "positions close up";
    collection.Add(record(L"Again", L"x"), L"ShowSplash");
    EXPECT_EQ(L"Again", collection.Item(3)->Value()) << "a removed key is free again";
}

TEST(Properties, MisuseFailsAndLeavesTheCollectionAsItWas)
{
    FakeSettings store;
    qcolProperties collection(store);
    collection.Add(record(L"A", L"1"), L"Alpha");
    collection.Add(record(L"B", L"2"));

    EXPECT_EQ(kDuplicateKey, failureOf([&] { collection.Add(record(L"C", L"3"), L"ALPHA"); }));
    for (long position : {0L, 3L, -1L}) EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Item(position); }));
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Item(L""); })) << "an unkeyed entry has no key to find";
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Remove(L"Beta"); }));
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Add(nullptr, L"Null"); }));
    EXPECT_EQ(2, collection.Count());
}

TEST(Properties, SaveWritesEveryDirtyRecordEveryTimeAndReleaseSavesThenEmpties)
{
    FakeSettings store;
    qcolProperties collection(store);
    auto clean = std::make_shared<qcProperty>();
    clean->DefaultData(L"only a default");
    ASSERT_FALSE(clean->Dirty()) << "a default alone is not a change";
    collection.Add(clean);
    collection.Add(record(L"NetworkPort", L"401"));
    collection.Save();
    collection.Save();
    const std::wstring port = L"2\\\\NetworkPort=401";
    EXPECT_EQ((std::vector<std::wstring>{port, port}), store.writes);

    collection.Release();
    EXPECT_EQ(0, collection.Count());
    EXPECT_EQ(3u, store.writes.size());
}

TEST(Properties, RefreshReadsEachRecordWithItsDefaultAndMakesItDirty)
{
    FakeSettings store;
    store.values[FakeSettings::address(L"ShowSplash", L"", kSystemKey)] = L"0";
    qcolProperties collection(store);
    auto missing = std::make_shared<qcProperty>();
    missing->DefaultData(L"401");
    auto located = record(L"ShowSplash", L"stale");
    collection.Add(missing);
    collection.Add(located);

    collection.Refresh();
    EXPECT_EQ(L"401", missing->Data());
    EXPECT_TRUE(missing->Dirty());
    EXPECT_EQ(L"0", located->Data());
}

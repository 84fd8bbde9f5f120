// The property store: keyed, ordered records that save their changes through the registry.
#include <gtest/gtest.h>

#include <functional>

#include "FakeSettings.h"
#include "LauncherError.h"
#include "Properties.h"

using namespace vantorel;

namespace {

PropertyRef record(const std::wstring& value, const std::wstring& data, long baseKey = kSystemKey,
                   const std::wstring& subKey = L"")
{
    auto property = std::make_shared<qcProperty>();
    property->BaseKey(baseKey);
    property->Value(value);
    if (!subKey.empty()) property->SubKey(subKey);
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

TEST(Property, StartsCleanAndBecomesDirtyOnlyThroughLocationOrData)
{
    qcProperty fresh;
    EXPECT_EQ(1, fresh.BaseKey());
    EXPECT_EQ(L"", fresh.Value());
    EXPECT_EQ(L"", fresh.Data());
    EXPECT_EQ(L"", fresh.SubKey());
    EXPECT_FALSE(fresh.Dirty());

    fresh.DefaultData(L"401");
    EXPECT_FALSE(fresh.Dirty()) << "a default alone is not a change";

    const std::vector<std::function<void(qcProperty&)>> setters = {
        [](qcProperty& p) { p.BaseKey(1); },  [](qcProperty& p) { p.SubKey(L""); },
        [](qcProperty& p) { p.Value(L"X"); }, [](qcProperty& p) { p.Data(L""); },
    };
    for (const auto& set : setters) {
        qcProperty property;
        set(property);
        EXPECT_TRUE(property.Dirty());
    }
}

TEST(Properties, PositionsAndCaseInsensitiveKeysReachTheSameShareableRecord)
{
    FakeSettings store;
    qcolProperties collection(store);
    collection.Add(record(L"ShowSplash", L"1"), L"ShowSplash");
    collection.Add(record(L"Unkeyed", L"u"));
    collection.Add(record(L"UserName", L"Ann", kUserKey), L"UserName");

    ASSERT_EQ(3, collection.Count());
    EXPECT_EQ(collection.Item(1), collection.Item(L"showsplash"));
    EXPECT_EQ(collection.Item(1), collection.Item(L"SHOWSPLASH"));
    EXPECT_EQ(L"Unkeyed", collection.Item(2)->Value());
    EXPECT_EQ(L"UserName", collection.Item(3)->Value());

    collection.Item(L"UserName")->Data(L"Bob");
    EXPECT_EQ(L"Bob", collection.Item(3)->Data()) << "Item hands out the stored record, not a copy";

    std::vector<std::wstring> order;
    for (const auto& entry : collection) order.push_back(entry.property->Value());
    EXPECT_EQ((std::vector<std::wstring>{L"ShowSplash", L"Unkeyed", L"UserName"}), order);
}

TEST(Properties, MisuseFailsAndLeavesTheCollectionAsItWas)
{
    FakeSettings store;
    qcolProperties collection(store);
    collection.Add(record(L"A", L"1"), L"Alpha");
    collection.Add(record(L"B", L"2"));

    EXPECT_EQ(kDuplicateKey, failureOf([&] { collection.Add(record(L"C", L"3"), L"ALPHA"); }));
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Item(0); }));
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Item(3); }));
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Item(-1); }));
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Item(L"Beta"); }));
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Item(L""); })) << "an unkeyed entry has no key to find";
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Remove(L"Beta"); }));
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Remove(5); }));
    EXPECT_EQ(kInvalidArgument, failureOf([&] { collection.Add(nullptr, L"Null"); }));
    EXPECT_EQ(2, collection.Count());
    EXPECT_EQ(L"A", collection.Item(L"alpha")->Value());
}

TEST(Properties, RemoveShiftsPositionsAndFreesTheKey)
{
    FakeSettings store;
    qcolProperties collection(store);
    collection.Add(record(L"A", L"1"), L"Alpha");
    collection.Add(record(L"B", L"2"), L"Beta");
    collection.Add(record(L"C", L"3"), L"Gamma");

    collection.Remove(L"beta");
    EXPECT_EQ(2, collection.Count());
    EXPECT_EQ(L"C", collection.Item(2)->Value());
    collection.Remove(1);
    EXPECT_EQ(L"C", collection.Item(1)->Value());
    collection.Add(record(L"A2", L"x"), L"Alpha");
    EXPECT_EQ(L"A2", collection.Item(L"ALPHA")->Value());
    collection.Clear();
    EXPECT_EQ(0, collection.Count());
}

TEST(Properties, SaveWritesEveryDirtyRecordEveryTimeAndNothingElse)
{
    FakeSettings store;
    qcolProperties collection(store);
    collection.Save();
    EXPECT_TRUE(store.calls.empty()) << "an empty collection writes nothing";

    auto clean = std::make_shared<qcProperty>();
    clean->DefaultData(L"only a default");
    collection.Add(clean, L"Clean");
    collection.Add(record(L"NetworkPort", L"401"), L"Port");
    collection.Add(record(L"Sub", L"s", kAppsKey, L"Deeper"), L"Sub");

    collection.Save();
    collection.Save();
    const std::vector<std::wstring> once = {L"2\\\\NetworkPort=401", L"1\\Deeper\\Sub=s"};
    std::vector<std::wstring> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(twice, store.writes());
    EXPECT_TRUE(collection.Item(L"Port")->Dirty()) << "saving never cleans a record";
}

TEST(Properties, RefreshReadsEachRecordWithItsDefaultAndMakesItDirty)
{
    FakeSettings store;
    store.values[FakeSettings::address(L"ShowSplash", L"", kSystemKey)] = L"0";
    qcolProperties collection(store);
    auto stored = std::make_shared<qcProperty>();
    auto missing = std::make_shared<qcProperty>();
    stored->DefaultData(L"1");
    missing->DefaultData(L"401");
    collection.Add(stored);
    collection.Add(missing);
    ASSERT_FALSE(stored->Dirty());

    collection.Refresh();
    EXPECT_EQ(L"", stored->Value());
    EXPECT_EQ(L"1", stored->Data()) << "no value under the application key: the default";
    EXPECT_EQ(L"401", missing->Data());
    EXPECT_TRUE(stored->Dirty());
    EXPECT_TRUE(missing->Dirty());

    auto located = record(L"ShowSplash", L"stale");
    collection.Add(located, L"ShowSplash");
    collection.Refresh();
    EXPECT_EQ(L"0", located->Data());
}

TEST(Properties, ReleasingSavesChangesMadeThroughItemThenEmpties)
{
    FakeSettings store;
    {
        qcolProperties collection(store);
        collection.Add(record(L"UserName", L"", kUserKey), L"UserName");
        collection.Item(L"username")->Data(L"Ann");
        collection.Release();
        EXPECT_EQ(0, collection.Count());
        EXPECT_EQ((std::vector<std::wstring>{L"3\\\\UserName=Ann"}), store.writes());
    }
    EXPECT_EQ(1u, store.writes().size()) << "after Release the destructor has nothing left to write";

    FakeSettings other;
    {
        qcolProperties collection(other);
        collection.Add(record(L"WinAnimate", L"0"));
    }
    EXPECT_EQ((std::vector<std::wstring>{L"2\\\\WinAnimate=0"}), other.writes()) << "destruction saves as well";
}

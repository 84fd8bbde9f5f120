// Registry-backed settings records and their keyed, ordered collection.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "SettingsStore.h"

namespace vantorel {

// One setting: where it lives, its text, its default, and whether it was ever set.
// The dirty flag only goes from false to true; setting the default leaves it alone.
class qcProperty {
public:
    void BaseKey(long vNewBaseKey) { baseKey_ = vNewBaseKey; dirty_ = true; }
    long BaseKey() const { return baseKey_; }
    void SubKey(const std::wstring& vNewSubKeyName) { subKey_ = vNewSubKeyName; dirty_ = true; }
    const std::wstring& SubKey() const { return subKey_; }
    bool Dirty() const { return dirty_; }
    void Value(const std::wstring& vValue) { value_ = vValue; dirty_ = true; }
    const std::wstring& Data() const { return data_; }
    void Data(const std::wstring& vData) { data_ = vData; dirty_ = true; }
    const std::wstring& Value() const { return value_; }
    const std::wstring& DefaultData() const { return defaultData_; }
    void DefaultData(const std::wstring& vData) { defaultData_ = vData; }

private:
    std::wstring value_;
    std::wstring data_;
    std::wstring defaultData_;
    long baseKey_ = kAppsKey;
    std::wstring subKey_;
    bool dirty_ = false;
};

using PropertyRef = std::shared_ptr<qcProperty>;

// Positions run from 1 to Count in insertion order; keys are optional, unique
// and compared without regard to letter case. Misuse throws LauncherError and
// leaves the collection unchanged. Destruction saves, then clears.
class qcolProperties {
public:
    explicit qcolProperties(SettingsStore& store) : store_(store) {}
    ~qcolProperties();
    qcolProperties(const qcolProperties&) = delete;
    qcolProperties& operator=(const qcolProperties&) = delete;

    void Add(const PropertyRef& vNewProperty, const std::wstring& sKey = {});
    void Clear();
    PropertyRef Item(long vIndex) const;
    PropertyRef Item(const std::wstring& vKey) const;
    long Count() const { return static_cast<long>(entries_.size()); }
    void Remove(long vIndex);
    void Remove(const std::wstring& vKey);
    void Save();
    void Refresh();
    // Save, then Clear: what releasing the collection does, with failures reported.
    void Release();

    struct Entry {
        std::wstring key;
        PropertyRef property;
    };
    // Iteration in position order (the collection's enumerator).
    std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<Entry>::const_iterator end() const { return entries_.end(); }

private:
    size_t positionOf(long index, const wchar_t* procedure) const;
    size_t positionOf(const std::wstring& key, const wchar_t* procedure) const;

    SettingsStore& store_;
    std::vector<Entry> entries_;
};

// Keys compare equal when they differ only in letter case.
bool sameKey(const std::wstring& a, const std::wstring& b);

} // namespace vantorel

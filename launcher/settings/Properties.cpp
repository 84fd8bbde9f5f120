#include "Properties.h"

#include <windows.h>

#include "LauncherError.h"

namespace vantorel {

bool sameKey(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

qcolProperties::~qcolProperties()
{
    // A destructor cannot report; an explicit Release() is the path that does.
    try {
        Save();
    } catch (const LauncherError&) {
    }
}

void qcolProperties::Add(const PropertyRef& vNewProperty, const std::wstring& sKey)
{
    if (!vNewProperty) throw LauncherError(automation::kInvalidArgument, L"qcolProperties.Add");
    if (!sKey.empty())
        for (const Entry& entry : entries_)
            if (sameKey(entry.key, sKey))
                throw LauncherError(automation::kDuplicateKey, L"qcolProperties.Add");
    entries_.push_back({sKey, vNewProperty});
}

void qcolProperties::Clear()
{
    entries_.clear();
}

size_t qcolProperties::positionOf(long index, const wchar_t* procedure) const
{
    if (index < 1 || index > Count())
        throw LauncherError(automation::kInvalidArgument, procedure);
    return static_cast<size_t>(index - 1);
}

size_t qcolProperties::positionOf(const std::wstring& key, const wchar_t* procedure) const
{
    if (!key.empty())
        for (size_t i = 0; i < entries_.size(); ++i)
            if (sameKey(entries_[i].key, key)) return i;
    throw LauncherError(automation::kInvalidArgument, procedure);
}

PropertyRef qcolProperties::Item(long vIndex) const
{
    return entries_[positionOf(vIndex, L"qcolProperties.Item")].property;
}

PropertyRef qcolProperties::Item(const std::wstring& vKey) const
{
    return entries_[positionOf(vKey, L"qcolProperties.Item")].property;
}

void qcolProperties::Remove(long vIndex)
{
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(positionOf(vIndex, L"qcolProperties.Remove")));
}

void qcolProperties::Remove(const std::wstring& vKey)
{
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(positionOf(vKey, L"qcolProperties.Remove")));
}

void qcolProperties::Save()
{
    for (const Entry& entry : std::vector<Entry>(entries_)) {
        const qcProperty& record = *entry.property;
        if (record.Dirty())
            store_.KeySet(record.Value(), record.Data(), record.SubKey(), record.BaseKey(), L"qcolProperties.Save");
    }
}

void qcolProperties::Refresh()
{
    for (const Entry& entry : std::vector<Entry>(entries_)) {
        qcProperty& record = *entry.property;
        record.Data(store_.KeyGet(record.Value(), record.DefaultData(), record.SubKey(), record.BaseKey(),
                                  L"qcolProperties.Refresh"));
    }
}

void qcolProperties::Release()
{
    Save();
    Clear();
}

} // namespace vantorel

// An in-memory stand-in for the library's KeyGet/KeySet that records its traffic.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "SettingsStore.h"

class FakeSettings : public vantorel::SettingsStore {
public:
    std::wstring KeyGet(const std::wstring& value, const std::wstring& defaultData, const std::wstring& subKey,
                        long baseKey, const wchar_t*) override
    {
        ++reads;
        auto found = values.find(address(value, subKey, baseKey));
        return found == values.end() ? defaultData : found->second;
    }

    bool KeySet(const std::wstring& value, const std::wstring& data, const std::wstring& subKey, long baseKey,
                const wchar_t*) override
    {
        writes.push_back(address(value, subKey, baseKey) + L"=" + data);
        values[address(value, subKey, baseKey)] = data;
        return true;
    }

    static std::wstring address(const std::wstring& value, const std::wstring& subKey, long baseKey)
    {
        return std::to_wstring(baseKey) + L"\\" + subKey + L"\\" + value;
    }

    std::map<std::wstring, std::wstring> values;
    std::vector<std::wstring> writes;
    int reads = 0;
};

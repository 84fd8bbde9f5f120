// An in-memory stand-in for the library's KeyGet/KeySet that records every call.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "SettingsStore.h"

class FakeSettings : public vantorel::SettingsStore {
public:
    struct Call {
        std::wstring method, value, data, subKey;
        long baseKey;
    };

    std::wstring KeyGet(const std::wstring& value, const std::wstring& defaultData, const std::wstring& subKey,
                        long baseKey, const wchar_t*) override
    {
        calls.push_back({L"KeyGet", value, defaultData, subKey, baseKey});
        auto found = values.find(address(value, subKey, baseKey));
        return found == values.end() ? defaultData : found->second;
    }

    bool KeySet(const std::wstring& value, const std::wstring& data, const std::wstring& subKey, long baseKey,
                const wchar_t*) override
    {
        calls.push_back({L"KeySet", value, data, subKey, baseKey});
        values[address(value, subKey, baseKey)] = data;
        return true;
    }

    static std::wstring address(const std::wstring& value, const std::wstring& subKey, long baseKey)
    {
        return std::to_wstring(baseKey) + L"\\" + subKey + L"\\" + value;
    }

    std::vector<std::wstring> writes() const
    {
        std::vector<std::wstring> result;
        for (const Call& call : calls)
            if (call.method == L"KeySet") result.push_back(address(call.value, call.subKey, call.baseKey) + L"=" + call.data);
        return result;
    }

    std::map<std::wstring, std::wstring> values;
    std::vector<Call> calls;
};

// The registry text values the property store and the log writer use: the
// library's KeyGet/KeySet under the maker's base keys. An interface so those
// classes can be exercised without the library.
#pragma once

#include <string>

#include "QuillonTypes.h"

namespace vantorel {

// The library's base keys, as property records keep them.
constexpr long kAppsKey = qcApps;
constexpr long kSystemKey = qcBrannock;
constexpr long kUserKey = qcUser;

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The value's text, or defaultData when it cannot be read.
    virtual std::wstring KeyGet(const std::wstring& value, const std::wstring& defaultData,
                                const std::wstring& subKey, long baseKey, const wchar_t* procedure) = 0;
    virtual bool KeySet(const std::wstring& value, const std::wstring& data, const std::wstring& subKey,
                        long baseKey, const wchar_t* procedure) = 0;
};

// The store behind the shared qfcLibRegistry instance; failed calls throw LauncherError.
SettingsStore& librarySettings();

} // namespace vantorel

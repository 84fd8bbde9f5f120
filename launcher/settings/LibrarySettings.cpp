#include "LauncherError.h"
#include "LibrarySlots.h"
#include "Raii.h"
#include "SettingsStore.h"

namespace vantorel {
namespace {

class LibrarySettings final : public SettingsStore {
public:
    std::wstring KeyGet(const std::wstring& value, const std::wstring& defaultData, const std::wstring& subKey,
                        long baseKey, const wchar_t* procedure) override
    {
        raii::UniqueBstr result;
        check(slots::registry().KeyGet(raii::makeBstr(value).get(), raii::makeBstr(defaultData).get(),
                                       raii::makeBstr(subKey).get(), static_cast<qcRegBaseKeys>(baseKey),
                                       result.put()),
              procedure);
        return raii::toWString(result.get());
    }

    bool KeySet(const std::wstring& value, const std::wstring& data, const std::wstring& subKey, long baseKey,
                const wchar_t* procedure) override
    {
        VARIANT_BOOL result = VARIANT_FALSE;
        check(slots::registry().KeySet(raii::makeBstr(value).get(), raii::makeBstr(data).get(),
                                       raii::makeBstr(subKey).get(), static_cast<qcRegBaseKeys>(baseKey), &result),
              procedure);
        return result != VARIANT_FALSE;
    }
};

} // namespace

SettingsStore& librarySettings()
{
    static LibrarySettings store;
    return store;
}

} // namespace vantorel

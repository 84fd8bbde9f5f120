// Key paths of the maker's tree and the refusals that keep a delete inside the application's own key.
#include <cwctype>

#include "FuzzInput.h"
#include "registry/AssociationRules.h"
#include "registry/RegistryRules.h"

using namespace quillon;
using namespace fuzzinput;

namespace {

// The key names of a path as the registry reads them: a doubled "\" separates no empty name, case is ignored.
std::vector<std::wstring> keyNames(const std::wstring& path)
{
    std::vector<std::wstring> names(1);
    for (wchar_t c : path) {
        if (c != L'\\')
            names.back() += static_cast<wchar_t>(std::towlower(c));
        else if (!names.back().empty())
            names.emplace_back();
    }
    if (names.back().empty()) names.pop_back();
    return names;
}

} // namespace

FUZZ_TARGET(texts)
{
    const std::wstring subKey = texts[0], title = texts[1];
    // Both reach these rules only as checked names, which hold no NUL.
    if (subKey.find(L'\0') != std::wstring::npos || title.find(L'\0') != std::wstring::npos) return;
    const long baseKey = static_cast<std::int16_t>(texts.number(2));
    const std::wstring path = qfcLibRegistryA::KeyPath(baseKey, subKey, title);
    const std::wstring base = qfcLibRegistryA::BaseKeyPath(baseKey, title);
    FUZZ_CHECK(startsWith(path, base) && startsWith(base, L"Software\\Brannock\\"));

    // A delete that is not refused names a key strictly below its base key, and below "Apps" only inside the
    // application's own key: one key name for the title, then at least one more.
    if (qfcLibRegistryA::RefuseDelete(baseKey, subKey, title) == qfcLibRegistryA::DeleteRefusal::None) {
        const std::vector<std::wstring> names = keyNames(path), baseNames = keyNames(base);
        FUZZ_CHECK(names.size() > baseNames.size() && names.size() > 3);
        FUZZ_CHECK(std::equal(baseNames.begin(), baseNames.end(), names.begin()));
        if (names[2] == L"apps") FUZZ_CHECK(baseNames.size() == 4 && names.size() > 4);
    }

    const std::wstring runKey = associationrules::RunKeyPath(baseKey);
    FUZZ_CHECK(runKey.empty() || startsWith(runKey, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
}

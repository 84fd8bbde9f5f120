// The culling's keep lists: split, joined as the options dialog stores them, and the bare-name test.
#include "FuzzInput.h"
#include "launcher/launch/CullingRules.h"
#include "launcher/options/OptionsRules.h"

using namespace vantorel;
using namespace fuzzinput;

FUZZ_TARGET(texts)
{
    const std::wstring list = texts[0], folder = texts[1];
    const std::vector<std::wstring> pieces = culling::splitKeepList(list);
    FUZZ_CHECK(pieces.size() == count(list, L"|") + 1);
    FUZZ_CHECK(options::joinKeepList(pieces) == list);

    // A kept name stays inside the culling folder: one whole piece after the folder, never a device.
    const culling::KeepPlan plan = culling::planKeeps(list);
    FUZZ_CHECK(plan.kept.size() + plan.refused.size() <= pieces.size());
    for (std::size_t i = 0; i < plan.kept.size(); ++i) {
        const std::wstring& name = plan.kept[i];
        FUZZ_CHECK(culling::isBareFileName(name));
        FUZZ_CHECK(name != L"." && name != L".." && name.find_first_of(std::wstring(L"\\/:*?\"<>|\0", 10)) == std::wstring::npos);
        for (std::size_t j = 0; j < i; ++j) FUZZ_CHECK(plan.kept[j] != name);
        const std::wstring path = culling::joinPath(folder, name);
        FUZZ_CHECK(endsWith(path, name) && startsWith(path, folder));
        FUZZ_CHECK(path.size() == folder.size() + name.size() ||
                   (path.size() == folder.size() + name.size() + 1 && path[folder.size()] == L'\\'));
    }
    for (const std::wstring& name : plan.refused) FUZZ_CHECK(!name.empty() && !culling::isBareFileName(name));
}

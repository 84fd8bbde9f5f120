#include "CullingRules.h"

#include <algorithm>

namespace vantorel::culling {

const Kind& taunts()
{
    static const Kind kind{L"ClearTaunts", L"KeepTaunts", L"custom\\sounds\\", 1000000.0, {L"*.osf"}};
    return kind;
}

const Kind& logos()
{
    static const Kind kind{L"ClearLogos", L"KeepLogos", L"custom\\graphics\\", 100000.0, {L"*.ogf", L"*.oga"}};
    return kind;
}

bool exceedsThreshold(double folderSize, const Kind& kind) { return folderSize > kind.threshold; }

std::vector<std::wstring> splitKeepList(const std::wstring& keepList)
{
    std::vector<std::wstring> names;
    size_t start = 0;
    for (size_t bar; (bar = keepList.find(L'|', start)) != std::wstring::npos; start = bar + 1)
        names.push_back(keepList.substr(start, bar - start));
    names.push_back(keepList.substr(start));
    return names;
}

namespace {

// CON, NUL, COM1 and the like name devices in every folder, extension or not.
bool namesDevice(const std::wstring& name)
{
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (wchar_t& c : stem) c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (stem == device) return true;
    return stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
           stem[3] >= L'1' && stem[3] <= L'9';
}

} // namespace

bool isBareFileName(const std::wstring& name)
{
    if (name.empty() || name == L"." || name == L".." || namesDevice(name)) return false;
    return name.find_first_of(std::wstring(L"\\/:*?\"<>|\0", 10)) == std::wstring::npos;
}

KeepPlan planKeeps(const std::wstring& keepList)
{
    KeepPlan plan;
    for (const std::wstring& name : splitKeepList(keepList)) {
        if (name.empty()) continue;
        if (!isBareFileName(name))
            plan.refused.push_back(name);
        else if (std::find(plan.kept.begin(), plan.kept.end(), name) == plan.kept.end())
            plan.kept.push_back(name);
    }
    return plan;
}

std::wstring joinPath(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty() || folder.back() == L'\\') return folder + name;
    return folder + L"\\" + name;
}

} // namespace vantorel::culling

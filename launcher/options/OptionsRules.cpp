#include "OptionsRules.h"

#include <cmath>
#include <optional>

#include "LaunchRules.h"

namespace vantorel::options {
namespace {

wchar_t lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool equalsIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

} // namespace

bool switchShows(const std::wstring& stored, bool defaultState)
{
    return launch::readBooleanText(stored).value_or(defaultState);
}

std::wstring joinKeepList(const std::vector<std::wstring>& entries)
{
    std::wstring joined;
    for (size_t i = 0; i < entries.size(); ++i) joined += (i ? L"|" : L"") + entries[i];
    return joined;
}

std::wstring prependOption(const std::wstring& option, const std::wstring& parameters)
{
    return option + L" " + parameters;
}

bool isGameExecutable(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/:");
    return equalsIgnoringCase(slash == std::wstring::npos ? path : path.substr(slash + 1), L"main.exe");
}

std::wstring keepListFolder(const std::wstring& gameFolder, const std::wstring& customFolder)
{
    return gameFolder.empty() ? L"c:\\" : gameFolder + customFolder;
}

short aboutLook(double draw)
{
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<short>(std::nearbyint(draw * 4.0 + 1.0));
}

} // namespace vantorel::options

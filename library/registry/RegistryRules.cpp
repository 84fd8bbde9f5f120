#include "RegistryRules.h"

namespace quillon::qfcLibRegistryA {
namespace {

constexpr wchar_t kAppsKey[] = L"Software\\Brannock\\Apps\\";
constexpr wchar_t kSystemKey[] = L"Software\\Brannock\\System";
constexpr wchar_t kUserKey[] = L"Software\\Brannock\\User";
constexpr wchar_t kDefaultValueName[] = L"{Default}";

} // namespace

std::wstring BaseKeyPath(long vBaseKey, const std::wstring& appTitle)
{
    switch (vBaseKey) {
    case kBrannockBase:
        return kSystemKey;
    case kUserBase:
        return kUserKey;
    default:
        return kAppsKey + appTitle;
    }
}

std::wstring SubKeyPart(const std::wstring& vSubKey)
{
    if (vSubKey.empty() || vSubKey.front() == L'\\') return vSubKey;
    return L"\\" + vSubKey;
}

std::wstring KeyPath(long vBaseKey, const std::wstring& vSubKey, const std::wstring& appTitle)
{
    return BaseKeyPath(vBaseKey, appTitle) + SubKeyPart(vSubKey);
}

std::wstring ValueName(const std::wstring& vValue)
{
    return vValue == kDefaultValueName ? std::wstring() : vValue;
}

DeleteRefusal RefuseDelete(long vBaseKey, const std::wstring& vSubKey, const std::wstring& appTitle)
{
    // A sub key of nothing but separators would address the base key itself, which these methods never touch.
    if (qfcLibRegistryB::NamesNoKey(vSubKey)) return DeleteRefusal::NamesBaseKey;
    // Before InitCore the application key is "Apps" itself, and a title holding "\" names some other key below
    // "Apps": either way a sub key would resolve into another application's key.
    const bool ownKey = !appTitle.empty() && appTitle.find(L'\\') == std::wstring::npos;
    if (vBaseKey != kBrannockBase && vBaseKey != kUserBase && !ownKey) return DeleteRefusal::NoApplication;
    return DeleteRefusal::None;
}

} // namespace quillon::qfcLibRegistryA

namespace quillon::qfcLibRegistryB {
namespace {

constexpr unsigned long kMaxWin9xKeyPath = 255;

} // namespace

long ClassifyOS(unsigned long platform, unsigned long major, unsigned long minor)
{
    switch (platform) {
    case kPlatformWin32s:
        return kOSWin32s;
    case kPlatformWindows:
        return minor == 0 ? kOSWin95 : minor == 10 ? kOSWin98 : kOSUnknown;
    case kPlatformNT:
        return major == 3 ? kOSWinNT351 : major == 4 ? kOSWinNT40 : major == 5 ? kOSWin2000 : kOSUnknown;
    default:
        return kOSUnknown;
    }
}

bool IsVersion471OrLater(unsigned long major, unsigned long minor)
{
    return major > 4 || (major == 4 && minor >= 71);
}

DeleteStrategy ChooseDeleteStrategy(unsigned long platform, unsigned long major, unsigned long minor,
                                    bool shlwapi471, std::size_t pathLength)
{
    // Every NT-family Windows from 4.0 on deletes trees, not only those the OS codes name.
    if (platform == kPlatformNT && major >= 4)
        return shlwapi471 ? DeleteStrategy::ShellTree : DeleteStrategy::ChildByChild;
    long code = ClassifyOS(platform, major, minor);
    if (code == kOSWin95 || code == kOSWin98)
        return pathLength > kMaxWin9xKeyPath ? DeleteStrategy::PathTooLong : DeleteStrategy::SingleCall;
    return DeleteStrategy::Refuse;
}

bool NamesNoKey(const std::wstring& path)
{
    return path.find_first_not_of(L'\\') == std::wstring::npos;
}

} // namespace quillon::qfcLibRegistryB

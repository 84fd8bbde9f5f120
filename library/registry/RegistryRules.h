// The registry modules' decisions on values alone: key paths of the maker's
// tree, value names, which deletes are refused, and how this system deletes a
// key tree. No Windows headers, so they are table-tested and fuzzed natively.
#pragma once

#include <cstddef>
#include <string>

#include "Quillon_enums.h"

namespace quillon::qfcLibRegistryA {

// The qcRegBaseKeys values with paths of their own; every other value is the application key.
constexpr long kBrannockBase = typelib::qcBrannock;
constexpr long kUserBase = typelib::qcUser;

// "Software\Brannock\Apps\<title>", "...\System" (2) or "...\User" (3); any other base key is the application key.
std::wstring BaseKeyPath(long vBaseKey, const std::wstring& appTitle);

// A "\" is put in front of a non-empty sub key that does not start with one; nothing else changes.
std::wstring SubKeyPart(const std::wstring& vSubKey);

std::wstring KeyPath(long vBaseKey, const std::wstring& vSubKey, const std::wstring& appTitle);

// "{Default}" (exactly) names the unnamed value; every other name is used as it is.
std::wstring ValueName(const std::wstring& vValue);

// Why a delete below a base key is refused before the registry is reached, in the order it is checked.
enum class DeleteRefusal {
    None,
    NamesBaseKey,   // the sub key is empty or only separators: the base key itself would go
    NoApplication,  // the application key without a title (or with "\" in it) is not one key below "Apps"
};
DeleteRefusal RefuseDelete(long vBaseKey, const std::wstring& vSubKey, const std::wstring& appTitle);

} // namespace quillon::qfcLibRegistryA

namespace quillon::qfcLibRegistryB {

// The platform ids GetVersionEx reports.
constexpr unsigned long kPlatformWin32s = 0;
constexpr unsigned long kPlatformWindows = 1;
constexpr unsigned long kPlatformNT = 2;

// The qcOSTypes codes.
constexpr long kOSUnknown = typelib::OS_Unknown;
constexpr long kOSWin32s = typelib::OS_Win32;
constexpr long kOSWin95 = typelib::OS_Win95;
constexpr long kOSWin98 = typelib::OS_Win98;
constexpr long kOSWinNT351 = typelib::OS_WinNT_351;
constexpr long kOSWinNT40 = typelib::OS_WinNT_40;
constexpr long kOSWin2000 = typelib::OS_Win2000;

// The qcOSTypes code of a version as GetVersionEx reports it.
long ClassifyOS(unsigned long platform, unsigned long major, unsigned long minor);

// Whether a shell-library version is 4.71 or newer (the first with SHDeleteKey removing whole trees).
bool IsVersion471OrLater(unsigned long major, unsigned long minor);

enum class DeleteStrategy {
    Refuse,        // this system cannot delete key trees
    PathTooLong,   // Windows 95/98: more than 255 characters
    SingleCall,    // Windows 95/98: RegDeleteKey removes the subtree itself
    ShellTree,     // NT family 4.0 and later with shell library 4.71 or newer
    ChildByChild,  // NT family 4.0 and later with an older shell library
};

DeleteStrategy ChooseDeleteStrategy(unsigned long platform, unsigned long major, unsigned long minor,
                                    bool shlwapi471, std::size_t pathLength);

// A key path that names no key below the root ("", "\", "\\"...): deleting it would empty the root.
bool NamesNoKey(const std::wstring& path);

} // namespace quillon::qfcLibRegistryB

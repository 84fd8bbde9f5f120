// The library's internal registry API: the only code that calls the Windows
// registry functions. Other modules (files, forms, strings) call it directly.
//
// Every routine traps its failures: it returns false (and an empty text where
// it has an out text) and records the failure in the calling thread's
// last-error record (failure::lastError()). Only REG_SZ values are read or
// written. Paths and value names come checked (CheckedName): one holding a NUL
// would address another key or value. No routine ever shows a message box. All state is per thread;
// nothing is locked.
#pragma once

#include <windows.h>
#include <cstddef>
#include <string>

#include "CheckedName.h"
#include "RegistryRules.h"

namespace quillon::qfcLibRegistryB {

// ---- per-thread state, readable for callers and tests ---------------------

struct OSState {
    long OSType = 0;             // a qcOSTypes code
    std::wstring OSVersionText;  // "major.minor"
    std::wstring OSBuildText;
    bool OSDetectFailed = false;  // sticky: once set, key deletion is refused in this thread
    unsigned long Platform = 0;
    unsigned long Major = 0;
    unsigned long Minor = 0;
};

struct ShlwapiState {
    std::wstring ShlwapiVersionText;  // "major.minor"
    bool ShlwapiCheckFailed = false;  // sticky: tree deletion falls back to child by child
    unsigned long Major = 0;
    unsigned long Minor = 0;
};

const OSState& OSCache();
const ShlwapiState& ShlwapiCache();

// Texts of the module's own failures (recorded with number -1).
extern const wchar_t* const kNotAStringText;
extern const wchar_t* const kKeyTooLongText;
extern const wchar_t* const kNoKeyToDeleteText;

// ---- registry routines -----------------------------------------------------

bool REG_GetString(HKEY root, const CheckedName& path, const CheckedName& name, std::wstring& text);
bool REG_SaveString(HKEY root, const CheckedName& path, const CheckedName& name, const std::wstring& data);
bool REG_DeleteValue(HKEY root, const CheckedName& path, const CheckedName& name);
bool REG_DeleteKey(HKEY root, const CheckedName& path);
bool REG_GetValueType(HKEY root, const CheckedName& path, const CheckedName& name, unsigned long& type,
                      unsigned long& size);
bool REG_CountSubKeys(HKEY root, const CheckedName& path, long& count);
bool REG_DeleteKeyTree(HKEY root, const CheckedName& path);
// Deletes every subkey of the open key (deepest first), then the key itself.
bool REG_DeleteSubKeys(HKEY root, HKEY key, const CheckedName& path);

bool REG_IsOSSupported();
bool REG_GetOSVersion();
bool REG_IsShlwapi471();
bool REG_GetShlwapiVersion();

// Fills number and text for an error code (0: GetLastError()); false when there is no error to report.
// show puts up a message box; the registry routines never ask for it.
bool REG_ReportAPIError(long code, const std::wstring& functionName, long& number, std::wstring& text,
                        bool show);

} // namespace quillon::qfcLibRegistryB

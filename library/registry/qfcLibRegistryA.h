// The routines behind qfcLibRegistry: turn the class's arguments into key
// paths of the maker's key tree (or of a named root) and hand them to the
// registry routines. Every failure gives false or the caller's default.
#pragma once

#include <string>

#include "CheckedName.h"
#include "QuillonTypes.h"
#include "RegistryRules.h"

namespace quillon::qfcLibRegistryA {

// Recorded (number -1) when a delete below the application key comes before InitCore.
extern const wchar_t* const kNoApplicationText;

// ---- roots ----

// The predefined key of a qcRegistryKeys value; nullptr for any value outside that enumeration.
HKEY RootKey(long vKeyRoot);

// ---- the class's methods ----
// Names come checked; the key paths built from them are checked again as the texts they now are.

bool KeyDelete(const CheckedName& vSubKey, long vBaseKey);
bool KeyDeleteValue(const CheckedName& vValue, const CheckedName& vSubKey, long vBaseKey);
bool RegDeleteValue(long vKeyRoot, const CheckedName& vSubKey, const CheckedName& vValue);
std::wstring KeyGet(const CheckedName& vValue, const std::wstring& vDefaultData, const CheckedName& vSubKey,
                    long vBaseKey);
bool KeySet(const CheckedName& vValue, const std::wstring& vData, const CheckedName& vSubKey, long vBaseKey);
bool RegDeleteKey(long vKeyRoot, const CheckedName& vSubKey);
bool RegKeySetString(long vKeyRoot, const CheckedName& vSubKey, const CheckedName& vValue, const std::wstring& vData);
std::wstring RegKeyGetString(long vKeyRoot, const CheckedName& vSubKey, const CheckedName& vValue,
                             const std::wstring& vDefaultData);

// Writes (or with vRemove deletes) the four classes-root entries of a file type;
// true when at least one write (or one of the two deletions) succeeded.
bool RegFileAssociate(const CheckedName& vExtension, const std::wstring& vDescription, const CheckedName& vOpenWithExe,
                      const CheckedName& vCommandLineParam, const CheckedName& vIconPath, short vIconIndex,
                      bool vRemove);
// Writes (or with vRemove deletes) value vValue of the run key of vMode under vKeyRoot.
bool RegSetRunKey(const CheckedName& vValue, const CheckedName& vData, long vKeyRoot, long vMode, bool vRemove);

} // namespace quillon::qfcLibRegistryA

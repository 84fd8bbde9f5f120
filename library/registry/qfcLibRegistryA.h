// The routines behind qfcLibRegistry: turn the class's arguments into key
// paths of the maker's key tree (or of a named root) and hand them to the
// registry routines. Every failure gives false or the caller's default.
#pragma once

#include <string>

#include "QuillonTypes.h"
#include "RegistryRules.h"

namespace quillon::qfcLibRegistryA {

// Recorded (number -1) when a delete below the application key comes before InitCore.
extern const wchar_t* const kNoApplicationText;

// ---- roots ----

// The predefined key of a qcRegistryKeys value; nullptr for any value outside that enumeration.
HKEY RootKey(long vKeyRoot);

// ---- the class's methods ----

bool KeyDelete(const std::wstring& vSubKey, long vBaseKey);
bool KeyDeleteValue(const std::wstring& vValue, const std::wstring& vSubKey, long vBaseKey);
bool RegDeleteValue(long vKeyRoot, const std::wstring& vSubKey, const std::wstring& vValue);
std::wstring KeyGet(const std::wstring& vValue, const std::wstring& vDefaultData, const std::wstring& vSubKey,
                    long vBaseKey);
bool KeySet(const std::wstring& vValue, const std::wstring& vData, const std::wstring& vSubKey, long vBaseKey);
bool RegDeleteKey(long vKeyRoot, const std::wstring& vSubKey);
bool RegKeySetString(long vKeyRoot, const std::wstring& vSubKey, const std::wstring& vValue,
                     const std::wstring& vData);
std::wstring RegKeyGetString(long vKeyRoot, const std::wstring& vSubKey, const std::wstring& vValue,
                             const std::wstring& vDefaultData);

// Writes (or with vRemove deletes) the four classes-root entries of a file type;
// true when at least one write (or one of the two deletions) succeeded.
bool RegFileAssociate(const std::wstring& vExtension, const std::wstring& vDescription,
                      const std::wstring& vOpenWithExe, const std::wstring& vCommandLineParam,
                      const std::wstring& vIconPath, short vIconIndex, bool vRemove);
// Writes (or with vRemove deletes) value vValue of the run key of vMode under vKeyRoot.
bool RegSetRunKey(const std::wstring& vValue, const std::wstring& vData, long vKeyRoot, long vMode, bool vRemove);

} // namespace quillon::qfcLibRegistryA

// The interfaces, enumerations and identifiers generated from Quillon.idl.
//
// Some enumeration members mirror Windows names that windows.h defines as
// macros (HKEY_CLASSES_ROOT, SW_SHOW, ...), and some methods share their
// names with Windows macros (CopyFile, RegDeleteKey, ...). The macros are
// hidden while the generated header is read. The enumeration members come
// back as macros afterwards (the registry roots stay reachable as qc::k...);
// the method-name macros stay undefined, so the product calls the explicit W
// functions (CopyFileW, RegDeleteKeyW).
#pragma once

#include <windows.h>
#include <commdlg.h>  // before the names below are hidden: it defines GetOpenFileName and GetFileTitle
#include <ole2.h>
#include <oaidl.h>
#include <ocidl.h>

#pragma push_macro("HKEY_CLASSES_ROOT")
#pragma push_macro("HKEY_CURRENT_USER")
#pragma push_macro("HKEY_LOCAL_MACHINE")
#pragma push_macro("HKEY_USERS")
#pragma push_macro("HKEY_PERFORMANCE_DATA")
#pragma push_macro("HKEY_CURRENT_CONFIG")
#pragma push_macro("HKEY_DYN_DATA")
#pragma push_macro("SW_HIDE")
#pragma push_macro("SW_MAXIMIZE")
#pragma push_macro("SW_MINIMIZE")
#pragma push_macro("SW_RESTORE")
#pragma push_macro("SW_SHOW")
#pragma push_macro("SW_SHOWDEFAULT")
#pragma push_macro("SW_SHOWMAXIMIZED")
#pragma push_macro("SW_SHOWMINIMIZED")
#pragma push_macro("SW_SHOWMINNOACTIVE")
#pragma push_macro("SW_SHOWNA")
#pragma push_macro("SW_SHOWNOACTIVATE")
#pragma push_macro("SW_SHOWNORMAL")
#undef HKEY_CLASSES_ROOT
#undef HKEY_CURRENT_USER
#undef HKEY_LOCAL_MACHINE
#undef HKEY_USERS
#undef HKEY_PERFORMANCE_DATA
#undef HKEY_CURRENT_CONFIG
#undef HKEY_DYN_DATA
#undef SW_HIDE
#undef SW_MAXIMIZE
#undef SW_MINIMIZE
#undef SW_RESTORE
#undef SW_SHOW
#undef SW_SHOWDEFAULT
#undef SW_SHOWMAXIMIZED
#undef SW_SHOWMINIMIZED
#undef SW_SHOWMINNOACTIVE
#undef SW_SHOWNA
#undef SW_SHOWNOACTIVATE
#undef SW_SHOWNORMAL
#undef CopyFile
#undef DeleteFile
#undef GetOpenFileName
#undef GetSaveFileName
#undef GetFileTitle
#undef RegDeleteKey
#undef RegDeleteValue

#include "Quillon_h.h"

// The registry roots of the type library under names code can spell: windows.h
// defines macros named like the enumerators.
namespace qc {
constexpr qcRegistryKeys kClassesRoot = HKEY_CLASSES_ROOT;
constexpr qcRegistryKeys kCurrentUser = HKEY_CURRENT_USER;
constexpr qcRegistryKeys kLocalMachine = HKEY_LOCAL_MACHINE;
constexpr qcRegistryKeys kUsers = HKEY_USERS;
constexpr qcRegistryKeys kPerformanceData = HKEY_PERFORMANCE_DATA;
constexpr qcRegistryKeys kCurrentConfig = HKEY_CURRENT_CONFIG;
constexpr qcRegistryKeys kDynData = HKEY_DYN_DATA;
} // namespace qc

#pragma pop_macro("HKEY_CLASSES_ROOT")
#pragma pop_macro("HKEY_CURRENT_USER")
#pragma pop_macro("HKEY_LOCAL_MACHINE")
#pragma pop_macro("HKEY_USERS")
#pragma pop_macro("HKEY_PERFORMANCE_DATA")
#pragma pop_macro("HKEY_CURRENT_CONFIG")
#pragma pop_macro("HKEY_DYN_DATA")
#pragma pop_macro("SW_HIDE")
#pragma pop_macro("SW_MAXIMIZE")
#pragma pop_macro("SW_MINIMIZE")
#pragma pop_macro("SW_RESTORE")
#pragma pop_macro("SW_SHOW")
#pragma pop_macro("SW_SHOWDEFAULT")
#pragma pop_macro("SW_SHOWMAXIMIZED")
#pragma pop_macro("SW_SHOWMINIMIZED")
#pragma pop_macro("SW_SHOWMINNOACTIVE")
#pragma pop_macro("SW_SHOWNA")
#pragma pop_macro("SW_SHOWNOACTIVATE")
#pragma pop_macro("SW_SHOWNORMAL")

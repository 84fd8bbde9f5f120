// The routines behind qfcLibFiles: existence tests, listings, folder sizes,
// folder creation, system folders and the shell's copy, move and delete.
//
// Error styles: DirExists, MakePath, GetSystemFolder, FileExtSearch and
// GetDirSize trap every failure and give their neutral result; the others
// throw RuntimeError, which the method frame hands to the caller. Names come
// checked (CheckedName); names the module builds itself are checked there.
#pragma once

// QuillonTypes.h hides the Windows macros named like these routines (CopyFile, GetOpenFileName...).
#include <shtypes.h>

#include "CheckedName.h"
#include "QuillonTypes.h"

#include <string>
#include <vector>

#include "FileNames.h"

namespace quillon::qfcLibFilesA {

// The file-system path of a shell item list ("" when it has none); any length.
std::wstring ItemListPath(const ITEMIDLIST* list);

// Whether a listing of the name (wildcards allowed; a trailing separator lists the folder's contents) with the
// attribute mask shows an entry. A malformed name or a drive that is not ready is the caller's error.
bool ListsEntry(const std::wstring& name, unsigned long mask);

bool FileExists(const CheckedName& vFile);
bool DirExists(const CheckedName& vPath);
std::wstring GetShortFileName(const CheckedName& vFile);
std::wstring GetSystemFolder(long vFolderToReturn);
// Makes every missing level; true only when the folder is there afterwards.
bool MakePath(const CheckedName& vDirName);

// The full names of the matching files, in FileExtSearch's order (a folder's own files first, then its
// sub-folders from the last listed to the first). False when the arguments ask for no search at all.
bool FindByExtension(const CheckedName& vPath, const CheckedName& vFileExt, bool vRecursive,
                     std::vector<std::wstring>& found);

// Bytes of the listed files (hidden and system ones excluded); -1 for an empty path or no folder.
long long GetDirSize(const CheckedName& vPath, bool vRecursive);

// Through the shell's file operation; the result is its aborted flag. Flags wider than 16 bits, names holding
// a NUL and names too long for the shell are refused with a run-time error before anything happens. An operation
// other than a copy or a move makes CopyFile false before its names or flags are looked at; so does a
// destination the marshalling refused (none), after them.
bool CopiesOrMoves(long vOperation);
bool CopyFile(long vOwnerhWnd, const SourceNames& vFiles, const NameIfWhole& vDestination, long vOperation,
              long vFlags, const std::wstring& vDialogText);
bool DeleteFile(long vOwnerhWnd, const SourceNames& vFiles, long vFlags);

// The shell's folder browser; "" when cancelled. The chosen path comes back proper-cased with a trailing "\".
std::wstring BrowseForFolder(long vOwnerhWnd, const CheckedName& vRootDir, const std::wstring& vPrompt, long vFlags);

// Drive the caller's common-dialog object by member name; "" when cancelled or when anything fails.
std::wstring GetOpenFileName(const std::wstring& vDefExtension, IDispatch* vCommonDlgObject,
                             const std::wstring& vInitDirectory, const std::wstring& vExtraFilters,
                             const std::wstring& vDialogTitle);
std::wstring GetSaveFileName(const std::wstring& vDefExtension, IDispatch* vCommonDlgObject,
                             const std::wstring& vInitDirectory, const std::wstring& vExtraFilters,
                             const std::wstring& vDialogTitle);

} // namespace quillon::qfcLibFilesA

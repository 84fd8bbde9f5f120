// The file and shell services the game launch and the options dialog use, called on the launcher's
// shared library instances with plain texts in and out. A failed call throws
// LauncherError for the given procedure.
#pragma once

#include <oaidl.h>

#include <string>
#include <vector>

namespace vantorel::calls {

std::wstring filePath(const std::wstring& file, const wchar_t* procedure);
// The files of folder whose names end in extension, not searching sub-folders.
std::vector<std::wstring> fileExtSearch(const std::wstring& folder, const std::wstring& extension,
                                        const wchar_t* procedure);
// Bytes directly in the folder (sub-folders not counted).
double dirSize(const std::wstring& folder, const wchar_t* procedure);
// Deletes through the shell with the given operation flags; the answer is not reported.
void deleteMatching(const std::wstring& pattern, long flags, const wchar_t* procedure);
std::wstring shortFileName(const std::wstring& file, const wchar_t* procedure);
std::wstring fileTitle(const std::wstring& file, bool withExtension, const wchar_t* procedure);
// The file the user chose in the common dialog object (filtered by extension,
// starting in folder), or "" when the dialog was cancelled.
std::wstring openFileName(const std::wstring& extension, IDispatch* dialog, const std::wstring& folder,
                          const std::wstring& title, const wchar_t* procedure);
// Starts the command line without waiting for it.
void executeCommand(const std::wstring& commandLine, const wchar_t* procedure);

} // namespace vantorel::calls

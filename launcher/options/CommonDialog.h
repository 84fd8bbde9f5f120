// The launcher's common-dialog object: the file dialog the options dialog hands
// to qfcLibFiles.GetOpenFileName, which sets its properties and calls ShowOpen
// by member name. Members: InitDir, DefaultExt, Filter ("description|pattern|
// ..."), FileName, DialogTitle, Flags (OFN_ flags), CancelError, FileTitle,
// ShowOpen, ShowSave. Cancelling with CancelError true raises error 32755.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace vantorel {

// A new object whose dialogs are owned by `owner` (may be null), with one reference for the caller.
IDispatch* createCommonDialog(HWND owner);

// "desc|*.a|All|*.*" as the file dialog wants it: pieces separated by NUL, the list ending in two.
std::wstring dialogFilter(const std::wstring& filter);

} // namespace vantorel

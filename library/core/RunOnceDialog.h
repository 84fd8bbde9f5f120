// frmRunOnce, the library's welcome window: a heading over a read-only text,
// closed by its close box and animated away.
#pragma once

#include <string>

#include "CheckedName.h"

namespace quillon::qfcLibCoreA {

// Shows the welcome window modally; returns at once when there is neither a
// text nor a file name. Failures along the way are let go; a file name the
// marshalling refused (none) reads as a missing file.
void ShowRunOnceDialog(const std::wstring& vDialogText, const NameIfWhole& vDialogFileName,
                       const std::wstring& vHeadingText, const std::wstring& vFormCaption, long vFormWidth,
                       long vFormHeight);

constexpr wchar_t kRunOnceWindowClass[] = L"QuillonRunOnce";
enum RunOnceControl : int { kRoBox = 10, kRunOnceText = 11, kRoMask = 12, kRoWelcome = 13 };

} // namespace quillon::qfcLibCoreA

// The routines behind qfcLibWindows: starting processes, shell execution with
// its error box, control-panel applets and the desktop wallpaper.
#pragma once

#include <string>

namespace quillon::qfcLibWindowsA {

// "{None}" (exactly) stands for no wallpaper and is replaced by "" in the caller's text.
// Returns the system call's result (non-zero on success).
long SetWallpaper(std::wstring& vFileName);

// Starts a command line as a new process that inherits no handles, waiting for
// it when asked. A process that cannot be created raises 53 (program missing),
// 70 (access denied) or 5 with the system's text; so does a line the system cannot take.
void ExecuteCommand(const std::wstring& vCommandLine, bool vWaitForObject);

void OpenCPApplet(long vAppIndex);

// Owner -1 means no owner window. Every failure gives false (and, when asked, the error box).
bool ShellCommand(const std::wstring& vFileEmailURL, const std::wstring& vParameters, long vShowAction,
                  long vShowState, const std::wstring& vDefaultDirectory, long vOwnerhWnd, bool vShowErrorMsg);

} // namespace quillon::qfcLibWindowsA

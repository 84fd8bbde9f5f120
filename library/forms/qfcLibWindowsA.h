// The routines behind qfcLibWindows: starting processes, shell execution with
// its error box, control-panel applets and the desktop wallpaper.
#pragma once

#include <string>

#include "CheckedName.h"

namespace quillon::qfcLibWindowsA {

// "" stands for no wallpaper. Returns the system call's result (non-zero on success).
long SetWallpaper(const CheckedName& vFileName);

// Starts a command line as a new process that inherits no handles, waiting for
// it when asked. A process that cannot be created raises 53 (program missing),
// 70 (access denied) or 5 with the system's text.
void ExecuteCommand(const CheckedName& vCommandLine, bool vWaitForObject);

void OpenCPApplet(long vAppIndex);

// Owner -1 means no owner window. Every failure gives false (and, when asked, the error box).
bool ShellCommand(const CheckedName& vFileEmailURL, const CheckedName& vParameters, long vShowAction,
                  long vShowState, const CheckedName& vDefaultDirectory, long vOwnerhWnd, bool vShowErrorMsg);

} // namespace quillon::qfcLibWindowsA

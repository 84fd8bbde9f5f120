// Start-up and shutdown of the launcher, and its process-wide state.
#pragma once

#include <string>

#include "Logging.h"
#include "Properties.h"

namespace vantorel {

struct AppIdentity {
    std::wstring baseName;
    std::wstring title;
    std::wstring folder;
    short major = 0;
    short minor = 0;
    short revision = 0;
    std::wstring fileDescription;
    std::wstring commandLine;
};

// The running program's identity, from its module path, version resource and command line.
AppIdentity currentIdentity();

// Process-wide state; each throws LauncherError when used before Main created it.
qcLogging& applicationLog();
qcolProperties& SysProperties();
qcolProperties& AppProperties();

// The entry procedure; a failure ends it with LauncherError.
void Main();
// Stops the log, unloads every window, releases the log and both collections
// (saving them). Harmless when called again.
void ShutDown();
// Fills SysProperties with the shared system and user settings.
void GetSysINI();

// The whole process: the one launcher of the session (a later start brings its
// window forward and ends with 0), COM, Main, the message loop while a window
// is loaded, ShutDown; an error is logged, stops the log and is shown. Returns the exit code.
int runLauncher();

} // namespace vantorel

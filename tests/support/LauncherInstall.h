// End-to-end runs of Vantorel.exe. The launcher's keys are fixed (the maker's
// shared keys, its application key, its app path), so such runs are isolated
// by giving the whole test program a Wine prefix of its own (quillon_test with
// OWN_PREFIX) and each installation a scratch folder inside that prefix.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "WindowWatcher.h"

namespace files_testing {
class ScratchFolder;
}

namespace testing_support {

// True when this program runs in a Wine prefix of its own, the only place
// where the launcher's keys may be changed without disturbing other programs.
bool ownPrefix();

// Deletes the launcher's registry state in this program's own prefix: the
// maker's key tree under HKEY_CURRENT_USER and the app path of `baseName`.exe.
void resetLauncherRegistry(const std::wstring& baseName = L"Vantorel");

// The library's welcome window, which a first run shows.
constexpr wchar_t kWelcomeWindowClass[] = L"QuillonRunOnce";

// Answers every dialog (message boxes included) with OK, cancels the options
// dialog and closes the welcome window with its close box, so no run waits on a window.
void closeDialogs(const SeenWindow& window);

struct RunOutcome {
    long exitCode = -1;              // -1: could not start; -2: killed after the time-out
    std::vector<SeenWindow> windows; // in the order first seen
    std::vector<std::string> log;    // the run's log lines without indentation (ANSI bytes)

    bool logHas(const std::string& start) const; // a line that starts with `start`
    bool saw(const std::wstring& className) const;
    std::wstring boxText() const; // the message of the first message box, or ""
};

// Vantorel.exe copied as `baseName`.exe, with Quillon.dll beside it unless
// withLibrary is false, into a fresh scratch folder (deleted with the object). It runs registration-free from its manifest.
class LauncherInstall {
public:
    explicit LauncherInstall(const std::wstring& name, const std::wstring& baseName = L"Vantorel",
                             bool withLibrary = true);
    // Vantorel.exe installed by other means (the installer, a script) in a
    // folder (no trailing backslash) that the object neither fills nor deletes.
    struct Existing {
        std::wstring folder;
    };
    explicit LauncherInstall(const Existing& existing);
    ~LauncherInstall();
    LauncherInstall(const LauncherInstall&) = delete;
    LauncherInstall& operator=(const LauncherInstall&) = delete;

    bool ready() const { return ready_; } // false (with a test failure) when it could not be prepared
    const std::wstring& folder() const { return folder_; } // no trailing backslash
    std::wstring exePath() const { return folder_ + L"\\" + baseName_ + L".exe"; }
    std::wstring logPath() const { return logFolder_ + baseName_ + L".log"; }
    // Where runs find the log (ending in "\\"): the program's folder unless told otherwise.
    void readLogFrom(const std::wstring& folder) { logFolder_ = folder; }

    // Starts the program with `arguments` (appended as given, so start with a
    // space), lets onWindow handle its windows, and waits for it. The log
    // holds only this run: an earlier log is deleted first.
    RunOutcome run(const std::wstring& arguments = L"", const WindowHandler& onWindow = closeDialogs,
                    DWORD timeoutMs = 30000) const;

private:
    std::unique_ptr<files_testing::ScratchFolder> scratch_;
    std::wstring folder_;
    std::wstring baseName_;
    std::wstring logFolder_;
    bool ready_ = false;
};

} // namespace testing_support

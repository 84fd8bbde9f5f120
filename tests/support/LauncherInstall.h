// End-to-end runs of Vantorel.exe. The launcher's keys are fixed, so such runs are isolated by giving the whole
// test program a Wine prefix of its own (quillon_test with OWN_PREFIX) and each installation a scratch folder.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "WindowWatcher.h"

namespace files_testing {
class ScratchFolder;
}

namespace testing_support {

const std::wstring kAppKeyPath = L"Software\\Brannock\\Apps\\Vantorel";
const std::wstring kSystemKeyPath = L"Software\\Brannock\\System";
const std::wstring kUserKeyPath = L"Software\\Brannock\\User";

// Deletes the maker's key tree under HKEY_CURRENT_USER and the launcher's app path.
void resetLauncherRegistry();

// For programs that run the launcher (each in a prefix of its own): its keys start and end empty.
class LauncherRunTest : public ::testing::Test {
protected:
    void SetUp() override { resetLauncherRegistry(); }
    void TearDown() override { resetLauncherRegistry(); }
};

// The library's welcome window, which a first run shows.
constexpr wchar_t kWelcomeWindowClass[] = L"QuillonRunOnce";

// Answers every dialog with OK, cancels the options dialog and closes the welcome window.
void closeDialogs(const SeenWindow& window);

// A log file's lines as written, without their CR LF; a last line without one ends in "<no CR LF>".
std::vector<std::string> logLines(const std::wstring& path);

struct RunOutcome {
    long exitCode = -1;              // -1: could not start; -2: killed after the time-out
    std::vector<SeenWindow> windows; // in the order first seen
    std::vector<std::string> log;    // the run's log lines without indentation (ANSI bytes)

    bool logHas(const std::string& start) const; // a line that starts with `start`
    std::string logLine(const std::string& start) const; // the rest of the last such line, or ""
    bool saw(const std::wstring& className) const;
    std::wstring boxText() const; // the message of the first message box, or ""
};

// Vantorel.exe, with Quillon.dll beside it unless withLibrary is false, copied into a fresh scratch folder
// deleted with the object. It runs registration-free from its manifest.
class LauncherInstall {
public:
    explicit LauncherInstall(const std::wstring& name, bool withLibrary = true);
    // Vantorel.exe installed by other means in a folder (no trailing backslash) that the object leaves alone.
    struct Existing {
        std::wstring folder;
    };
    explicit LauncherInstall(const Existing& existing);
    ~LauncherInstall();
    LauncherInstall(const LauncherInstall&) = delete;
    LauncherInstall& operator=(const LauncherInstall&) = delete;

    bool ready() const { return ready_; } // false (with a test failure) when it could not be prepared
    const std::wstring& folder() const { return folder_; } // no trailing backslash
    std::wstring exePath() const { return folder_ + L"\\Vantorel.exe"; }
    std::wstring logPath() const { return folder_ + L"\\Vantorel.log"; }

    // Starts the program with `arguments` (appended as given: start with a space), lets onWindow handle its
    // windows and waits for it. An earlier log is deleted first.
    RunOutcome run(const std::wstring& arguments = L"", const WindowHandler& onWindow = closeDialogs,
                   DWORD timeoutMs = 30000) const;

private:
    std::unique_ptr<files_testing::ScratchFolder> scratch_;
    std::wstring folder_;
    bool ready_ = false;
};

} // namespace testing_support

#include "LauncherInstall.h"

#include <algorithm>

#include "Raii.h"
#include "ScratchFolder.h"
#include "TestSupport.h"

namespace testing_support {

namespace {

// Only a Wine prefix of this program's own may change the launcher's keys.
bool ownPrefix()
{
    wchar_t flag[8] = {};
    return GetEnvironmentVariableW(L"QUILLON_OWN_PREFIX", flag, ARRAYSIZE(flag)) > 0 && flag[0] == L'1';
}

} // namespace

void resetLauncherRegistry()
{
    ASSERT_TRUE(ownPrefix()) << "the launcher's keys are shared: reset them only in a prefix of this program's own";
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brannock");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Vantorel.exe");
}

void closeDialogs(const SeenWindow& window)
{
    if (window.className == kDialogClass) PostMessageW(window.handle, WM_COMMAND, IDOK, 0);
    if (window.title == L"D3 Launcher Options") PostMessageW(window.handle, WM_COMMAND, IDCANCEL, 0);
    if (window.className == kWelcomeWindowClass) PostMessageW(window.handle, WM_CLOSE, 0, 0);
}

std::vector<std::string> logLines(const std::wstring& path)
{
    const std::string text = fileBytes(path);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start) + "<no CR LF>");
    return lines;
}

bool RunOutcome::logHas(const std::string& start) const
{
    return std::any_of(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

std::string RunOutcome::logLine(const std::string& start) const
{
    std::string rest;
    for (const std::string& line : log)
        if (line.compare(0, start.size(), start) == 0) rest = line.substr(start.size());
    return rest;
}

bool RunOutcome::saw(const std::wstring& className) const
{
    return std::any_of(windows.begin(), windows.end(), [&](const SeenWindow& w) { return w.className == className; });
}

std::wstring RunOutcome::boxText() const
{
    for (const SeenWindow& window : windows)
        if (window.className == kDialogClass && !window.text.empty()) return window.text;
    return {};
}

LauncherInstall::LauncherInstall(const std::wstring& name, bool withLibrary)
{
    scratch_ = std::make_unique<files_testing::ScratchFolder>(L"Launcher" + name);
    folder_ = scratch_->path().substr(0, scratch_->path().size() - 1);
    const std::wstring source = programFolder();
    ready_ = CopyFileW((source + L"Vantorel.exe").c_str(), exePath().c_str(), FALSE) &&
             (!withLibrary || CopyFileW((source + L"Quillon.dll").c_str(), (folder_ + L"\\Quillon.dll").c_str(), FALSE));
    EXPECT_TRUE(ready_) << "cannot prepare " << testing::PrintToString(folder_) << ": error " << GetLastError();
}

LauncherInstall::LauncherInstall(const Existing& existing)
    : folder_(existing.folder)
{
    ready_ = GetFileAttributesW(exePath().c_str()) != INVALID_FILE_ATTRIBUTES;
    EXPECT_TRUE(ready_) << "no launcher at " << testing::PrintToString(exePath());
}

LauncherInstall::~LauncherInstall() = default;

RunOutcome LauncherInstall::run(const std::wstring& arguments, const WindowHandler& onWindow, DWORD timeoutMs) const
{
    RunOutcome result;
    if (!ready_) return result;
    DeleteFileW(logPath().c_str());
    raii::ProcessInfo process;
    if (!startProcess(L"\"" + exePath() + L"\"" + arguments, process)) return result;
    WindowWatcher watcher(process.get().dwProcessId, onWindow);
    result.exitCode = waitForProcess(process, timeoutMs);
    watcher.stop();
    result.windows = watcher.seen();
    for (const std::string& line : logLines(logPath()))
        result.log.push_back(line.substr(std::min(line.find_first_not_of(' '), line.size())));
    return result;
}

} // namespace testing_support

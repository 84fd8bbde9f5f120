#include "Culling.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "LauncherError.h"
#include "LaunchRules.h"
#include "LibraryCalls.h"
#include "Raii.h"

namespace vantorel::culling {
namespace {

constexpr wchar_t kProcedure[] = L"Main";

[[noreturn]] void fail(const std::wstring& what, const std::wstring& path)
{
    throwLastError(what + L": " + path, kProcedure);
}

// Counts the steps that change the folder and tells the hook of each.
class Steps {
public:
    explicit Steps(const StepHook& hook = {}) : hook_(hook) {}
    void done()
    {
        ++count_;
        if (hook_) hook_(count_);
    }

private:
    StepHook hook_;
    int count_ = 0;
};

bool isFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> filesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    raii::UniqueFind find(FindFirstFileW(joinPath(folder, L"*").c_str(), &found));
    if (!find) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(find.get(), &found));
    return names;
}

// Copies a kept file to a name that does not exist yet; the copy takes the source's attributes.
void copyNew(const std::wstring& kept, const std::wstring& to)
{
    if (!CopyFileW(kept.c_str(), to.c_str(), TRUE)) fail(L"A kept file could not be backed up", kept);
}

// Deletes the folder's files and then the folder; the run's own folders hold nothing else.
void removeFolder(const std::wstring& folder, Steps& steps)
{
    for (const std::wstring& name : filesIn(folder)) {
        const std::wstring path = joinPath(folder, name);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(path.c_str())) fail(L"A backup file could not be deleted", path);
        steps.done();
    }
    if (!RemoveDirectoryW(folder.c_str())) fail(L"The backup folder could not be removed", folder);
    steps.done();
}

// Moves every backup back where its file is missing and removes the rest: a
// file of that name is newer than the backup (the player's, after a crash) and
// stays. A move is one rename, so a kill never leaves half a file. With a log,
// each name is posted.
void restoreKept(const std::wstring& folder, Steps& steps, qcLogging* log)
{
    const std::wstring backups = joinPath(folder, kBackupFolder);
    for (const std::wstring& name : filesIn(backups)) {
        const std::wstring kept = joinPath(folder, name);
        const bool restored = MoveFileW(joinPath(backups, name).c_str(), kept.c_str());
        const DWORD error = restored ? 0 : GetLastError();
        if (!restored && error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            fail(L"A kept file could not be restored", kept);
        if (log) log->Post(restored ? L"Kept File Restored" : L"Kept File Present, Its Backup Removed", name);
        steps.done();
    }
    removeFolder(backups, steps);
}

// What an interrupted run left: a staging folder (nothing was removed yet) is
// dropped, a backup folder is restored.
void recoverInterruptedRun(const std::wstring& folder, qcLogging& log)
{
    Steps steps;
    const std::wstring staging = joinPath(folder, kStagingFolder);
    if (isFolder(staging)) removeFolder(staging, steps);
    if (isFolder(joinPath(folder, kBackupFolder))) {
        log.Post(L"Kept Files Restored After An Interrupted Launch", folder);
        restoreKept(folder, steps, &log);
    }
}

// The name a kept file has in the folder, whatever letter case the list uses,
// so that its backup comes back under that name; "" when no such file is there.
std::wstring nameInFolder(const std::wstring& folder, const std::wstring& name)
{
    WIN32_FIND_DATAW found;
    raii::UniqueFind find(FindFirstFileW(joinPath(folder, name).c_str(), &found));
    if (!find || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    return found.cFileName;
}

std::vector<std::wstring> presentKeeps(const std::wstring& folder, const std::wstring& keepList, qcLogging& log)
{
    const KeepPlan plan = planKeeps(keepList);
    for (const std::wstring& name : plan.refused) log.Post(L"Kept Name Is Not A File Name, Skipped", name);
    std::vector<std::wstring> present;
    for (const std::wstring& name : plan.kept) {
        const std::wstring own = nameInFolder(folder, name);
        if (own.empty())
            log.Post(L"Kept File Not Found, Skipped", name);
        else if (std::find(present.begin(), present.end(), own) == present.end())
            present.push_back(own);
    }
    return present;
}

void backUp(const std::wstring& folder, const std::vector<std::wstring>& kept, Steps& steps)
{
    const std::wstring staging = joinPath(folder, kStagingFolder);
    if (!CreateDirectoryW(staging.c_str(), nullptr)) fail(L"The backup folder could not be created", staging);
    steps.done();
    for (const std::wstring& name : kept) {
        copyNew(joinPath(folder, name), joinPath(staging, name));
        steps.done();
    }
    const std::wstring backups = joinPath(folder, kBackupFolder);
    if (!MoveFileW(staging.c_str(), backups.c_str())) fail(L"The backup folder could not be completed", backups);
    steps.done();
}

// The description of a failure and the system's reason, for the log.
std::wstring withReason(const LauncherError& error)
{
    const std::wstring reason = systemText(error.hr());
    return error.description() + L" (" + (reason.empty() ? hresultText(error.hr()) : reason) + L")";
}

// Culling is a convenience: without a backup of every kept file nothing is
// removed, and the launch goes on. What was staged is dropped again.
bool backedUp(const std::wstring& folder, const std::vector<std::wstring>& kept, Steps& steps, qcLogging& log)
{
    try {
        backUp(folder, kept, steps);
        return true;
    } catch (const LauncherError& error) {
        log.Post(L"Nothing Culled, The Kept Files Could Not Be Backed Up", withReason(error));
    }
    const std::wstring staging = joinPath(folder, kStagingFolder);
    try {
        Steps dropping;
        if (isFolder(staging)) removeFolder(staging, dropping);
    } catch (const LauncherError& error) {
        log.Post(L"Backup Folder Left For The Next Start", withReason(error));
    }
    return false;
}

} // namespace

void cullFolder(const Kind& kind, const std::wstring& exePath, SettingsStore& settings, qcLogging& log,
                const StepHook& afterStep)
{
    const std::wstring folder = calls::filePath(exePath, kProcedure) + kind.folder;
    try {
        recoverInterruptedRun(folder, log);
    } catch (const LauncherError& error) {
        // The backups stay where they are for the next start; culling now would mix them up.
        log.Post(L"Nothing Culled, An Interrupted Launch Could Not Be Completed", withReason(error));
        return;
    }
    if (!launch::readBooleanText(settings.KeyGet(kind.switchValue, L"0", L"", kAppsKey, kProcedure)).value_or(false))
        return;
    if (!exceedsThreshold(calls::dirSize(folder, kProcedure), kind)) return;
    const std::wstring keepList = settings.KeyGet(kind.keepValue, L"", L"", kAppsKey, kProcedure);
    if (keepList.empty()) return;
    if (!SetCurrentDirectoryW(folder.c_str())) fail(L"The folder could not be entered", folder);

    Steps steps(afterStep);
    if (!backedUp(folder, presentKeeps(folder, keepList, log), steps, log)) return;
    for (const wchar_t* pattern : kind.patterns) {
        // A full path: the shell must never have to resolve a bare pattern itself.
        calls::deleteMatching(folder + pattern, kPatternDeleteFlags, kProcedure);
        steps.done();
    }
    restoreKept(folder, steps, nullptr);
}

void cullCustomFolders(const std::wstring& exePath, SettingsStore& settings, qcLogging& log)
{
    cullFolder(taunts(), exePath, settings, log);
    cullFolder(logos(), exePath, settings, log);
}

} // namespace vantorel::culling

#include <windows.h>

#include <optional>
#include <vector>

#include "Culling.h"
#include "Handoffs.h"
#include "Initialization.h"
#include "LauncherError.h"
#include "LaunchRules.h"
#include "LibraryCalls.h"
#include "StartupRules.h"

namespace vantorel {
namespace {

constexpr wchar_t kProcedure[] = L"Main";

std::wstring appSetting(const wchar_t* value, const wchar_t* defaultData)
{
    return librarySettings().KeyGet(value, defaultData, L"", kAppsKey, kProcedure);
}

// A setting that becomes part of a path or command line, refused by name when it holds a NUL.
std::wstring nameSetting(const wchar_t* value)
{
    std::wstring text = appSetting(value, L"");
    if (text.find(L'\0') != std::wstring::npos)
        throw LauncherError(kInvalidArgument, std::wstring(L"The setting ") + value + L" holds a NUL character",
                            kProcedure);
    return text;
}

void enter(const std::wstring& folder)
{
    if (!SetCurrentDirectoryW(folder.c_str()))
        throwLastError(L"The game folder could not be entered: " + folder, kProcedure);
}

// Seeded with the time of day to the millisecond, so starts within one second differ.
double timeOfDayDraw()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const unsigned long msOfDay = ((now.wHour * 60UL + now.wMinute) * 60UL + now.wSecond) * 1000UL + now.wMilliseconds;
    return launch::drawUniform(msOfDay);
}

// One file is always passed; of several, one at random unless RandomizePilot is off.
const std::wstring* choosePilot(const std::vector<std::wstring>& pilots)
{
    if (pilots.size() == 1) return &pilots.front();
    if (!launch::readBooleanText(appSetting(L"RandomizePilot", L"1")).value_or(true)) return nullptr;
    return &pilots[launch::pilotIndex(timeOfDayDraw(), static_cast<int>(pilots.size()))];
}

std::optional<std::wstring> pilotName(const std::wstring* pilot)
{
    if (!pilot) return std::nullopt;
    return calls::fileTitle(calls::shortFileName(*pilot, kProcedure), false, kProcedure);
}

// Said before anything is culled: a game that is not there cannot be started.
void requireGameProgram(const std::wstring& exePath)
{
    const DWORD attributes = GetFileAttributesW(exePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw LauncherError(kFileNotFound, launch::gameNotFoundText(exePath), kProcedure);
}

void startGame(const std::wstring& exePath, const std::wstring& commandLine)
{
    try {
        calls::executeCommand(commandLine, kProcedure);
    } catch (const LauncherError& error) {
        throw LauncherError(error.hr(), launch::gameNotStartedText(exePath, error.description()), kProcedure);
    }
}

} // namespace

void LaunchGame()
{
    qcLogging& log = applicationLog();
    log.StartProc(L"LaunchGame");
    const std::wstring exePath = launch::withBackslashes(nameSetting(L"EXEPath"));
    const std::wstring parameters = launch::withLaunchMarker(nameSetting(L"Parameters"));
    if (exePath.empty()) {
        LoadOptionsDialog(false);
        log.StopProc(L"", L"Void");
        return;
    }
    requireGameProgram(exePath);
    const std::vector<std::wstring> pilots =
        calls::fileExtSearch(calls::filePath(exePath, kProcedure), L"plt", kProcedure);
    if (pilots.empty()) {
        log.Post(L"No Pilots found!", L"");
        MessageBoxW(nullptr, L"No Pilots found!", rules::kAppTitle, MB_OK);
        log.StopProc(L"", L"Void");
        return;
    }
    // The whole command line is known before culling, so one the system cannot take culls nothing.
    const std::wstring* pilot = choosePilot(pilots);
    const std::wstring commandLine = launch::gameCommandLine(exePath, pilotName(pilot), parameters);
    if (!launch::fitsCommandLine(commandLine))
        throw LauncherError(kInvalidArgument, launch::commandLineTooLongText(commandLine.size()), kProcedure);

    const std::wstring drive = launch::driveOf(exePath);
    if (!drive.empty()) SetCurrentDirectoryW(drive.c_str());
    culling::cullCustomFolders(exePath, librarySettings(), log);
    enter(calls::filePath(exePath, kProcedure));
    log.Post(L"Pilot", pilot ? *pilot : L"");
    log.Post(L"Command Line", commandLine);
    startGame(exePath, commandLine);
    log.StopProc(L"", L"Void");
}

} // namespace vantorel

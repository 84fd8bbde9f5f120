#include "Initialization.h"

#include <exception>
#include <memory>

#include "Handoffs.h"
#include "LauncherError.h"
#include "LibrarySlots.h"
#include "LoadedForms.h"
#include "Raii.h"
#include "SingleInstance.h"
#include "Splash.h"
#include "StartupRules.h"
#include "VersionInfo.h"

namespace vantorel {
namespace {

std::unique_ptr<qcLogging> g_log;
std::unique_ptr<qcolProperties> g_sysProperties;
std::unique_ptr<qcolProperties> g_appProperties;

struct SysSetting {
    const wchar_t* value;
    long baseKey;
    const wchar_t* defaultData;
};

// The shared settings in the order the options dialog and its readers expect them.
const SysSetting kSysSettings[] = {
    {L"ShowSplash", kSystemKey, L"1"},
    {L"WinAnimate", kSystemKey, L"1"},
    {L"AreaCode", kUserKey, L""},
    {L"NetworkPort", kSystemKey, L"401"},
    {L"IsDLLDebugging", kSystemKey, L"False"},
    {L"UserName", kUserKey, L""},
    {L"UserCompany", kUserKey, L""},
    {L"UserEMail", kUserKey, L""},
};

template <class T>
T& existing(const std::unique_ptr<T>& object, const wchar_t* name)
{
    if (!object) throw LauncherError(E_UNEXPECTED, std::wstring(name) + L" is not available", name);
    return *object;
}

raii::UniqueBstr text(const std::wstring& value) { return raii::makeBstr(value); }

void initCore(const AppIdentity& id)
{
    check(slots::core().InitCore(text(id.baseName).get(), text(id.title).get(), text(id.folder).get(), id.major,
                                 id.minor, id.revision),
          L"Main");
}

void createLog(const AppIdentity& id)
{
    logformat::Build build{id.fileDescription, id.baseName, id.major, id.minor, id.revision};
    g_log = std::make_unique<qcLogging>(LogIdentity{id.folder, id.commandLine, build}, librarySettings());
    // A debugger marks the development host: the trace then stays in memory.
    g_log->LogMode(IsDebuggerPresent() ? kLogMemory : kLogFile);
    if (g_log->LogMode() == kLogFile) g_log->LogPath(writableLogFolder(g_log->LogPath(), g_log->LogFile()));
    g_log->StartLog(L"Main");
}

void resetSettings(const AppIdentity& id)
{
    g_log->Post(L"Command Parameter '/SETUP' Detected.  Restoring Registry Settings...", L"");
    const std::optional<std::wstring> key = rules::applicationKey(id.baseName);
    if (!key)
        throw LauncherError(kInvalidArgument,
                            L"The program's file name could not be read, so its settings cannot be reset.", L"Main");
    VARIANT_BOOL ignored = VARIANT_FALSE;
    check(slots::registry().RegDeleteKey(qc::kCurrentUser, text(*key).get(), &ignored), L"Main");
}

std::wstring keyGet(const wchar_t* value, const wchar_t* defaultData, long baseKey)
{
    return librarySettings().KeyGet(value, defaultData, L"", baseKey, L"Main");
}

HRESULT showSplash(const AppIdentity& id)
{
    raii::ComPtr<ISplashScreen> splash;
    HRESULT hr = CoCreateInstance(CLSID_VantorelSplash, nullptr, CLSCTX_INPROC_SERVER, IID_ISplashScreen,
                                  splash.putVoid());
    if (SUCCEEDED(hr))
        hr = splash->Setup(text(id.baseName).get(), text(id.title).get(), text(id.folder).get(), id.major, id.minor,
                           id.revision, 401);
    if (SUCCEEDED(hr)) hr = splash->SplashSwitch(1);
    if (SUCCEEDED(hr)) hr = splash->Show();
    Sleep(0);
    return hr;
}

// The splash is a courtesy: without it (no display, no component) start-up goes on, and the log says why.
void offerSplash(const AppIdentity& id)
{
    HRESULT hr = showSplash(id);
    if (FAILED(hr)) g_log->Post(L"Splash Screen Unavailable", hresultText(hr));
}

bool setAppPathValue(const AppIdentity& id, const wchar_t* value, const std::wstring& data)
{
    VARIANT_BOOL result = VARIANT_FALSE;
    check(slots::registry().RegKeySetString(qc::kLocalMachine, text(rules::appPathKey(id.baseName)).get(),
                                            text(value).get(), text(data).get(), &result),
          L"Main");
    return result != VARIANT_FALSE;
}

void firstRun(const AppIdentity& id)
{
    if (rules::registersAppPath(id.baseName)) {
        bool pathA = setAppPathValue(id, L"{Default}", rules::appPathData(id.folder, id.baseName));
        g_log->Post(L"Insert Application Path Info A", rules::numberText(pathA));
        bool pathB = setAppPathValue(id, L"Path", id.folder);
        g_log->Post(L"Insert Application Path Info B", rules::numberText(pathB));
    }
    LoadOptionsDialog(false);
    ShowWelcome(id.folder);
}

// A failure before the log was started (the library itself missing, say)
// still leaves a log with what is known without the library.
void startLogForError()
{
    try {
        createLog(currentIdentity());
    } catch (const std::exception&) {
        g_log.reset();
    } catch (const LauncherError&) {
        g_log.reset();
    }
}

void reportFatal(const LauncherError& error)
{
    if (!g_log) startLogForError();
    if (g_log) {
        g_log->Post(L"Error " + hresultText(error.hr()) + L" in " + error.procedure(), error.description());
        try {
            g_log->StopLog();
        } catch (const LauncherError&) {
            // The log number could not advance; the error being shown is the one that matters.
        }
    }
    MessageBoxW(nullptr, error.description().c_str(), rules::kAppTitle, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

} // namespace

AppIdentity currentIdentity()
{
    const std::wstring path = runningProgramPath();
    const ProgramVersion version = readProgramVersion(path);
    return {rules::baseNameOf(path), rules::kAppTitle, rules::folderOf(path), version.major, version.minor,
            version.revision, version.fileDescription, rules::argumentsOf(GetCommandLineW())};
}

qcLogging& applicationLog() { return existing(g_log, L"Application log"); }
qcolProperties& SysProperties() { return existing(g_sysProperties, L"SysProperties"); }
qcolProperties& AppProperties() { return existing(g_appProperties, L"AppProperties"); }

void GetSysINI()
{
    g_sysProperties = std::make_unique<qcolProperties>(librarySettings());
    for (const SysSetting& setting : kSysSettings) {
        auto record = std::make_shared<qcProperty>();
        record->BaseKey(setting.baseKey);
        record->Value(setting.value);
        record->DefaultData(setting.defaultData);
        record->Data(librarySettings().KeyGet(setting.value, setting.defaultData, L"", setting.baseKey, L"GetSysINI"));
        g_sysProperties->Add(record, setting.value);
    }
}

void Main()
{
    const AppIdentity id = currentIdentity();
    initCore(id);
    createLog(id);
    if (rules::requestsReset(id.commandLine)) resetSettings(id);
    GetSysINI();
    g_appProperties = std::make_unique<qcolProperties>(librarySettings());
    if (!id.commandLine.empty() && rules::requestsOptions(id.commandLine)) {
        LoadOptionsDialog(true);
    } else {
        if (rules::showsSplash(keyGet(L"ShowSplash", L"1", kSystemKey))) offerSplash(id);
        if (rules::isFirstRun(keyGet(L"RunOnce", L"False", kAppsKey)))
            firstRun(id);
        else
            LaunchGame();
    }
    g_log->StopProc(L"", L"Void");
}

void ShutDown()
{
    if (g_log) g_log->StopLog();
    forms::unloadAll();
    g_log.reset();
    for (auto* collection : {&g_sysProperties, &g_appProperties}) {
        if (!*collection) continue;
        std::unique_ptr<qcolProperties> released = std::move(*collection);
        released->Release();
    }
}

int runLauncher()
{
    const SingleInstance instance;
    if (!instance.first()) {
        bringRunningInstanceForward();
        return 0;
    }
    raii::ComScope com;
    if (FAILED(com.result())) {
        MessageBoxW(nullptr, (L"COM could not be started: " + hresultText(com.result())).c_str(), rules::kAppTitle,
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    // Without the class the splash is simply unavailable, which start-up logs.
    registerSplashClass();
    int exitCode = 0;
    try {
        Main();
        forms::runMessageLoop();
        ShutDown();
    } catch (const LauncherError& error) {
        reportFatal(error);
        exitCode = 1;
    } catch (const std::exception& error) {
        const std::string what = error.what();
        reportFatal(LauncherError(E_FAIL, std::wstring(what.begin(), what.end()), L"Main"));
        exitCode = 1;
    }
    try {
        ShutDown();
    } catch (const LauncherError&) {
        // Only reached after a failure was reported: the rest is let go without a second box.
        exitCode = 1;
    }
    g_sysProperties.reset();
    g_appProperties.reset();
    slots::releaseLibraries();
    revokeSplashClass();
    return exitCode;
}

} // namespace vantorel

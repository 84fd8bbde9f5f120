#include "OptionsModel.h"

#include "CullingRules.h"
#include "LaunchRules.h"
#include "OptionsRules.h"
#include "StartupRules.h"

namespace vantorel::options {
namespace {

constexpr wchar_t kLoad[] = L"Options:Form_Load";
constexpr wchar_t kStore[] = L"Options:Command_Click";

std::wstring appValue(SettingsStore& store, const wchar_t* value, const wchar_t* defaultData)
{
    return store.KeyGet(value, defaultData, L"", kAppsKey, kLoad);
}

void setAppValue(SettingsStore& store, const wchar_t* value, const std::wstring& data)
{
    store.KeySet(value, data, L"", kAppsKey, kStore);
}

const wchar_t* flagText(bool on) { return on ? L"1" : L"0"; }

KeepList loadKeepList(SettingsStore& store, const wchar_t* clearValue, const wchar_t* keepValue)
{
    KeepList list;
    list.clear = switchShows(appValue(store, clearValue, L"0"), false);
    const std::wstring stored = appValue(store, keepValue, L"");
    if (!stored.empty()) list.kept = culling::splitKeepList(stored);
    return list;
}

bool settingSaysTrue(const qcolProperties& settings, const wchar_t* name)
{
    return launch::readBooleanText(settings.Item(std::wstring(name))->Data()).value_or(false);
}

} // namespace

Values load(SettingsStore& store, const qcolProperties& settings)
{
    auto data = [&](const wchar_t* name) { return settings.Item(std::wstring(name))->Data(); };
    Values values;
    values.randomizePilot = switchShows(appValue(store, L"RandomizePilot", L"1"), true);
    values.exePath = appValue(store, L"EXEPath", L"");
    values.parameters = appValue(store, L"Parameters", L"");
    values.taunts = loadKeepList(store, L"ClearTaunts", L"KeepTaunts");
    values.logos = loadKeepList(store, L"ClearLogos", L"KeepLogos");
    SystemControls& system = values.system;
    system.sysCheckBox[0] = rules::showsSplash(data(L"ShowSplash")) ? 1 : 0;
    system.sysCheckBox[1] = settingSaysTrue(settings, L"WinAnimate") ? 1 : 0;
    system.sysCheckBox[2] = settingSaysTrue(settings, L"IsDLLDebugging") ? 1 : 0;
    system.sysBox[0] = data(L"AreaCode");
    system.sysBox[1] = data(L"NetworkPort");
    system.userBox[1] = trimBlanks(data(L"UserName"));
    system.userBox[2] = trimBlanks(data(L"UserCompany"));
    system.userBox[3] = trimBlanks(data(L"UserEMail"));
    return values;
}

std::wstring storedExePath(SettingsStore& store, const wchar_t* procedure)
{
    return store.KeyGet(L"EXEPath", L"", L"", kAppsKey, procedure);
}

void store(const Values& values, SettingsStore& store, qcolProperties& settings, qcLogging& log)
{
    setAppValue(store, L"RandomizePilot", flagText(values.randomizePilot));
    setAppValue(store, L"EXEPath", values.exePath);
    setAppValue(store, L"Parameters", values.parameters);
    setAppValue(store, L"ClearTaunts", flagText(values.taunts.clear));
    setAppValue(store, L"ClearLogos", flagText(values.logos.clear));
    setAppValue(store, L"KeepTaunts", joinKeepList(values.taunts.kept));
    setAppValue(store, L"KeepLogos", joinKeepList(values.logos.kept));
    copySystemControls(values.system, settings, log);
    setAppValue(store, L"RunOnce", L"True");
}

} // namespace vantorel::options

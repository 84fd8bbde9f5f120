// What the options dialog shows and stores, apart from its window: the
// launcher's own values through the settings store, the shared system and
// user settings through their collection.
#pragma once

#include <string>
#include <vector>

#include "Logging.h"
#include "Properties.h"
#include "SettingsStore.h"
#include "SystemSettings.h"

namespace vantorel::options {

struct KeepList {
    bool clear = false;
    std::vector<std::wstring> kept;
};

struct Values {
    bool randomizePilot = true;
    std::wstring exePath;
    std::wstring parameters;
    KeepList taunts;
    KeepList logos;
    SystemControls system;
};

// A failed read throws LauncherError for Options:Form_Load.
Values load(SettingsStore& store, const qcolProperties& settings);

// The stored game executable, where the keep lists' file dialogs start (not the one being edited).
std::wstring storedExePath(SettingsStore& store, const wchar_t* procedure);

// The launcher's values, then the shared ones into settings (logged as
// Options:SetSysINI, written with the collection's next save), then RunOnce.
void store(const Values& values, SettingsStore& store, qcolProperties& settings, qcLogging& log);

} // namespace vantorel::options

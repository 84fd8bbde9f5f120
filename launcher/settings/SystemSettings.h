// The shared system and user settings as the options dialog edits them.
#pragma once

#include <string>

#include "Logging.h"
#include "Properties.h"

namespace vantorel {

// What the options dialog stores as SetSysINI: the three system check boxes (1 ticked,
// 0 clear, 2 greyed), SysBox(0..1) and UserBox(1..3) (index 0 unused).
struct SystemControls {
    int sysCheckBox[3] = {0, 0, 0};
    std::wstring sysBox[2];
    std::wstring userBox[4];
};

// Copies the controls into the settings collection (written to the registry with
// its next save) and logs each value, as Options:SetSysINI.
void copySystemControls(const SystemControls& controls, qcolProperties& settings, qcLogging& log);

// Text without the blanks before and after it (spaces only, as the settings are trimmed).
std::wstring trimBlanks(const std::wstring& text);

} // namespace vantorel

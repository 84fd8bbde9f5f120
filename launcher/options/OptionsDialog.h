// frmOptions, "D3 Launcher Options": the launcher's settings window with the
// launch settings, the shared system settings and the user's details on three
// tabs. Loading it shows it; it lives until Cancel, OK or ShutDown unloads it.
#pragma once

#include <windows.h>

namespace vantorel {

// Loads (and so shows) the dialog, filled from the registry and SysProperties;
// a loaded dialog is brought to the front instead.
void loadOptionsDialog();

// When true, OK ends the launcher instead of only closing the loaded dialog.
void setExitOnComplete(bool vState);

constexpr wchar_t kOptionsCaption[] = L"D3 Launcher Options";
constexpr wchar_t kOptionsWindowClass[] = L"VantorelOptions";

// Control identifiers, for the keyboard and for tests that drive the window.
enum OptionsControl : int {
    kCmdOK = IDOK, kCmdCancel = IDCANCEL, kCmdApply = 3,
    kTabBox = 100, kLogo, kChkRandomize, kTxtMainExe, kCmdMainExe, kTxtParameters, kLstParameters,
    kTxtDescription, kChkClearTaunts, kLstTaunts, kCmdKeepTaunts, kChkClearLogos, kLstLogos, kCmdKeepLogos,
    kSysCheckBox0 = 130, kSysCheckBox1, kSysCheckBox2,
    kSysBox0 = 140, kSysBox1,
    kUserBox1 = 151, kUserBox2, kUserBox3,
    kFirstLabel = 200,
};

} // namespace vantorel

// The records the launcher hands to the system or reads from its notifications,
// checked against the platform's layout (see Layout.h).
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include "Layout.h"

// The common file dialog (the full record, with FlagsEx).
LAYOUT_SIZE(OPENFILENAMEW, 88, 152);
LAYOUT_OFFSET(OPENFILENAMEW, hwndOwner, 4, 8);
LAYOUT_OFFSET(OPENFILENAMEW, lpstrFilter, 12, 24);
LAYOUT_OFFSET(OPENFILENAMEW, nFilterIndex, 24, 44);
LAYOUT_OFFSET(OPENFILENAMEW, lpstrFile, 28, 48);
LAYOUT_OFFSET(OPENFILENAMEW, nMaxFile, 32, 56);
LAYOUT_OFFSET(OPENFILENAMEW, lpstrFileTitle, 36, 64);
LAYOUT_OFFSET(OPENFILENAMEW, nMaxFileTitle, 40, 72);
LAYOUT_OFFSET(OPENFILENAMEW, lpstrInitialDir, 44, 80);
LAYOUT_OFFSET(OPENFILENAMEW, lpstrTitle, 48, 88);
LAYOUT_OFFSET(OPENFILENAMEW, Flags, 52, 96);
LAYOUT_OFFSET(OPENFILENAMEW, lpstrDefExt, 60, 104);
LAYOUT_OFFSET(OPENFILENAMEW, FlagsEx, 84, 148);

// Notifications the options dialog reads.
LAYOUT_SIZE(NMHDR, 12, 24);
LAYOUT_OFFSET(NMHDR, idFrom, 4, 8);
LAYOUT_OFFSET(NMHDR, code, 8, 16);
LAYOUT_SIZE(NMCUSTOMDRAW, 48, 80);
LAYOUT_OFFSET(NMCUSTOMDRAW, dwDrawStage, 12, 24);
LAYOUT_OFFSET(NMCUSTOMDRAW, hdc, 16, 32);
LAYOUT_OFFSET(NMCUSTOMDRAW, rc, 20, 40);
LAYOUT_OFFSET(NMCUSTOMDRAW, dwItemSpec, 36, 56);
LAYOUT_OFFSET(NMCUSTOMDRAW, uItemState, 40, 64);

// Tool tips (the version 6 record: the manifest asks for those controls) and tabs.
LAYOUT_SIZE(TOOLINFOW, 48, 72);
LAYOUT_OFFSET(TOOLINFOW, uFlags, 4, 4);
LAYOUT_OFFSET(TOOLINFOW, hwnd, 8, 8);
LAYOUT_OFFSET(TOOLINFOW, uId, 12, 16);
LAYOUT_OFFSET(TOOLINFOW, lpszText, 36, 48);
LAYOUT_SIZE(TCITEMW, 28, 40);
LAYOUT_OFFSET(TCITEMW, pszText, 12, 16);
LAYOUT_OFFSET(TCITEMW, lParam, 24, 32);
LAYOUT_SIZE(INITCOMMONCONTROLSEX, 8, 8);

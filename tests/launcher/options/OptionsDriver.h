// Drives the options dialog of a running Vantorel.exe as a user would: texts typed with window messages, buttons
// clicked, tabs switched. Plain Win32, so the picture tool drives the dialog the same way.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "OptionsDialog.h"

namespace options_testing {

using namespace vantorel;

inline LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result);
    return static_cast<LRESULT>(result);
}

// The dialog as another program sees it. Every call but clickLater returns once the dialog has handled it.
class Dialog {
public:
    explicit Dialog(HWND window) : window_(window) {}
    HWND window() const { return window_; }
    HWND item(int id) const { return GetDlgItem(window_, id); }
    bool open() const { return IsWindow(window_) && IsWindowVisible(window_); }

    std::wstring text(int id) const
    {
        wchar_t buffer[2048] = {};
        send(item(id), WM_GETTEXT, ARRAYSIZE(buffer), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    bool ticked(int id) const { return send(item(id), BM_GETCHECK) == BST_CHECKED; }
    bool enabled(int id) const { return IsWindowEnabled(item(id)) != FALSE; }
    void type(int id, const std::wstring& value) const
    {
        send(item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
    }
    void click(int id) const { send(item(id), BM_CLICK); }
    // For a click that opens a window of its own.
    void clickLater(int id) const { PostMessageW(item(id), BM_CLICK, 0, 0); }
    // The tab strip tells the dialog of the change before it answers.
    void showTab(int index) const { send(item(kTabBox), TCM_SETCURFOCUS, static_cast<WPARAM>(index)); }
    void select(int id, int row) const { send(item(id), LB_SETCURSEL, static_cast<WPARAM>(row)); }
    std::vector<std::wstring> entries(int id) const
    {
        std::vector<std::wstring> result;
        const LRESULT count = send(item(id), LB_GETCOUNT);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t buffer[512] = {};
            send(item(id), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
            result.push_back(buffer);
        }
        return result;
    }
    void key(int id, WPARAM virtualKey) const
    {
        send(item(id), WM_KEYDOWN, virtualKey, 1);
        send(item(id), WM_KEYUP, virtualKey, 0xC0000001);
    }
    // The pointer goes there too: a list tracking the mouse follows the real one.
    void doubleClickFirstRow(int id) const
    {
        pointAt(item(id), 4, 4);
        send(item(id), LB_SETTOPINDEX, 0);
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
            send(item(id), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(4, 4));
    }
    // Moves the real pointer over a control; returns once the dialog has seen the move.
    void pointAt(HWND control, int x, int y) const
    {
        POINT point{x, y};
        ClientToScreen(control, &point);
        SetCursorPos(point.x, point.y);
        Sleep(50); // the move reaches the dialog's queue as input, not as a message that can be waited on
        send(window_, WM_NULL);
    }
    // Apply is disabled last in loading; the launcher's loop answers once the load has returned.
    bool loaded(DWORD timeoutMs = 20000) const
    {
        for (ULONGLONG end = GetTickCount64() + timeoutMs; enabled(kCmdApply); Sleep(20))
            if (GetTickCount64() > end) return false;
        send(window_, WM_NULL);
        return true;
    }

private:
    HWND window_;
};

} // namespace options_testing

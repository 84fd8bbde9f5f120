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
    // What a control tells the dialog when the player uses it (a list's selection change or double-click).
    void notify(int id, WORD code) const
    {
        send(window_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(item(id)));
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

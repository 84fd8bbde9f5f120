// Drives the options dialog of a running Vantorel.exe as a user would: found by
// its caption, texts typed with window messages, buttons clicked, tabs switched.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "LauncherInstall.h"
#include "OptionsDialog.h"
#include "TestSupport.h"
#include "WindowPicture.h"

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
    // For a click that opens a dialog of its own.
    void clickLater(int id) const { PostMessageW(item(id), BM_CLICK, 0, 0); }
    // The tab strip tells the dialog of the change before it answers.
    void showTab(int index) const { send(item(kTabBox), TCM_SETCURFOCUS, static_cast<WPARAM>(index)); }
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
        const LPARAM at = MAKELPARAM(4, 4);
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
            send(item(id), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
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

private:
    HWND window_;
};

// Apply is disabled last in loading; the launcher's loop answers once the load has returned.
inline void waitUntilLoaded(const Dialog& dialog)
{
    testing_support::waitFor([&] { return !dialog.enabled(kCmdApply); });
    send(dialog.window(), WM_NULL);
}

using Scenario = std::function<void(const Dialog&)>;

// Runs the launcher; the scenario plays the user once the dialog has loaded, and must close it.
// Any other dialog (a message box) is answered with OK.
inline testing_support::RunOutcome runWithDialog(const testing_support::LauncherInstall& install,
                                                 const std::wstring& arguments, const Scenario& scenario)
{
    std::atomic<bool> played{false};
    return install.run(arguments, [&](const testing_support::SeenWindow& window) {
        if (window.title == kOptionsCaption && !played.exchange(true)) {
            const Dialog dialog(window.handle);
            waitUntilLoaded(dialog);
            scenario(dialog);
        } else if (window.className == testing_support::kWelcomeWindowClass) {
            testing_support::closeDialogs(window);
        } else if (window.className == L"#32770" && window.title != L"Choose Logos To Save" &&
                   window.title != L"Choose Taunts To Save" && window.title != L"Locate MAIN.EXE") {
            PostMessageW(window.handle, WM_COMMAND, IDOK, 0);
        }
    });
}

// How many pure white pixels a check box shows in its caption (right of its white box).
inline int whitePixels(HWND window)
{
    SIZE size{};
    std::vector<BYTE> pixels;
    if (FAILED(testing_support::windowPixels(window, size, pixels))) return -1;
    int count = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 20; x < size.cx; ++x) {
            const BYTE* pixel = &pixels[(size_t(y) * size.cx + x) * 4];
            count += pixel[0] == 0xFF && pixel[1] == 0xFF && pixel[2] == 0xFF;
        }
    return count;
}

} // namespace options_testing

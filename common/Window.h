// A dialog-like window built from a control table, for both programs.
// Positions are twips, turned into pixels by the window's own DPI and laid out
// again when the DPI changes. The window class belongs to the module this code
// is linked into (Quillon.dll or Vantorel.exe); a library unregisters its
// classes before it unloads. Tab, Enter and Esc work when the thread's message
// loop passes messages through handleDialogKeys.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Raii.h"

namespace ui {

enum class Kind {
    Label,         // static text
    Text,          // one-line edit box
    MultiLineText, // edit box of several lines with a vertical scroll bar
    Button,
    DefaultButton, // answers Enter
    CheckBox,
    Group,         // a frame with a caption around other controls
    List,
    Combo,         // drop-down list
    Etched,        // a sunken frame, decoration only
    Tabs,          // a tab strip; the window shows and hides the controls of each tab
    Picture,       // a button showing a bitmap (BM_SETIMAGE)
};

struct Control {
    int id;
    Kind kind;
    const wchar_t* caption;
    int left, top, width, height; // twips in the client area
    DWORD style;                  // added to the kind's own styles (e.g. ES_READONLY)
    int tabOrder;                 // 1, 2, ...: reached by Tab in that order; 0: never
};

// The texts are read by create() only.
struct Frame {
    const wchar_t* className;
    const wchar_t* title;
    DWORD style;
    DWORD exStyle;
    int width, height;            // twips of the outer rectangle
    int background = COLOR_BTNFACE;
};

// The module the calling code is linked into.
HMODULE thisModule();

// A window's caption or a control's text.
std::wstring windowText(HWND window);
// Unregisters every window class this module registered; windows of them must be gone.
void unregisterClasses();

// Gives Tab, Enter and Esc to the table-built window the message belongs to;
// true when the message was used and must not be dispatched.
bool handleDialogKeys(MSG& message);

class Window {
public:
    Window(const Frame& frame, std::vector<Control> controls);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window hidden at (x, y) in pixels, sized and laid out for its DPI.
    HRESULT create(HWND owner = nullptr, int x = 0, int y = 0);
    HWND handle() const { return window_; }
    HWND control(int id) const { return window_ ? GetDlgItem(window_, id) : nullptr; }
    UINT dpi() const { return dpi_; }
    int pixels(int twips) const;
    int twips(int pixels) const;
    HFONT font() const { return font_.get(); }

    // Moves a control (twips); the place is kept for later re-layout.
    void place(int id, int left, int top, int width, int height);
    void show(int command = SW_SHOW) { ShowWindow(window_, command); }
    void destroy();

    // The table-built window behind a handle, or null.
    static Window* from(HWND window);

    // A bitmap over the client area, painted on every WM_PAINT before onPaint:
    // what is drawn on it survives repaints. Grows with the window.
    HDC canvas();

protected:
    virtual void onCreate() {}
    virtual void onCommand(int /*id*/, int /*notification*/) {}
    // Return false to keep the window open.
    virtual bool onClose() { return true; }
    virtual void onDestroy() {}
    // Return true when painted.
    virtual bool onPaint(HDC /*dc*/, const RECT& /*client*/) { return false; }
    virtual bool onTimer(UINT_PTR /*id*/) { return false; }
    // Any other message; the default is the window manager's handling.
    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // After the window is gone (not when create() fails); a window that owns itself deletes itself here.
    virtual void onFinalDestroy() {}

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    HRESULT createControls();
    void layout();
    void changeDpi(UINT dpi, const RECT* suggested);
    LRESULT paint();
    int defaultButton() const;
    void dropCanvas();

    Frame frame_;
    std::vector<Control> controls_;
    HWND window_ = nullptr;
    bool creating_ = false;
    UINT dpi_ = 96;
    raii::UniqueFont font_;
    HDC canvasDc_ = nullptr;
    HBITMAP canvasBitmap_ = nullptr;
    HGDIOBJ canvasPrevious_ = nullptr;
    SIZE canvasSize_{};
};

} // namespace ui

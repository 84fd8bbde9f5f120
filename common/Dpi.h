// Twips and pixels. Positions in the product's tables and form objects are in
// twips (1440 per inch); a window turns them into pixels by its own DPI, so it
// keeps its size on a scaled or per-monitor-scaled screen.
#pragma once

#include <windows.h>

namespace ui {

constexpr int kTwipsPerInch = 1440;
constexpr UINT kDefaultDpi = 96;

// Rounded to the nearest whole unit, halves away from zero.
int twipsToPixels(int twips, UINT dpi);
int pixelsToTwips(int pixels, UINT dpi);

// The DPI a window is drawn at: its monitor's for a per-monitor aware window
// on a system that knows monitors' DPIs, else the screen's.
UINT windowDpi(HWND window);
UINT screenDpi();

// Makes the calling thread per-monitor aware (version 2 where offered) for the
// life of the scope, so a window the library creates in an unaware host
// process still lays itself out by its real DPI. Does nothing on older systems.
class PerMonitorScope {
public:
    PerMonitorScope();
    ~PerMonitorScope();
    PerMonitorScope(const PerMonitorScope&) = delete;
    PerMonitorScope& operator=(const PerMonitorScope&) = delete;

private:
    void* previous_ = nullptr;
};

// The system's message font at a DPI (Tahoma-like dialog font when it cannot be read).
HFONT createMessageFont(UINT dpi);

} // namespace ui

#include "Dpi.h"

#include <cstdlib>

namespace ui {
namespace {

// Entry points of newer systems, looked up once; null where absent.
template <class Function>
Function user32Entry(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SetThreadDpiAwarenessContextFn = void*(WINAPI*)(void*);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

int scaled(int value, int numerator, int denominator)
{
    if (denominator <= 0) return value;
    long long product = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE.
void* const kPerMonitorV2 = reinterpret_cast<void*>(static_cast<INT_PTR>(-4));
void* const kPerMonitor = reinterpret_cast<void*>(static_cast<INT_PTR>(-3));

} // namespace

// A DPI of 0 (unknown) counts as the default one.
int twipsToPixels(int twips, UINT dpi)
{
    return scaled(twips, static_cast<int>(dpi ? dpi : kDefaultDpi), kTwipsPerInch);
}

int pixelsToTwips(int pixels, UINT dpi)
{
    return scaled(pixels, kTwipsPerInch, static_cast<int>(dpi ? dpi : kDefaultDpi));
}

UINT screenDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT windowDpi(HWND window)
{
    static const auto getDpiForWindow = user32Entry<GetDpiForWindowFn>("GetDpiForWindow");
    UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi ? dpi : screenDpi();
}

PerMonitorScope::PerMonitorScope()
{
    static const auto setContext = user32Entry<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext");
    if (!setContext) return;
    previous_ = setContext(kPerMonitorV2);
    if (!previous_) previous_ = setContext(kPerMonitor);
}

PerMonitorScope::~PerMonitorScope()
{
    static const auto setContext = user32Entry<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext");
    if (setContext && previous_) setContext(previous_);
}

HFONT createMessageFont(UINT dpi)
{
    static const auto forDpi = user32Entry<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    LOGFONTW font{};
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        font = metrics.lfMessageFont;
    } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        font = metrics.lfMessageFont;
        font.lfHeight = scaled(font.lfHeight, static_cast<int>(dpi), static_cast<int>(screenDpi()));
    } else {
        font.lfHeight = -scaled(8, static_cast<int>(dpi), 72);
        font.lfWeight = FW_NORMAL;
        lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
    }
    return CreateFontIndirectW(&font);
}

} // namespace ui

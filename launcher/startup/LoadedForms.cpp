#include "LoadedForms.h"

#include <algorithm>
#include <vector>

#include "Window.h"

namespace vantorel::forms {
namespace {

std::vector<HWND> g_windows;
bool g_looping = false;

} // namespace

void loaded(HWND window)
{
    if (window && std::find(g_windows.begin(), g_windows.end(), window) == g_windows.end()) g_windows.push_back(window);
}

void unloaded(HWND window)
{
    g_windows.erase(std::remove(g_windows.begin(), g_windows.end(), window), g_windows.end());
    // Only the launcher's own loop may be ended: a quit message posted while a
    // message box runs its loop would close that box instead.
    if (g_windows.empty() && g_looping) PostQuitMessage(0);
}

size_t loadedCount() { return g_windows.size(); }

void unloadAll()
{
    for (HWND window : std::vector<HWND>(g_windows)) DestroyWindow(window);
    g_windows.clear();
}

void runMessageLoop()
{
    if (g_windows.empty()) return;
    g_looping = true;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (ui::handleDialogKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    g_looping = false;
}

} // namespace vantorel::forms

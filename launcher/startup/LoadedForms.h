// The launcher's loaded windows. The process lives while one is loaded: the
// message loop ends when the last one goes.
#pragma once

#include <windows.h>

namespace vantorel::forms {

void loaded(HWND window);
void unloaded(HWND window);
size_t loadedCount();

// Destroys every loaded window, in the order they were loaded.
void unloadAll();

// Pumps messages until no launcher window is loaded; returns at once when none is.
void runMessageLoop();

} // namespace vantorel::forms

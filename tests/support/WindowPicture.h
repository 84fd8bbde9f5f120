// A window's pixels as the screen shows them (Xvfb has no window manager to
// draw frames, so a window of this process is read from its own DC).
#pragma once

#include <windows.h>

#include <vector>

namespace testing_support {

// The window's pixels, top row first, 32 bits each (blue, green, red, 255).
HRESULT windowPixels(HWND window, SIZE& size, std::vector<BYTE>& pixels);

} // namespace testing_support

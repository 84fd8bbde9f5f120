// A window's own pixels saved as a PNG file (Xvfb has no window manager to
// draw frames, so the window paints itself into the picture).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

HRESULT saveWindowPicture(HWND window, const std::wstring& pngPath);

// The window's pixels, top row first, 32 bits each (blue, green, red, 255).
HRESULT windowPixels(HWND window, SIZE& size, std::vector<BYTE>& pixels);

// The folder named by QUILLON_PICTURES (with a trailing backslash), or "" when pictures are not wanted.
std::wstring picturesFolder();

} // namespace testing_support

// A window's own pixels saved as a PNG file (Xvfb has no window manager to
// draw frames, so the window paints itself into the picture).
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

HRESULT saveWindowPicture(HWND window, const std::wstring& pngPath);

// The folder named by QUILLON_PICTURES (with a trailing backslash), or "" when pictures are not wanted.
std::wstring picturesFolder();

} // namespace testing_support

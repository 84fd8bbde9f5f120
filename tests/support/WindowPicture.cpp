#include "WindowPicture.h"

#include "Raii.h"

namespace testing_support {

HRESULT windowPixels(HWND window, SIZE& size, std::vector<BYTE>& pixels)
{
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return E_INVALIDARG;
    size = {rect.right - rect.left, rect.bottom - rect.top};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    raii::WindowDC screen(nullptr);
    raii::UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    raii::UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory) return E_FAIL;
    raii::Selection selected(memory.get(), bitmap.get());
    // The window's DC holds what it and its children painted (Wine's PrintWindow leaves the children out);
    // another program's window is read from the screen, where it must be uncovered.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    const bool own = process == GetCurrentProcessId();
    raii::WindowDC source(own ? window : nullptr);
    BitBlt(memory.get(), 0, 0, size.cx, size.cy, source.get(), own ? 0 : rect.left, own ? 0 : rect.top, SRCCOPY);
    GdiFlush();
    const BYTE* start = static_cast<const BYTE*>(bits);
    pixels.assign(start, start + size_t(size.cx) * size_t(size.cy) * 4);
    for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0xFF;
    return S_OK;
}

} // namespace testing_support

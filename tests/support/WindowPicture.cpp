#include "WindowPicture.h"

#include <wincodec.h>

#include "Raii.h"

namespace testing_support {
namespace {

#define RETURN_IF_FAILED(expression)          \
    do {                                       \
        const HRESULT hr_ = (expression);      \
        if (FAILED(hr_)) return hr_;           \
    } while (0)

HRESULT capture(HWND window, const RECT& rect, int width, int height, std::vector<BYTE>& pixels)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
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
    BitBlt(memory.get(), 0, 0, width, height, source.get(), own ? 0 : rect.left, own ? 0 : rect.top, SRCCOPY);
    GdiFlush();
    const BYTE* start = static_cast<const BYTE*>(bits);
    pixels.assign(start, start + size_t(width) * size_t(height) * 4);
    for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0xFF;
    return S_OK;
}

} // namespace

HRESULT windowPixels(HWND window, SIZE& size, std::vector<BYTE>& pixels)
{
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return E_INVALIDARG;
    size = {rect.right - rect.left, rect.bottom - rect.top};
    return capture(window, rect, size.cx, size.cy, pixels);
}

HRESULT saveWindowPicture(HWND window, const std::wstring& pngPath)
{
    SIZE size{};
    std::vector<BYTE> pixels;
    RETURN_IF_FAILED(windowPixels(window, size, pixels));
    raii::ComScope com; // callable from any thread

    raii::ComPtr<IWICImagingFactory> factory;
    RETURN_IF_FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      factory.putVoid()));
    raii::ComPtr<IWICStream> stream;
    RETURN_IF_FAILED(factory->CreateStream(stream.put()));
    RETURN_IF_FAILED(stream->InitializeFromFilename(pngPath.c_str(), GENERIC_WRITE));
    raii::ComPtr<IWICBitmapEncoder> encoder;
    RETURN_IF_FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()));
    RETURN_IF_FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache));
    raii::ComPtr<IWICBitmapFrameEncode> frame;
    RETURN_IF_FAILED(encoder->CreateNewFrame(frame.put(), nullptr));
    RETURN_IF_FAILED(frame->Initialize(nullptr));
    RETURN_IF_FAILED(frame->SetSize(size.cx, size.cy));
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    RETURN_IF_FAILED(frame->SetPixelFormat(&format));
    RETURN_IF_FAILED(frame->WritePixels(size.cy, size.cx * 4, static_cast<UINT>(pixels.size()), pixels.data()));
    RETURN_IF_FAILED(frame->Commit());
    return encoder->Commit();
}

std::wstring picturesFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"QUILLON_PICTURES", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::wstring result(folder, length);
    if (result.back() != L'\\' && result.back() != L'/') result += L'\\';
    return result;
}

} // namespace testing_support

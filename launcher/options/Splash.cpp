#include "Splash.h"

#include <new>
#include <string>

#include "LoadedForms.h"
#include "Raii.h"
#include "Window.h"

namespace vantorel {

// {7D8BB1B2-B914-46A2-80EB-46B16062EFA3}
const CLSID CLSID_VantorelSplash = {0x7d8bb1b2, 0xb914, 0x46a2, {0x80, 0xeb, 0x46, 0xb1, 0x60, 0x62, 0xef, 0xa3}};
// {19F5B178-FCE3-4356-A235-6EAC403177FF}
const IID IID_ISplashScreen = {0x19f5b178, 0xfce3, 0x4356, {0xa2, 0x35, 0x6e, 0xac, 0x40, 0x31, 0x77, 0xff}};

namespace {

struct Look {
    COLORREF background;
    COLORREF title;
    COLORREF text;
};

const Look kLooks[5] = {
    {RGB(0, 32, 96), RGB(255, 204, 0), RGB(255, 255, 255)},
    {RGB(0, 0, 0), RGB(220, 40, 40), RGB(200, 200, 200)},
    {RGB(240, 240, 232), RGB(0, 64, 128), RGB(32, 32, 32)},
    {RGB(16, 64, 32), RGB(160, 255, 160), RGB(230, 230, 230)},
    {RGB(64, 64, 72), RGB(255, 140, 0), RGB(240, 240, 240)},
};

// The splash's size and drawing, in twips (420 by 220 pixels at 96 DPI).
constexpr int kWidth = 6300;
constexpr int kHeight = 3300;
constexpr UINT_PTR kCloseTimer = 1;

struct SplashContent {
    std::wstring title;
    std::wstring version;
    int look = 0;
    bool startup = true;
};

// The window owns itself and its content; it lives on after the component is released.
class SplashWindow final : public ui::Window {
public:
    static HRESULT open(const SplashContent& content);

private:
    explicit SplashWindow(const SplashContent& content)
        : ui::Window({kSplashWindowClass, content.title.c_str(), WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                      kWidth, kHeight},
                     {}),
          content_(content)
    {
    }
    void centreOnWorkArea();
    void onCommand(int id, int) override
    {
        if (id == IDCANCEL) destroy();
    }
    bool onTimer(UINT_PTR id) override
    {
        if (id == kCloseTimer) destroy();
        return true;
    }
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onPaint(HDC dc, const RECT& client) override;
    void onDestroy() override { forms::unloaded(handle()); }
    void onFinalDestroy() override { delete this; }
    void drawLine(HDC dc, const std::wstring& text, int heightTwips, int weight, COLORREF colour, int top,
                  int bottom);

    SplashContent content_;
};

HRESULT SplashWindow::open(const SplashContent& content)
{
    auto* splash = new (std::nothrow) SplashWindow(content);
    if (!splash) return E_OUTOFMEMORY;
    HRESULT hr = splash->create();
    if (FAILED(hr)) {
        delete splash;
        return hr;
    }
    HWND window = splash->handle();
    splash->centreOnWorkArea();
    forms::loaded(window);
    if (content.startup) {
        SetTimer(window, kCloseTimer, kSplashMilliseconds, nullptr);
        ShowWindow(window, SW_SHOWNOACTIVATE);
    } else {
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        SetFocus(window);
    }
    UpdateWindow(window);
    return S_OK;
}

void SplashWindow::centreOnWorkArea()
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    RECT area{};
    if (GetMonitorInfoW(MonitorFromWindow(handle(), MONITOR_DEFAULTTOPRIMARY), &monitor))
        area = monitor.rcWork;
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    int width = pixels(kWidth), height = pixels(kHeight);
    SetWindowPos(handle(), nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SplashWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        destroy();
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) destroy();
        return 0;
    default:
        return ui::Window::onMessage(message, wParam, lParam);
    }
}

void SplashWindow::drawLine(HDC dc, const std::wstring& text, int heightTwips, int weight, COLORREF colour, int top,
                            int bottom)
{
    raii::UniqueFont font(CreateFontW(pixels(heightTwips), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, L"Arial"));
    HGDIOBJ previous = SelectObject(dc, font.get());
    SetTextColor(dc, colour);
    RECT area{0, pixels(top), pixels(kWidth), pixels(bottom)};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, previous);
}

bool SplashWindow::onPaint(HDC dc, const RECT& client)
{
    const Look& look = kLooks[content_.look];
    raii::UniqueBrush background(CreateSolidBrush(look.background));
    FillRect(dc, &client, background.get());
    raii::UniqueBrush frame(CreateSolidBrush(look.title));
    FrameRect(dc, &client, frame.get());
    SetBkMode(dc, TRANSPARENT);
    drawLine(dc, content_.title, 720, FW_BOLD, look.title, 450, 1650);
    drawLine(dc, content_.version, 270, FW_NORMAL, look.text, 1800, 2250);
    drawLine(dc, L"Brannock", 270, FW_NORMAL, look.text, 2400, 2850);
    return true;
}

class SplashComponent final : public ISplashScreen {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** result) override
    {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (iid != IID_IUnknown && iid != IID_ISplashScreen) return E_NOINTERFACE;
        *result = static_cast<ISplashScreen*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG count = --references_;
        if (count == 0) delete this;
        return count;
    }

    STDMETHODIMP Setup(BSTR, BSTR appTitle, BSTR, short major, short minor, short revision, LONG) override
    {
        content_.title = raii::toWString(appTitle);
        content_.version = L"Version " + std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
                           std::to_wstring(revision);
        setUp_ = true;
        return S_OK;
    }
    STDMETHODIMP SplashSwitch(BYTE startup) override
    {
        if (startup > 1) return E_INVALIDARG;
        content_.startup = startup == 1;
        return S_OK;
    }
    STDMETHODIMP Number(short look) override
    {
        if (look < 1 || look > 5) return E_INVALIDARG;
        content_.look = look - 1;
        return S_OK;
    }
    STDMETHODIMP Show() override
    {
        if (!setUp_) return E_UNEXPECTED;
        return SplashWindow::open(content_);
    }

private:
    ULONG references_ = 1;
    SplashContent content_;
    bool setUp_ = false;
};

class SplashFactory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** result) override
    {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
        *result = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // A static object: its lifetime is the process, not its count.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** result) override
    {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* component = new (std::nothrow) SplashComponent();
        if (!component) return E_OUTOFMEMORY;
        HRESULT hr = component->QueryInterface(iid, result);
        component->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

SplashFactory g_factory;
DWORD g_cookie = 0;

} // namespace

HRESULT registerSplashClass()
{
    if (g_cookie) return S_OK;
    return CoRegisterClassObject(CLSID_VantorelSplash, &g_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                 &g_cookie);
}

void revokeSplashClass()
{
    if (!g_cookie) return;
    CoRevokeClassObject(g_cookie);
    g_cookie = 0;
}

} // namespace vantorel

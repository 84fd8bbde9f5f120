#include "Window.h"

#include <algorithm>
#include <mutex>

#include "Dpi.h"

namespace ui {
namespace {

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

ControlClass controlClass(Kind kind)
{
    switch (kind) {
    case Kind::Label: return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case Kind::Text: return {L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::MultiLineText: return {L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE};
    case Kind::Button: return {L"BUTTON", BS_PUSHBUTTON, 0};
    case Kind::DefaultButton: return {L"BUTTON", BS_DEFPUSHBUTTON, 0};
    case Kind::CheckBox: return {L"BUTTON", BS_AUTOCHECKBOX, 0};
    case Kind::Group: return {L"BUTTON", BS_GROUPBOX, 0};
    case Kind::List: return {L"LISTBOX", LBS_NOTIFY | WS_VSCROLL | WS_BORDER, 0};
    case Kind::Combo: return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0};
    case Kind::Etched: return {L"STATIC", SS_ETCHEDFRAME, 0};
    case Kind::Tabs: return {L"SysTabControl32", 0, 0};
    case Kind::Picture: return {L"BUTTON", BS_PUSHBUTTON | BS_BITMAP, 0};
    }
    return {L"STATIC", 0, 0};
}

std::mutex& classLock()
{
    static std::mutex lock;
    return lock;
}

std::vector<std::wstring>& registeredClasses()
{
    static std::vector<std::wstring> names;
    return names;
}

HRESULT lastError()
{
    DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

HRESULT registerClass(const Frame& frame, WNDPROC procedure)
{
    std::lock_guard<std::mutex> guard(classLock());
    HMODULE module = thisModule();
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(module, frame.className, &existing)) return S_OK;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(frame.background + 1));
    windowClass.lpszClassName = frame.className;
    if (!RegisterClassExW(&windowClass)) return lastError();
    registeredClasses().push_back(frame.className);
    return S_OK;
}

} // namespace

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HMODULE thisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

void unregisterClasses()
{
    std::lock_guard<std::mutex> guard(classLock());
    for (const auto& name : registeredClasses()) UnregisterClassW(name.c_str(), thisModule());
    registeredClasses().clear();
}

bool handleDialogKeys(MSG& message)
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !message.hwnd) return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    return root && Window::from(root) && IsDialogMessageW(root, &message);
}

Window::Window(const Frame& frame, std::vector<Control> controls) : frame_(frame), controls_(std::move(controls)) {}

Window::~Window()
{
    if (window_) {
        // The window outlives no object: its procedure must not reach a destroyed one.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    dropCanvas();
}

HDC Window::canvas()
{
    if (!window_) return nullptr;
    RECT client{};
    GetClientRect(window_, &client);
    SIZE wanted{std::max<LONG>(client.right, canvasSize_.cx), std::max<LONG>(client.bottom, canvasSize_.cy)};
    if (canvasDc_ && wanted.cx == canvasSize_.cx && wanted.cy == canvasSize_.cy) return canvasDc_;
    HDC screen = GetDC(window_);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, std::max<LONG>(wanted.cx, 1), std::max<LONG>(wanted.cy, 1));
    ReleaseDC(window_, screen);
    if (!dc || !bitmap) {
        if (dc) DeleteDC(dc);
        if (bitmap) DeleteObject(bitmap);
        return canvasDc_;
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT all{0, 0, wanted.cx, wanted.cy};
    FillRect(dc, &all, GetSysColorBrush(frame_.background));
    if (canvasDc_) BitBlt(dc, 0, 0, canvasSize_.cx, canvasSize_.cy, canvasDc_, 0, 0, SRCCOPY);
    dropCanvas();
    canvasDc_ = dc;
    canvasBitmap_ = bitmap;
    canvasPrevious_ = previous;
    canvasSize_ = wanted;
    return canvasDc_;
}

void Window::dropCanvas()
{
    if (!canvasDc_) return;
    SelectObject(canvasDc_, canvasPrevious_);
    DeleteObject(canvasBitmap_);
    DeleteDC(canvasDc_);
    canvasDc_ = nullptr;
    canvasBitmap_ = nullptr;
    canvasSize_ = {};
}

Window* Window::from(HWND window)
{
    if (!window || reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) != &Window::procedure)
        return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

int Window::pixels(int twips) const { return twipsToPixels(twips, dpi_); }
int Window::twips(int pixels) const { return pixelsToTwips(pixels, dpi_); }

HRESULT Window::create(HWND owner, int x, int y)
{
    if (window_) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    HRESULT hr = registerClass(frame_, &Window::procedure);
    if (FAILED(hr)) return hr;
    PerMonitorScope perMonitor;
    dpi_ = screenDpi();
    creating_ = true;
    SetLastError(0);
    HWND window = CreateWindowExW(frame_.exStyle, frame_.className, frame_.title ? frame_.title : L"",
                                  frame_.style & ~WS_VISIBLE, x, y, pixels(frame_.width), pixels(frame_.height),
                                  owner, nullptr, thisModule(), this);
    if (!window) {
        creating_ = false;
        return lastError();
    }
    // The window's own DPI is known only now (its monitor's, for a per-monitor window).
    UINT dpi = windowDpi(window);
    if (dpi != dpi_) {
        dpi_ = dpi;
        SetWindowPos(window, nullptr, 0, 0, pixels(frame_.width), pixels(frame_.height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    font_.reset(createMessageFont(dpi_));
    hr = createControls();
    if (FAILED(hr)) destroy();
    creating_ = false;
    if (FAILED(hr)) return hr;
    onCreate();
    return S_OK;
}

HRESULT Window::createControls()
{
    for (const Control& control : controls_) {
        ControlClass kind = controlClass(control.kind);
        DWORD style = WS_CHILD | WS_VISIBLE | kind.style | control.style | (control.tabOrder > 0 ? WS_TABSTOP : 0);
        HWND child = CreateWindowExW(kind.exStyle, kind.name, control.caption ? control.caption : L"", style, 0, 0,
                                     0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                     thisModule(), nullptr);
        if (!child) return lastError();
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    // Tab follows the order of the windows: tab stops go first, in their given order.
    std::vector<const Control*> stops;
    for (const Control& control : controls_)
        if (control.tabOrder > 0) stops.push_back(&control);
    std::stable_sort(stops.begin(), stops.end(), [](auto a, auto b) { return a->tabOrder < b->tabOrder; });
    HWND after = HWND_TOP;
    for (const Control* stop : stops) {
        HWND child = control(stop->id);
        SetWindowPos(child, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = child;
    }
    layout();
    return S_OK;
}

void Window::layout()
{
    for (const Control& c : controls_)
        MoveWindow(control(c.id), pixels(c.left), pixels(c.top), pixels(c.width), pixels(c.height), TRUE);
}

void Window::place(int id, int left, int top, int width, int height)
{
    for (Control& c : controls_)
        if (c.id == id) {
            c.left = left;
            c.top = top;
            c.width = width;
            c.height = height;
            MoveWindow(control(id), pixels(left), pixels(top), pixels(width), pixels(height), TRUE);
        }
}

void Window::destroy()
{
    if (window_) DestroyWindow(window_);
}

void Window::changeDpi(UINT dpi, const RECT* suggested)
{
    if (!dpi) return;
    dpi_ = dpi;
    font_.reset(createMessageFont(dpi_));
    for (const Control& c : controls_)
        SendMessageW(control(c.id), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (suggested)
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    layout();
    InvalidateRect(window_, nullptr, TRUE);
}

int Window::defaultButton() const
{
    for (const Control& c : controls_)
        if (c.kind == Kind::DefaultButton) return c.id;
    return IDOK;
}

LRESULT Window::paint()
{
    PAINTSTRUCT paintInfo{};
    HDC dc = BeginPaint(window_, &paintInfo);
    RECT client{};
    GetClientRect(window_, &client);
    if (canvasDc_) BitBlt(dc, 0, 0, canvasSize_.cx, canvasSize_.cy, canvasDc_, 0, 0, SRCCOPY);
    onPaint(dc, client);
    EndPaint(window_, &paintInfo);
    return 0;
}

LRESULT Window::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT Window::dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CLOSE:
        if (onClose()) destroy();
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_PAINT:
        return paint();
    case WM_TIMER:
        if (onTimer(wParam)) return 0;
        break;
    case DM_GETDEFID:
        return MAKELRESULT(defaultButton(), DC_HASDEFID);
    case WM_DPICHANGED:
        changeDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        break;
    }
    return onMessage(message, wParam, lParam);
}

LRESULT CALLBACK Window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->dropCanvas();
        LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        if (!self->creating_) self->onFinalDestroy();
        return result;
    }
    return self->dispatch(message, wParam, lParam);
}

} // namespace ui

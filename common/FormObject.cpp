#include "FormObject.h"

#include <algorithm>
#include <new>
#include <vector>

#include "Dpi.h"
#include "ErrorNumbers.h"
#include "NamedObject.h"
#include "Raii.h"
#include "Window.h"

namespace ui {
namespace {

enum Member : DISPID {
    kHWnd = 1, kName, kCaption, kLeft, kTop, kWidth, kHeight, kWindowState, kVisible, kMove, kShow, kLine,
    kAutoRedraw, kDrawStyle, kDrawMode, kDrawWidth, kForeColor, kScaleMode, kScaleWidth, kScaleHeight,
};

const latebound::MemberName kMembers[] = {
    {L"hWnd", kHWnd}, {L"Name", kName}, {L"Caption", kCaption}, {L"Left", kLeft}, {L"Top", kTop},
    {L"Width", kWidth}, {L"Height", kHeight}, {L"WindowState", kWindowState}, {L"Visible", kVisible},
    {L"Move", kMove}, {L"Show", kShow}, {L"Line", kLine}, {L"AutoRedraw", kAutoRedraw},
    {L"DrawStyle", kDrawStyle}, {L"DrawMode", kDrawMode}, {L"DrawWidth", kDrawWidth},
    {L"ForeColor", kForeColor}, {L"ScaleMode", kScaleMode}, {L"ScaleWidth", kScaleWidth},
    {L"ScaleHeight", kScaleHeight},
};

using automation::RuntimeError;

// Arguments in call order, omitted ones recognised.
class Arguments {
public:
    explicit Arguments(const DISPPARAMS* params)
    {
        for (UINT i = params ? params->cArgs : 0; i-- > 0;) items_.push_back(&params->rgvarg[i]);
    }
    size_t size() const { return items_.size(); }
    bool given(size_t index) const
    {
        if (index >= items_.size()) return false;
        const VARIANT* v = items_[index];
        return !(V_VT(v) == VT_ERROR && V_ERROR(v) == DISP_E_PARAMNOTFOUND) && V_VT(v) != VT_EMPTY;
    }
    double number(size_t index) const { return convert(index, VT_R8).dblVal; }
    long whole(size_t index) const
    {
        double value = number(index);
        if (value < -2147483648.0 || value > 2147483647.0) throw RuntimeError(automation::kInvalidPropertyValue);
        return static_cast<long>(value < 0 ? value - 0.5 : value + 0.5);
    }
    bool flag(size_t index) const { return convert(index, VT_BOOL).boolVal != VARIANT_FALSE; }
    std::wstring text(size_t index) const
    {
        VARIANT v = convert(index, VT_BSTR);
        std::wstring result = raii::toWString(V_BSTR(&v));
        VariantClear(&v);
        return result;
    }

private:
    VARIANT convert(size_t index, VARTYPE type) const
    {
        if (!given(index)) throw RuntimeError(automation::kArgumentNotOptional);
        VARIANT out;
        VariantInit(&out);
        if (FAILED(VariantChangeType(&out, items_[index], VARIANT_ALPHABOOL, type)))
            throw RuntimeError(automation::kTypeMismatch);
        return out;
    }
    std::vector<VARIANT*> items_;
};

class FormObject final : public latebound::NamedObject {
public:
    FormObject(HWND window, const std::wstring& name) : NamedObject(kMembers), window_(window), name_(name) {}

    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

private:
    void get(Member member, VARIANT& result);
    void put(Member member, const Arguments& args);
    void call(Member member, const Arguments& args);

    UINT dpi() const { return windowDpi(window_); }
    RECT outer() const;
    void place(long left, long top, long width, long height);
    // Scale units to client pixels along one axis.
    int toPixelsX(double units) const;
    int toPixelsY(double units) const;
    double unitPixels() const { return scaleMode_ == 3 ? 1.0 : dpi() / double(kTwipsPerInch); }
    SIZE client() const;
    COLORREF colour(long value) const;
    void line(const Arguments& args);

    HWND window_;
    std::wstring name_;
    bool autoRedraw_ = false;
    long drawStyle_ = 0, drawMode_ = 13, drawWidth_ = 1, foreColor_ = 0, scaleMode_ = 1;
    double scaleWidth_ = 0, scaleHeight_ = 0; // 0: the scale mode's own
};

STDMETHODIMP FormObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* exception, UINT*)
{
    if (id < kHWnd || id > kScaleHeight) return DISP_E_MEMBERNOTFOUND;
    if (params && ((params->cArgs && !params->rgvarg) || (params->cNamedArgs && !params->rgdispidNamedArgs)))
        return E_INVALIDARG;
    const auto member = static_cast<Member>(id);
    const bool isMethod = member == kMove || member == kShow || member == kLine;
    return latebound::answerInvoke(exception, name_, [&]() -> HRESULT {
        if (member != kName && !IsWindow(window_)) throw RuntimeError(automation::kObjectUnloaded);
        Arguments args(params);
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (isMethod || member == kHWnd) return DISP_E_MEMBERNOTFOUND;
            put(member, args);
        } else if (isMethod) {
            call(member, args);
        } else {
            VARIANT value;
            VariantInit(&value);
            get(member, value);
            if (result) *result = value;
            else VariantClear(&value);
        }
        return S_OK;
    });
}

RECT FormObject::outer() const
{
    RECT rect{};
    GetWindowRect(window_, &rect);
    if (HWND parent = (GetWindowLongW(window_, GWL_STYLE) & WS_CHILD) ? GetParent(window_) : nullptr)
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE FormObject::client() const
{
    RECT rect{};
    GetClientRect(window_, &rect);
    return {rect.right, rect.bottom};
}

void FormObject::place(long left, long top, long width, long height)
{
    if (width < 0 || height < 0) throw RuntimeError(automation::kInvalidPropertyValue);
    const UINT at = dpi();
    SetWindowPos(window_, nullptr, twipsToPixels(left, at), twipsToPixels(top, at), twipsToPixels(width, at),
                 twipsToPixels(height, at), SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormObject::get(Member member, VARIANT& result)
{
    const UINT at = dpi();
    auto whole = [&](long value) {
        V_VT(&result) = VT_I4;
        V_I4(&result) = value;
    };
    auto real = [&](double value) {
        V_VT(&result) = VT_R8;
        V_R8(&result) = value;
    };
    RECT rect = outer();
    switch (member) {
    case kHWnd: return whole(static_cast<long>(reinterpret_cast<LONG_PTR>(window_)));
    case kName:
        V_VT(&result) = VT_BSTR;
        V_BSTR(&result) = raii::makeBstr(name_).release();
        return;
    case kCaption: {
        V_VT(&result) = VT_BSTR;
        V_BSTR(&result) = raii::makeBstr(ui::windowText(window_)).release();
        return;
    }
    case kLeft: return whole(pixelsToTwips(rect.left, at));
    case kTop: return whole(pixelsToTwips(rect.top, at));
    case kWidth: return whole(pixelsToTwips(rect.right - rect.left, at));
    case kHeight: return whole(pixelsToTwips(rect.bottom - rect.top, at));
    case kWindowState: return whole(IsIconic(window_) ? 1 : IsZoomed(window_) ? 2 : 0);
    case kVisible:
    case kAutoRedraw:
        V_VT(&result) = VT_BOOL;
        V_BOOL(&result) = (member == kVisible ? IsWindowVisible(window_) != FALSE : autoRedraw_) ? VARIANT_TRUE
                                                                                             : VARIANT_FALSE;
        return;
    case kDrawStyle: return whole(drawStyle_);
    case kDrawMode: return whole(drawMode_);
    case kDrawWidth: return whole(drawWidth_);
    case kForeColor: return whole(foreColor_);
    case kScaleMode: return whole(scaleWidth_ || scaleHeight_ ? 0 : scaleMode_);
    case kScaleWidth: return real(scaleWidth_ ? scaleWidth_ : client().cx / unitPixels());
    case kScaleHeight: return real(scaleHeight_ ? scaleHeight_ : client().cy / unitPixels());
    default: throw RuntimeError(automation::kNoSuchMember);
    }
}

void FormObject::put(Member member, const Arguments& args)
{
    RECT rect = outer();
    const UINT at = dpi();
    const long left = pixelsToTwips(rect.left, at), top = pixelsToTwips(rect.top, at);
    const long width = pixelsToTwips(rect.right - rect.left, at), height = pixelsToTwips(rect.bottom - rect.top, at);
    switch (member) {
    case kName: name_ = args.text(0); return;
    case kCaption: SetWindowTextW(window_, args.text(0).c_str()); return;
    case kLeft: return place(args.whole(0), top, width, height);
    case kTop: return place(left, args.whole(0), width, height);
    case kWidth: return place(left, top, args.whole(0), height);
    case kHeight: return place(left, top, width, args.whole(0));
    case kWindowState: {
        const long state = args.whole(0);
        if (state < 0 || state > 2) throw RuntimeError(automation::kInvalidPropertyValue);
        ShowWindow(window_, state == 1 ? SW_MINIMIZE : state == 2 ? SW_MAXIMIZE : SW_RESTORE);
        return;
    }
    case kVisible: ShowWindow(window_, args.flag(0) ? SW_SHOW : SW_HIDE); return;
    case kAutoRedraw: autoRedraw_ = args.flag(0); return;
    case kDrawStyle: drawStyle_ = args.whole(0); return;
    case kDrawMode: drawMode_ = args.whole(0); return;
    case kDrawWidth: {
        const long value = args.whole(0);
        if (value < 1 || value > 32767) throw RuntimeError(automation::kInvalidPropertyValue);
        drawWidth_ = value;
        return;
    }
    case kForeColor: foreColor_ = args.whole(0); return;
    case kScaleMode: {
        const long mode = args.whole(0);
        if (mode != 1 && mode != 3) throw RuntimeError(automation::kInvalidPropertyValue);
        scaleMode_ = mode;
        scaleWidth_ = scaleHeight_ = 0;
        return;
    }
    case kScaleWidth:
    case kScaleHeight: {
        const double value = args.number(0);
        if (value == 0) throw RuntimeError(automation::kInvalidPropertyValue);
        (member == kScaleWidth ? scaleWidth_ : scaleHeight_) = value;
        return;
    }
    default: throw RuntimeError(automation::kNoSuchMember);
    }
}

void FormObject::call(Member member, const Arguments& args)
{
    switch (member) {
    case kMove: {
        RECT rect = outer();
        const UINT at = dpi();
        place(args.whole(0), args.given(1) ? args.whole(1) : pixelsToTwips(rect.top, at),
              args.given(2) ? args.whole(2) : pixelsToTwips(rect.right - rect.left, at),
              args.given(3) ? args.whole(3) : pixelsToTwips(rect.bottom - rect.top, at));
        return;
    }
    case kShow: {
        const long style = args.given(0) ? args.whole(0) : 0;
        if (style != 0 && style != 1) throw RuntimeError(automation::kInvalidArgument);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        if (style == 1) runModalLoop(window_);
        return;
    }
    case kLine: return line(args);
    default: throw RuntimeError(automation::kNoSuchMember);
    }
}

int FormObject::toPixelsX(double units) const
{
    const double pixels = scaleWidth_ ? units * client().cx / scaleWidth_ : units * unitPixels();
    return static_cast<int>(std::clamp(pixels, -1e9, 1e9));
}

int FormObject::toPixelsY(double units) const
{
    const double pixels = scaleHeight_ ? units * client().cy / scaleHeight_ : units * unitPixels();
    return static_cast<int>(std::clamp(pixels, -1e9, 1e9));
}

// System colours are written 0x800000nn, as a form's colour properties hold them.
COLORREF FormObject::colour(long value) const
{
    const unsigned long bits = static_cast<unsigned long>(value);
    if ((bits & 0xFF000000UL) == 0x80000000UL) return GetSysColor(static_cast<int>(bits & 0xFF));
    return static_cast<COLORREF>(bits & 0xFFFFFF);
}

void FormObject::line(const Arguments& args)
{
    const int x1 = toPixelsX(args.number(0)), y1 = toPixelsY(args.number(1));
    const int x2 = toPixelsX(args.number(2)), y2 = toPixelsY(args.number(3));
    const COLORREF ink = colour(args.given(4) ? args.whole(4) : foreColor_);
    std::wstring shape = args.given(5) ? args.text(5) : std::wstring();
    for (auto& c : shape) c = static_cast<wchar_t>(towupper(c));
    if (!shape.empty() && shape != L"B" && shape != L"BF") throw RuntimeError(automation::kInvalidArgument);

    Window* owner = Window::from(window_);
    const bool onCanvas = autoRedraw_ && owner;
    HDC dc = onCanvas ? owner->canvas() : GetDC(window_);
    if (!dc) return;
    RECT box{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
    if (shape == L"BF") {
        raii::UniqueBrush brush(CreateSolidBrush(ink));
        FillRect(dc, &box, brush.get());
    } else {
        HPEN pen = CreatePen(PS_SOLID, drawWidth_, ink);
        HGDIOBJ previousPen = SelectObject(dc, pen);
        if (shape == L"B") {
            HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
            Rectangle(dc, box.left, box.top, box.right, box.bottom);
            SelectObject(dc, previousBrush);
        } else {
            MoveToEx(dc, x1, y1, nullptr);
            LineTo(dc, x2, y2);
        }
        SelectObject(dc, previousPen);
        DeleteObject(pen);
    }
    if (onCanvas) InvalidateRect(window_, &box, FALSE);
    else ReleaseDC(window_, dc);
}

} // namespace

IDispatch* createFormObject(HWND window, const std::wstring& name)
{
    return new (std::nothrow) FormObject(window, name);
}

void runModalLoop(HWND window)
{
    MSG message{};
    while (IsWindow(window) && IsWindowVisible(window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // A quit request belongs to the outer loop: hand it back once this one ends.
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (handleDialogKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace ui

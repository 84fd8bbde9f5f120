#include "qfcLibFormsA.h"

#include "Dpi.h"
#include "FormPlacement.h"
#include "LateBound.h"
#include "registry/qfcLibRegistryA.h"
#include "server/QuillonTypes.h"
#include "server/Failure.h"

namespace quillon::qfcLibFormsA {
namespace {

using placement::Rect;

// System colours as a form's colour values hold them.
constexpr long kHighlight = static_cast<long>(0x80000014UL);
constexpr long kShadow = static_cast<long>(0x80000010UL);
constexpr long kDefaultSpeed = 150;

// A failed call on the form as the run-time error the caller sees: the form's own error when it raised one.
[[noreturn]] void raise(const latebound::Result& result)
{
    if (result.hr == DISP_E_EXCEPTION && HRESULT_FACILITY(result.scode) == FACILITY_CONTROL)
        throw RuntimeError(HRESULT_CODE(result.scode), result.description);
    if (result.hr == DISP_E_UNKNOWNNAME || result.hr == DISP_E_MEMBERNOTFOUND || result.hr == DISP_E_TYPEMISMATCH)
        throw RuntimeError(dispatchErrorNumber(result.hr));
    throw RuntimeError(kInvalidArgument, result.errorText());
}

const latebound::Result& checked(const latebound::Result& result)
{
    if (!result.ok()) raise(result);
    return result;
}

class Form {
public:
    explicit Form(IDispatch* form) : object_(form)
    {
        if (!form) throw RuntimeError(kObjectNotSet);
    }
    long number(const wchar_t* name)
    {
        long value = 0;
        if (!checked(object_.get(name)).asLong(value)) throw RuntimeError(kTypeMismatch);
        return value;
    }
    std::wstring text(const wchar_t* name) { return checked(object_.get(name)).text(); }
    HWND window() { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(number(L"hWnd"))); }
    Rect rect() { return {number(L"Left"), number(L"Top"), number(L"Width"), number(L"Height")}; }
    void set(const wchar_t* name, long value) { checked(object_.put(name, value)); }
    void set(const wchar_t* name, bool value) { checked(object_.put(name, value)); }
    void move(const Rect& r)
    {
        checked(object_.call(L"Move", latebound::Args().i4(r.left).i4(r.top).i4(r.width).i4(r.height)));
    }
    void line(long x1, long y1, long x2, long y2, long colour, const wchar_t* shape = nullptr)
    {
        latebound::Args args;
        args.i4(x1).i4(y1).i4(x2).i4(y2).i4(colour);
        if (shape) args.text(shape);
        checked(object_.call(L"Line", args));
    }
    void show(bool modal) { checked(object_.call(L"Show", latebound::Args().i2(modal ? 1 : 0))); }

private:
    latebound::Object object_;
};

void yield() { Sleep(0); }

bool animationOn()
{
    return qfcLibRegistryA::KeyGet(checkedName(L"WinAnimate"), L"1", CheckedName(), qcBrannock) == L"1";
}

// The registry value that keeps a form's place; none for a name holding a NUL, whose place is never kept.
NameIfWhole placeName(Form& form) { return wholeName(form.text(L"Name"), NameKind::Name); }

long screenTwips(int metric) { return ui::pixelsToTwips(GetSystemMetrics(metric), ui::screenDpi()); }

struct WorkAreaSearch {
    RECT wanted;
    bool found;
    RECT area;
};

BOOL CALLBACK searchWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    auto* search = reinterpret_cast<WorkAreaSearch*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    RECT common{};
    if (GetMonitorInfoW(monitor, &info) && IntersectRect(&common, &info.rcWork, &search->wanted)) {
        search->found = true;
        search->area = info.rcWork;
    }
    return !search->found;
}

// The work area (twips) of the first monitor that holds any part of a rectangle; false when none does.
bool workAreaOf(const Rect& r, Rect& area)
{
    const UINT dpi = ui::screenDpi();
    WorkAreaSearch search{{ui::twipsToPixels(r.left, dpi), ui::twipsToPixels(r.top, dpi),
                           ui::twipsToPixels(r.left + r.width, dpi), ui::twipsToPixels(r.top + r.height, dpi)},
                          false, {}};
    EnumDisplayMonitors(nullptr, nullptr, searchWorkArea, reinterpret_cast<LPARAM>(&search));
    const RECT& a = search.area;
    area = {ui::pixelsToTwips(a.left, dpi), ui::pixelsToTwips(a.top, dpi), ui::pixelsToTwips(a.right - a.left, dpi),
            ui::pixelsToTwips(a.bottom - a.top, dpi)};
    return search.found;
}

void centre(Form& form, IDispatch* parent)
{
    Rect own = form.rect();
    Rect place = parent ? placement::centredOn(own, Form(parent).rect())
                        : placement::centred(own, ScreenWidth(), ScreenHeight());
    form.move(place);
}

} // namespace

long ScreenWidth() { return screenTwips(SM_CXFULLSCREEN); }
long ScreenHeight() { return screenTwips(SM_CYFULLSCREEN); }

bool FormRemoveX(IDispatch* vForm)
{
    return failure::trap(false, [&] {
        Form form(vForm);
        HMENU menu = GetSystemMenu(form.window(), FALSE);
        return menu && RemoveMenu(menu, 6, MF_BYPOSITION);
    });
}

void GradientForm(IDispatch* vForm, long vColor, long vInvert)
{
    Form form(vForm);
    form.set(L"AutoRedraw", true);
    form.set(L"DrawStyle", 6L);
    form.set(L"DrawMode", 13L);
    form.set(L"DrawWidth", 2L);
    form.set(L"ScaleMode", 3L);
    form.set(L"ScaleHeight", 512L);
    const long right = form.number(L"Width");
    for (long step = 0, y = 0; step < 256; ++step, y += 2) {
        const long i = vInvert ? step : 255 - step;
        long colour = -1;
        if (vColor == qcBlue) colour = RGB(0, 0, i);
        else if (vColor == qcGreen) colour = RGB(0, i, 0);
        else if (vColor == qcRed) colour = RGB(i, 0, 0);
        if (colour >= 0) form.line(0, y, right, y + 2, colour, L"BF");
    }
    yield();
}

void BringWindowToFront(IDispatch* vForm, long vState)
{
    Form form(vForm);
    HWND insertAfter = reinterpret_cast<HWND>(static_cast<LONG_PTR>(vState));
    SetWindowPos(form.window(), insertAfter, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void CenterForm(IDispatch* vForm, IDispatch* vParent)
{
    Form form(vForm);
    centre(form, vParent);
    yield();
}

void CloseWindow(IDispatch* vForm, long vStyle, long vSpeed)
{
    // Closing goes on whatever a step did; the failure is only recorded.
    failure::trapAll([&] {
        Form form(vForm);
        const Rect initial = form.rect();
        for (const Rect& step : placement::closeSteps(vStyle, initial, vSpeed)) form.move(step);
        form.set(L"Visible", false);
        form.move(initial);
        yield();
    });
}

void EtchedLine(IDispatch* vForm, long x1, long y1, long vLengthOfLine, long vVertical)
{
    Form form(vForm);
    if (!vVertical) {
        form.line(x1, y1, x1 + vLengthOfLine, y1, kHighlight);
        form.line(x1 + 4, y1 + 20, x1 + 4 + vLengthOfLine, y1 + 20, kShadow);
    } else {
        form.line(x1, y1, x1, y1 + vLengthOfLine, kHighlight);
        form.line(x1 + 20, y1 + 4, x1 + 20, y1 + 4 + vLengthOfLine, kShadow);
    }
}

void FormClose(IDispatch* vForm, long vStyle)
{
    Form form(vForm);
    const std::wstring rectangle = placement::formatRectangle(form.rect());
    if (const NameIfWhole name = placeName(form))
        qfcLibRegistryA::KeySet(*name, rectangle, checkedName(L"Forms"), qcApps);
    if (animationOn()) CloseWindow(vForm, vStyle, kDefaultSpeed);
    yield();
}

void FormOpen(IDispatch* vForm, IDispatch* vParent, bool vDisplayForm, bool vShowModal)
{
    Form form(vForm);
    Rect stored, area;
    // A rectangle that cannot be used (damaged, or on a monitor since removed) centres the form instead;
    // one larger than its monitor's work area is centred there at a size that fits.
    const NameIfWhole name = placeName(form);
    const std::wstring place =
        name ? qfcLibRegistryA::KeyGet(*name, L"Center", checkedName(L"Forms"), qcApps) : L"Center";
    if (placement::parseRectangle(place, stored) && workAreaOf(stored, area))
        form.move(placement::fittedTo(stored, area));
    else
        centre(form, vParent);
    if (vDisplayForm) form.show(vShowModal);
    yield();
}

void SlideWindow(IDispatch* vForm, long vEndWidth, long vEndHeight, long vCenterOnComplete, long vSpeed)
{
    Form form(vForm);
    if (form.number(L"WindowState") != 0) return;
    if (vEndHeight == 0) vEndHeight = form.number(L"Height");
    if (animationOn()) {
        placement::Slide slide{form.rect(), vEndWidth, vEndHeight, ScreenWidth(), ScreenHeight(), vSpeed};
        bool keepsPlace = false;
        for (Rect step : placement::slideSteps(slide, keepsPlace)) {
            if (keepsPlace) {
                step.left = form.number(L"Left");
                step.top = form.number(L"Top");
            }
            form.move(step);
            yield();
        }
    }
    form.move({form.number(L"Left"), form.number(L"Top"), vEndWidth, vEndHeight});
    yield();
    if (vCenterOnComplete) centre(form, nullptr);
    yield();
}

} // namespace quillon::qfcLibFormsA

#include "ThemedCheckBoxes.h"

#include <uxtheme.h>
#include <vsstyle.h>

#include <string>

namespace vantorel::options {
void TabPane::sample(HWND tabs)
{
    colour_ = GetSysColor(COLOR_BTNFACE);
    raii::UniqueTheme theme(OpenThemeData(tabs, L"TAB"));
    if (theme) {
        raii::UniqueMemoryDC memory;
        raii::UniqueBitmap sample;
        {
            raii::WindowDC screen(GetParent(tabs));
            memory.reset(CreateCompatibleDC(screen.get()));
            sample.reset(CreateCompatibleBitmap(screen.get(), 16, 16));
        }
        raii::Selection selected(memory.get(), sample.get());
        RECT area{0, 0, 16, 16};
        FillRect(memory.get(), &area, GetSysColorBrush(COLOR_BTNFACE));
        DrawThemeBackground(theme.get(), memory.get(), TABP_PANE, 0, &area, nullptr);
        colour_ = GetPixel(memory.get(), 8, 8);
    }
    brush_.reset(CreateSolidBrush(colour_));
}

int HoverCheckBoxes::indexOf(HWND window) const
{
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (window && owner_.control(boxes_[i]) == window) return static_cast<int>(i);
    return -1;
}

COLORREF HoverCheckBoxes::captionColour(HWND box) const
{
    const int index = indexOf(box);
    if (index < 0) return GetSysColor(COLOR_BTNTEXT);
    return index == hovered_ ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

HWND HoverCheckBoxes::underMouse(HWND window) const
{
    if (window != owner_.handle()) return window;
    POINT point{};
    RECT tabs{};
    GetCursorPos(&point);
    GetWindowRect(owner_.control(tabStrip_), &tabs);
    return PtInRect(&tabs, point) ? owner_.control(tabStrip_) : window;
}

void HoverCheckBoxes::track(HWND window)
{
    window = underMouse(window);
    int now = hovered_;
    if (window == owner_.control(tabStrip_)) now = -1;
    if (owns(window)) now = indexOf(window);
    if (now == hovered_) return;
    hovered_ = now;
    for (int id : boxes_) InvalidateRect(owner_.control(id), nullptr, TRUE);
}

LRESULT HoverCheckBoxes::colourStatic(HDC dc, HWND box) const
{
    SetTextColor(dc, captionColour(box));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT HoverCheckBoxes::customDraw(NMCUSTOMDRAW& draw) const
{
    HTHEME theme = GetWindowTheme(draw.hdr.hwndFrom); // the box's own: not closed here
    if (!theme || draw.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
    HWND box = draw.hdr.hwndFrom;
    RECT area = draw.rc;
    FillRect(draw.hdc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const bool checked = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    int state = checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL;
    if (!IsWindowEnabled(box)) state += 3;
    else if (draw.uItemState & CDIS_SELECTED) state += 2;
    else if (draw.uItemState & CDIS_HOT) state += 1;
    SIZE glyph{owner_.pixels(195), owner_.pixels(195)};
    GetThemePartSize(theme, draw.hdc, BP_CHECKBOX, state, nullptr, TS_DRAW, &glyph);
    RECT glyphRect{area.left, area.top + (area.bottom - area.top - glyph.cy) / 2, area.left + glyph.cx, 0};
    glyphRect.bottom = glyphRect.top + glyph.cy;
    DrawThemeBackground(theme, draw.hdc, BP_CHECKBOX, state, &glyphRect, nullptr);
    const std::wstring caption = ui::windowText(box);
    RECT textRect{glyphRect.right + owner_.pixels(45), area.top, area.right, area.bottom};
    raii::Selection font(draw.hdc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SetBkMode(draw.hdc, TRANSPARENT);
    SetTextColor(draw.hdc, captionColour(box));
    DrawTextW(draw.hdc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (draw.uItemState & CDIS_FOCUS) {
        RECT measured = textRect;
        DrawTextW(draw.hdc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_CALCRECT);
        DrawFocusRect(draw.hdc, &measured);
    }
    return CDRF_SKIPDEFAULT;
}

} // namespace vantorel::options

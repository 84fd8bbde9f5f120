// The options dialog's look on its tabs: labels and check boxes take the
// colour of the tab's pane, and the system check boxes light the caption under
// the mouse white (drawn here, since a themed check box ignores the colour its
// parent answers).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "Raii.h"
#include "Window.h"

namespace vantorel::options {

// The colour a theme paints the tab strip's pane, which may be lighter than the dialog.
class TabPane {
public:
    void sample(HWND tabs);
    COLORREF colour() const { return colour_; }
    HBRUSH brush() const { return brush_.get(); }

private:
    COLORREF colour_ = 0;
    raii::UniqueBrush brush_;
};

class HoverCheckBoxes {
public:
    // boxes: the check boxes that light; over the tab strip (outside its tabs) none does.
    HoverCheckBoxes(const ui::Window& owner, std::vector<int> boxes, int tabStrip)
        : owner_(owner), boxes_(std::move(boxes)), tabStrip_(tabStrip)
    {
    }

    bool owns(HWND window) const { return indexOf(window) >= 0; }
    // From WM_SETCURSOR of a mouse move over window (the dialog itself when over none of its controls).
    void track(HWND window);
    LRESULT customDraw(NMCUSTOMDRAW& draw) const;
    // WM_CTLCOLORSTATIC for one of the boxes: the caption on the dialog's own colour.
    LRESULT colourStatic(HDC dc, HWND box) const;

private:
    int indexOf(HWND window) const;
    COLORREF captionColour(HWND box) const;
    HWND underMouse(HWND window) const;

    const ui::Window& owner_;
    std::vector<int> boxes_;
    int tabStrip_;
    int hovered_ = -1; // index of the box under the mouse, -1 for none
};

} // namespace vantorel::options

// The arithmetic of form placement and animation: rectangles in twips, no
// window in sight, so every case can be checked from a table.
#pragma once

#include <string>
#include <vector>

namespace quillon::placement {

struct Rect {
    long left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect& other) const
    {
        return left == other.left && top == other.top && width == other.width && height == other.height;
    }
};

// "1200|900|6495|4800": left, top, width and height as FormClose stores them.
std::wstring formatRectangle(const Rect& rect);

// The stored rectangle, or false when it cannot be used: fewer than four
// numbers, a piece that is no whole number, a width or height below 1.
bool parseRectangle(const std::wstring& text, Rect& rect);

// Where a form of the given size is centred on a screen (or within a parent's rectangle).
Rect centred(const Rect& form, long screenWidth, long screenHeight);
Rect centredOn(const Rect& form, const Rect& parent);

// Where a stored rectangle opens on the work area it lies on: as it stands when
// it fits, otherwise centred there at its size cut to the area's.
Rect fittedTo(const Rect& stored, const Rect& workArea);

// The rectangles CloseWindow shows in turn for a style (qcBottom 1 ... qcImplode 5); none for other styles.
std::vector<Rect> closeSteps(long style, const Rect& start, long speed);

struct Slide {
    Rect form;
    long endWidth = 0, endHeight = 0;
    long screenWidth = 0, screenHeight = 0;
    long speed = 150;
};

// The rectangles SlideWindow moves the form through before its final size.
// `keepsPlace` is true where a step keeps the form's left and top as they are.
std::vector<Rect> slideSteps(const Slide& slide, bool& keepsPlace);

// A speed below 1 would never end an animation.
inline long usableSpeed(long speed) { return speed < 1 ? 1 : speed; }

} // namespace quillon::placement

// A table window without controls or handlers: a real form for the tests that move, measure or draw on one.
#pragma once

#include "Dpi.h"
#include "Window.h"

namespace testing_support {

class PlainWindow : public ui::Window {
public:
    explicit PlainWindow(const ui::Frame& frame) : ui::Window(frame, {}) {}
};

// A twips value after a round trip through whole pixels at a DPI: what a window reports back.
inline long snappedTwips(long twips, UINT dpi) { return ui::pixelsToTwips(ui::twipsToPixels(twips, dpi), dpi); }

} // namespace testing_support

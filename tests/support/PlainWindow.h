// A table window without controls or handlers: a real form for the tests that move, measure or draw on one.
#pragma once

#include "Window.h"

namespace testing_support {

class PlainWindow : public ui::Window {
public:
    explicit PlainWindow(const ui::Frame& frame) : ui::Window(frame, {}) {}
};

} // namespace testing_support

// Compile-time checks of the records handed to the system: their size and the
// offsets of the members the code fills must be the platform's own, 32-bit
// (i686) or 64-bit (x86_64) Windows. The i686 build cannot run here, so a
// record that a header, a packing pragma or a hand-written size got wrong must
// fail to compile instead.
#pragma once

#include <cstddef>

namespace layout {

constexpr bool kWin64 = sizeof(void*) == 8;
constexpr std::size_t onPlatform(std::size_t win32, std::size_t win64) { return kWin64 ? win64 : win32; }

} // namespace layout

#define LAYOUT_SIZE(type, win32, win64) \
    static_assert(sizeof(type) == layout::onPlatform(win32, win64), "size of " #type " differs from the platform's")
#define LAYOUT_OFFSET(type, member, win32, win64)                                  \
    static_assert(offsetof(type, member) == layout::onPlatform(win32, win64), \
                  "offset of " #type "::" #member " differs from the platform's")

// The form object of a C++ window: what a late-bound caller (the library's
// form routines, a script) reaches by member name, in the units a form uses.
//
// Members: hWnd, Name, Caption, Left, Top, Width, Height (twips of the outer
// rectangle, by the window's DPI), WindowState (0 normal, 1 minimised,
// 2 maximised), Visible, Move Left[, Top[, Width[, Height]]], Show [modal]
// (1 runs a modal loop until the window is hidden or gone), Line x1, y1, x2,
// y2[, colour[, "B" | "BF"]] and the drawing properties AutoRedraw, DrawStyle,
// DrawMode, DrawWidth, ForeColor, ScaleMode (1 twips, 3 pixels), ScaleWidth
// and ScaleHeight (a custom scale over the client area).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace ui {

// A new form object over the window, with one reference for the caller.
IDispatch* createFormObject(HWND window, const std::wstring& name);

// Pumps the thread's messages until the window is hidden or destroyed.
void runModalLoop(HWND window);

} // namespace ui

// The routines behind qfcLibForms: they reach the caller's form only through
// its members by name (hWnd, Name, Left, Top, Width, Height, WindowState,
// Visible, Move, Show, Line, drawing properties), so any client's form object
// works. Positions are twips, held in 32 bits.
//
// Error styles: FormRemoveX and CloseWindow trap every failure; the others
// throw RuntimeError (a missing member, a form that raised an error), which
// the method frame hands to the caller.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace quillon::qfcLibFormsA {

bool FormRemoveX(IDispatch* vForm);
void GradientForm(IDispatch* vForm, long vColor, long vInvert);
void BringWindowToFront(IDispatch* vForm, long vState);
void CenterForm(IDispatch* vForm, IDispatch* vParent);
void CloseWindow(IDispatch* vForm, long vStyle, long vSpeed);
void EtchedLine(IDispatch* vForm, long x1, long y1, long vLengthOfLine, long vVertical);
void FormClose(IDispatch* vForm, long vStyle);
void FormOpen(IDispatch* vForm, IDispatch* vParent, bool vDisplayForm, bool vShowModal);
void SlideWindow(IDispatch* vForm, long vEndWidth, long vEndHeight, long vCenterOnComplete, long vSpeed);

// The screen's extents in twips: system metrics 16 and 17 times the twips per pixel.
long ScreenWidth();
long ScreenHeight();

} // namespace quillon::qfcLibFormsA

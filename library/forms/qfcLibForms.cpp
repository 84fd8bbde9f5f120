#include "qfcLibForms.h"

#include "qfcLibFormsA.h"

namespace quillon {
namespace {

// A by-reference object argument: the object it holds, or none.
IDispatch* object(IDispatch** reference) { return reference ? *reference : nullptr; }

} // namespace

STDMETHODIMP qfcLibForms::FormRemoveX(IDispatch** vForm, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibFormsA::FormRemoveX(object(vForm)); });
}

STDMETHODIMP qfcLibForms::GradientForm(IDispatch** vForm, qcGradientColors vColor, unsigned char vInvert)
{
    return call([&] { qfcLibFormsA::GradientForm(object(vForm), vColor, vInvert); });
}

STDMETHODIMP qfcLibForms::BringWindowToFront(IDispatch** vForm, qcZOrderConstants vState)
{
    return call([&] { qfcLibFormsA::BringWindowToFront(object(vForm), vState); });
}

STDMETHODIMP qfcLibForms::CenterForm(IDispatch** vForm, IDispatch** vParent)
{
    return call([&] { qfcLibFormsA::CenterForm(object(vForm), object(vParent)); });
}

STDMETHODIMP qfcLibForms::CloseWindow(IDispatch** vForm, qcCloseWindowStyles vStyle, short vSpeed)
{
    return call([&] { qfcLibFormsA::CloseWindow(object(vForm), vStyle, vSpeed); });
}

STDMETHODIMP qfcLibForms::EtchedLine(IDispatch** vForm, short x1, short y1, short vLengthOfLine,
                                     unsigned char vVertical)
{
    return call([&] { qfcLibFormsA::EtchedLine(object(vForm), x1, y1, vLengthOfLine, vVertical); });
}

STDMETHODIMP qfcLibForms::FormClose(IDispatch** vForm, qcCloseWindowStyles vStyle)
{
    return call([&] { qfcLibFormsA::FormClose(object(vForm), vStyle); });
}

STDMETHODIMP qfcLibForms::FormOpen(IDispatch** vForm, IDispatch** vParent, VARIANT_BOOL vDisplayForm,
                                   VARIANT_BOOL* vShowModal)
{
    return call([&] {
        qfcLibFormsA::FormOpen(object(vForm), object(vParent), isTrue(vDisplayForm), vShowModal && isTrue(*vShowModal));
    });
}

STDMETHODIMP qfcLibForms::SlideWindow(IDispatch** vForm, LONG vEndWidth, LONG vEndHeight,
                                      unsigned char vCenterOnComplete, short vSpeed)
{
    return call([&] { qfcLibFormsA::SlideWindow(object(vForm), vEndWidth, vEndHeight, vCenterOnComplete, vSpeed); });
}

} // namespace quillon

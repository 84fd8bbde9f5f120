#include "qfcLibForms.h"

#include "qfcLibFormsA.h"

namespace quillon {

STDMETHODIMP qfcLibForms::FormRemoveX(IDispatch** vForm, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibFormsA::FormRemoveX(objectArg(vForm).get()); });
}

STDMETHODIMP qfcLibForms::GradientForm(IDispatch** vForm, qcGradientColors vColor, unsigned char vInvert)
{
    return call([&] { qfcLibFormsA::GradientForm(objectArg(vForm).get(), vColor, vInvert); });
}

STDMETHODIMP qfcLibForms::BringWindowToFront(IDispatch** vForm, qcZOrderConstants vState)
{
    return call([&] { qfcLibFormsA::BringWindowToFront(objectArg(vForm).get(), vState); });
}

STDMETHODIMP qfcLibForms::CenterForm(IDispatch** vForm, IDispatch** vParent)
{
    return call([&] { qfcLibFormsA::CenterForm(objectArg(vForm).get(), objectArg(vParent).get()); });
}

STDMETHODIMP qfcLibForms::CloseWindow(IDispatch** vForm, qcCloseWindowStyles vStyle, short vSpeed)
{
    return call([&] { qfcLibFormsA::CloseWindow(objectArg(vForm).get(), vStyle, vSpeed); });
}

STDMETHODIMP qfcLibForms::EtchedLine(IDispatch** vForm, short x1, short y1, short vLengthOfLine,
                                     unsigned char vVertical)
{
    return call([&] { qfcLibFormsA::EtchedLine(objectArg(vForm).get(), x1, y1, vLengthOfLine, vVertical); });
}

STDMETHODIMP qfcLibForms::FormClose(IDispatch** vForm, qcCloseWindowStyles vStyle)
{
    return call([&] { qfcLibFormsA::FormClose(objectArg(vForm).get(), vStyle); });
}

STDMETHODIMP qfcLibForms::FormOpen(IDispatch** vForm, IDispatch** vParent, VARIANT_BOOL vDisplayForm,
                                   VARIANT_BOOL* vShowModal)
{
    return call([&] {
        qfcLibFormsA::FormOpen(objectArg(vForm).get(), objectArg(vParent).get(), isTrue(vDisplayForm),
                               isTrue(readRef(vShowModal, VARIANT_FALSE)));
    });
}

STDMETHODIMP qfcLibForms::SlideWindow(IDispatch** vForm, LONG vEndWidth, LONG vEndHeight,
                                      unsigned char vCenterOnComplete, short vSpeed)
{
    return call([&] {
        qfcLibFormsA::SlideWindow(objectArg(vForm).get(), vEndWidth, vEndHeight, vCenterOnComplete, vSpeed);
    });
}

} // namespace quillon

#include "qfcLibForms.h"

namespace quillon {

STDMETHODIMP qfcLibForms::FormRemoveX(IDispatch**, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibForms::GradientForm(IDispatch**, qcGradientColors, unsigned char)
{
    return notImplemented();
}

STDMETHODIMP qfcLibForms::BringWindowToFront(IDispatch**, qcZOrderConstants)
{
    return notImplemented();
}

STDMETHODIMP qfcLibForms::CenterForm(IDispatch**, IDispatch**)
{
    return notImplemented();
}

STDMETHODIMP qfcLibForms::CloseWindow(IDispatch**, qcCloseWindowStyles, short)
{
    return notImplemented();
}

STDMETHODIMP qfcLibForms::EtchedLine(IDispatch**, short, short, short, unsigned char)
{
    return notImplemented();
}

STDMETHODIMP qfcLibForms::FormClose(IDispatch**, qcCloseWindowStyles)
{
    return notImplemented();
}

STDMETHODIMP qfcLibForms::FormOpen(IDispatch**, IDispatch**, VARIANT_BOOL, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibForms::SlideWindow(IDispatch**, LONG, LONG, unsigned char, short)
{
    return notImplemented();
}

} // namespace quillon

// qfcLibForms: window placement, animation and drawing on forms.
#pragma once

#include "server/DispatchObject.h"

namespace quillon {

class qfcLibForms final : public DispatchObject<qfcLibForms, _qfcLibForms> {
public:
    static constexpr const wchar_t* kName = L"qfcLibForms";
    static const IID& iid() { return IID__qfcLibForms; }

    STDMETHODIMP FormRemoveX(IDispatch** vForm, VARIANT_BOOL* result) override;
    STDMETHODIMP GradientForm(IDispatch** vForm, qcGradientColors vColor, unsigned char vInvert) override;
    STDMETHODIMP BringWindowToFront(IDispatch** vForm, qcZOrderConstants vState) override;
    STDMETHODIMP CenterForm(IDispatch** vForm, IDispatch** vParent) override;
    STDMETHODIMP CloseWindow(IDispatch** vForm, qcCloseWindowStyles vStyle, short vSpeed) override;
    STDMETHODIMP EtchedLine(IDispatch** vForm, short x1, short y1, short vLengthOfLine, unsigned char vVertical) override;
    STDMETHODIMP FormClose(IDispatch** vForm, qcCloseWindowStyles vStyle) override;
    STDMETHODIMP FormOpen(IDispatch** vForm, IDispatch** vParent, VARIANT_BOOL vDisplayForm, VARIANT_BOOL* vShowModal) override;
    STDMETHODIMP SlideWindow(IDispatch** vForm, LONG vEndWidth, LONG vEndHeight, unsigned char vCenterOnComplete, short vSpeed) override;
};

} // namespace quillon

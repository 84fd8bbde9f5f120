// qfcLibCore: the application context, its version, the welcome dialog.
#pragma once

#include "server/DispatchObject.h"

namespace quillon {

class qfcLibCore final : public DispatchObject<qfcLibCore, _qfcLibCore> {
public:
    static constexpr const wchar_t* kName = L"qfcLibCore";
    static const IID& iid() { return IID__qfcLibCore; }

    STDMETHODIMP ShowRunOnceDialog(BSTR vDialogText, BSTR vDialogFileName, BSTR vHeadingText, BSTR vFormCaption,
                                   LONG vFormWidth, LONG vFormHeight) override;
    STDMETHODIMP GetAppVersion(VARIANT_BOOL vFormatted, BSTR* result) override;
    STDMETHODIMP InitCore(BSTR sAppName, BSTR sAppTitle, BSTR sAppPath, short iAppMajor, short iAppMinor,
                          short iAppRevision) override;
};

} // namespace quillon

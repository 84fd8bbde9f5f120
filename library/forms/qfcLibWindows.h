// qfcLibWindows: processes, shell commands, control-panel applets and wallpaper.
#pragma once

#include "server/DispatchObject.h"

namespace quillon {

class qfcLibWindows final : public DispatchObject<qfcLibWindows, _qfcLibWindows> {
public:
    static constexpr const wchar_t* kName = L"qfcLibWindows";
    static const IID& iid() { return IID__qfcLibWindows; }

    STDMETHODIMP SetWallpaper(BSTR* vFileName, LONG* result) override;
    STDMETHODIMP ExecuteCommand(BSTR vCommandLine, VARIANT_BOOL vWaitForObject) override;
    STDMETHODIMP OpenCPApplet(qcCPApplets vAppIndex) override;
    STDMETHODIMP ShellCommand(BSTR vFileEmailURL, BSTR vParameters, qcShowActions vShowAction, qcShowStates vShowState, BSTR vDefaultDirectory, LONG vOwnerhWnd, VARIANT_BOOL vShowErrorMsg, VARIANT_BOOL* result) override;
};

} // namespace quillon

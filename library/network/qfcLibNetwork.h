// qfcLibNetwork: HTTP requests, user and machine names, network connections.
#pragma once

#include "server/DispatchObject.h"

namespace quillon {

class qfcLibNetwork final : public DispatchObject<qfcLibNetwork, _qfcLibNetwork> {
public:
    static constexpr const wchar_t* kName = L"qfcLibNetwork";
    static const IID& iid() { return IID__qfcLibNetwork; }

    STDMETHODIMP GetHTTPSource(BSTR vURL, VARIANT* vSourceCode, BSTR sMethod, VARIANT vBody, BSTR vUserName, BSTR vPassword, VARIANT_BOOL bReturnXML, LONG* iErrorNum, BSTR* sErrorMSG, VARIANT_BOOL* result) override;
    STDMETHODIMP GetUserID(BSTR* result) override;
    STDMETHODIMP OpenURL(BSTR vLinkName, LONG vFormHwnd, VARIANT_BOOL* result) override;
    STDMETHODIMP GetMachineName(BSTR* result) override;
    STDMETHODIMP MapNetDriveDialog(LONG vFormHwnd, LONG* result) override;
    STDMETHODIMP MapNetDrive(BSTR vPath, BSTR vDrive, BSTR vUserName, BSTR vPassword, LONG vFormHwnd, VARIANT_BOOL* vPermConnect, LONG* result) override;
    STDMETHODIMP MapNetPrinterDialog(LONG vFormHwnd, LONG* result) override;
    STDMETHODIMP UnMapNetDrive(BSTR vDrive, VARIANT_BOOL vPermDisconnect, VARIANT_BOOL vForce, LONG* result) override;
    STDMETHODIMP UnMapNetDriveDialog(LONG vFormHwnd, LONG* result) override;
    STDMETHODIMP UnMapNetPrinterDialog(LONG vFormHwnd, LONG* result) override;
};

} // namespace quillon

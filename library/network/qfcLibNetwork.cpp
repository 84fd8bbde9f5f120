#include "qfcLibNetwork.h"

#include "network/qfcLibNetworkA.h"

namespace quillon {

STDMETHODIMP qfcLibNetwork::GetHTTPSource(BSTR vURL, VARIANT* vSourceCode, BSTR sMethod, VARIANT vBody,
                                          BSTR vUserName, BSTR vPassword, VARIANT_BOOL bReturnXML, LONG* iErrorNum,
                                          BSTR* sErrorMSG, VARIANT_BOOL* result)
{
    return call(result, [&] {
        raii::UniqueVariant source;
        long number = 0;
        std::wstring message;
        bool fetched = qfcLibNetworkA::GetHTTPSource(arg(vURL), *source.get(), arg(sMethod), vBody, arg(vUserName),
                                                     arg(vPassword), isTrue(bReturnXML), number, message);
        if (vSourceCode) VariantCopy(vSourceCode, source.get());
        if (iErrorNum) *iErrorNum = number;
        if (sErrorMSG) {
            SysFreeString(*sErrorMSG);
            *sErrorMSG = raii::makeBstr(message).release();
        }
        return fetched;
    });
}

STDMETHODIMP qfcLibNetwork::GetUserID(BSTR* result)
{
    return call(result, [] { return qfcLibNetworkA::GetUserID(); });
}

STDMETHODIMP qfcLibNetwork::OpenURL(BSTR vLinkName, LONG vFormHwnd, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibNetworkA::OpenURL(arg(vLinkName), vFormHwnd); });
}

STDMETHODIMP qfcLibNetwork::GetMachineName(BSTR* result)
{
    return call(result, [] { return qfcLibNetworkA::GetMachineName(); });
}

STDMETHODIMP qfcLibNetwork::MapNetDriveDialog(LONG vFormHwnd, LONG* result)
{
    return call(result, [&] { return qfcLibNetworkA::MapNetDriveDialog(vFormHwnd); });
}

STDMETHODIMP qfcLibNetwork::MapNetDrive(BSTR vPath, BSTR vDrive, BSTR vUserName, BSTR vPassword, LONG vFormHwnd,
                                        VARIANT_BOOL* vPermConnect, LONG* result)
{
    return call(result, [&] {
        return qfcLibNetworkA::MapNetDrive(arg(vPath), arg(vDrive), arg(vUserName), arg(vPassword), vFormHwnd,
                                           vPermConnect && isTrue(*vPermConnect));
    });
}

STDMETHODIMP qfcLibNetwork::MapNetPrinterDialog(LONG vFormHwnd, LONG* result)
{
    return call(result, [&] { return qfcLibNetworkA::MapNetPrinterDialog(vFormHwnd); });
}

STDMETHODIMP qfcLibNetwork::UnMapNetDrive(BSTR vDrive, VARIANT_BOOL vPermDisconnect, VARIANT_BOOL vForce,
                                          LONG* result)
{
    return call(result, [&] {
        return qfcLibNetworkA::UnMapNetDrive(arg(vDrive), isTrue(vPermDisconnect), isTrue(vForce));
    });
}

STDMETHODIMP qfcLibNetwork::UnMapNetDriveDialog(LONG vFormHwnd, LONG* result)
{
    return call(result, [&] { return qfcLibNetworkA::UnMapNetDriveDialog(vFormHwnd); });
}

STDMETHODIMP qfcLibNetwork::UnMapNetPrinterDialog(LONG vFormHwnd, LONG* result)
{
    return call(result, [&] { return qfcLibNetworkA::UnMapNetPrinterDialog(vFormHwnd); });
}

} // namespace quillon

#include "qfcLibNetwork.h"

#include "network/qfcLibNetworkA.h"

namespace quillon {

namespace {

// The fetched text, or no object where XML was asked for and nothing came.
void writeSource(VARIANT* vSourceCode, VARIANT& source)
{
    if (V_VT(&source) == VT_BSTR) return writeVariant(vSourceCode, arg(V_BSTR(&source)));
    VARIANT* target = resolved(vSourceCode);
    if (!target) return;
    if (V_VT(target) & VT_BYREF) throw RuntimeError(kTypeMismatch);
    VariantClear(target);
    VariantCopy(target, &source);
}

} // namespace

// Never raises: failures reach the caller through iErrorNum and sErrorMSG.
STDMETHODIMP qfcLibNetwork::GetHTTPSource(BSTR vURL, VARIANT* vSourceCode, BSTR sMethod, VARIANT vBody,
                                          BSTR vUserName, BSTR vPassword, VARIANT_BOOL bReturnXML, LONG* iErrorNum,
                                          BSTR* sErrorMSG, VARIANT_BOOL* result)
{
    return trap(result, false, [&] {
        raii::UniqueVariant source;
        long number = 0;
        std::wstring message;
        bool fetched = qfcLibNetworkA::GetHTTPSource(arg(vURL), *source.get(), arg(sMethod), vBody, arg(vUserName),
                                                     arg(vPassword), isTrue(bReturnXML), number, message);
        writeSource(vSourceCode, *source.get());
        writeRef(iErrorNum, LONG(number));
        writeText(sErrorMSG, message);
        return fetched;
    });
}

STDMETHODIMP qfcLibNetwork::GetUserID(BSTR* result)
{
    return call(result, [] { return qfcLibNetworkA::GetUserID(); });
}

STDMETHODIMP qfcLibNetwork::OpenURL(BSTR vLinkName, LONG vFormHwnd, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibNetworkA::OpenURL(nameText(vLinkName), vFormHwnd); });
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
        return qfcLibNetworkA::MapNetDrive(nameText(vPath), nameText(vDrive), nameText(vUserName),
                                           nameText(vPassword), vFormHwnd,
                                           isTrue(readRef(vPermConnect, VARIANT_FALSE)));
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
        return qfcLibNetworkA::UnMapNetDrive(nameText(vDrive), isTrue(vPermDisconnect), isTrue(vForce));
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

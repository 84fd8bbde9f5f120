#include "qfcLibNetwork.h"

#include "network/qfcLibNetworkA.h"

namespace quillon {

namespace {

// A drive text becomes a name only through NetworkRules::DriveName, which takes nothing but "x" or "x:".
std::wstring driveArg(BSTR vDrive) { return withoutTrailingNuls(arg(vDrive)); }

// A byte array goes as it is; anything else as its text (missing or null: none).
qfcLibNetworkA::HttpBody bodyArg(const VARIANT& vBody)
{
    qfcLibNetworkA::HttpBody body;
    const VARIANT* value = resolved(&vBody);
    if (value && (V_VT(value) & ~VT_BYREF) == (VT_ARRAY | VT_UI1)) {
        SAFEARRAY* array = (V_VT(value) & VT_BYREF) ? *V_ARRAYREF(value) : V_ARRAY(value);
        body.isBytes = true;
        if (!array) return body;
        LONG lower = 0, upper = -1;
        if (SafeArrayGetDim(array) != 1) body.error = DISP_E_TYPEMISMATCH;
        else if (SUCCEEDED(body.error = SafeArrayGetLBound(array, 1, &lower)) &&
                 SUCCEEDED(body.error = SafeArrayGetUBound(array, 1, &upper)) && upper >= lower)
            body.bytes.assign(static_cast<const char*>(array->pvData), static_cast<size_t>(upper - lower + 1));
        return body;
    }
    if (isMissing(value)) return body;
    raii::UniqueVariant text;
    body.error = VariantChangeType(text.get(), const_cast<VARIANT*>(value), VARIANT_ALPHABOOL, VT_BSTR);
    if (SUCCEEDED(body.error)) body.text = arg(V_BSTR(text.get()));
    return body;
}

// The fetched text; where XML was asked for and nothing came, no object.
void writeSource(VARIANT* vSourceCode, const std::wstring& source, bool noObject)
{
    if (!noObject) return writeVariant(vSourceCode, source);
    VARIANT* target = resolved(vSourceCode);
    if (!target) return;
    if (V_VT(target) & VT_BYREF) throw RuntimeError(kTypeMismatch);
    VariantClear(target);
    V_VT(target) = VT_DISPATCH;
    V_DISPATCH(target) = nullptr;
}

} // namespace

// Never raises: failures reach the caller through iErrorNum and sErrorMSG.
STDMETHODIMP qfcLibNetwork::GetHTTPSource(BSTR vURL, VARIANT* vSourceCode, BSTR sMethod, VARIANT vBody,
                                          BSTR vUserName, BSTR vPassword, VARIANT_BOOL bReturnXML, LONG* iErrorNum,
                                          BSTR* sErrorMSG, VARIANT_BOOL* result)
{
    return trap(result, false, [&] {
        std::wstring source, message;
        long number = 0;
        bool fetched = qfcLibNetworkA::GetHTTPSource(arg(vURL), source, arg(sMethod), bodyArg(vBody), arg(vUserName),
                                                     arg(vPassword), isTrue(bReturnXML), number, message);
        writeSource(vSourceCode, source, !fetched && isTrue(bReturnXML));
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
    return trap(result, false, [&] { return qfcLibNetworkA::OpenURL(commandLineArg(vLinkName), vFormHwnd); });
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
        return qfcLibNetworkA::MapNetDrive(nameIfWhole(vPath, NameKind::CommandLine), driveArg(vDrive),
                                           nameIfWhole(vUserName, NameKind::CommandLine),
                                           nameIfWhole(vPassword, NameKind::CommandLine), vFormHwnd,
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
        return qfcLibNetworkA::UnMapNetDrive(driveArg(vDrive), isTrue(vPermDisconnect), isTrue(vForce));
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

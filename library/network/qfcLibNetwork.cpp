#include "qfcLibNetwork.h"

namespace quillon {

STDMETHODIMP qfcLibNetwork::GetHTTPSource(BSTR, VARIANT*, BSTR, VARIANT, BSTR, BSTR, VARIANT_BOOL, LONG*, BSTR*, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibNetwork::GetUserID(BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibNetwork::OpenURL(BSTR, LONG, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibNetwork::GetMachineName(BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibNetwork::MapNetDriveDialog(LONG, LONG*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibNetwork::MapNetDrive(BSTR, BSTR, BSTR, BSTR, LONG, VARIANT_BOOL*, LONG*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibNetwork::MapNetPrinterDialog(LONG, LONG*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibNetwork::UnMapNetDrive(BSTR, VARIANT_BOOL, VARIANT_BOOL, LONG*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibNetwork::UnMapNetDriveDialog(LONG, LONG*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibNetwork::UnMapNetPrinterDialog(LONG, LONG*)
{
    return notImplemented();
}

} // namespace quillon

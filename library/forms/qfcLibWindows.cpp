#include "qfcLibWindows.h"

namespace quillon {

STDMETHODIMP qfcLibWindows::SetWallpaper(BSTR*, LONG*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibWindows::ExecuteCommand(BSTR, VARIANT_BOOL)
{
    return notImplemented();
}

STDMETHODIMP qfcLibWindows::OpenCPApplet(qcCPApplets)
{
    return notImplemented();
}

STDMETHODIMP qfcLibWindows::ShellCommand(BSTR, BSTR, qcShowActions, qcShowStates, BSTR, LONG, VARIANT_BOOL, VARIANT_BOOL*)
{
    return notImplemented();
}

} // namespace quillon

#include "qfcLibStrings.h"

namespace quillon {

STDMETHODIMP qfcLibStrings::ProperCase(BSTR, BSTR, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibStrings::UnQuoteString(BSTR, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibStrings::DecryptPassword(short, BSTR, VARIANT_BOOL, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibStrings::EncryptPassword(short, BSTR, VARIANT_BOOL, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibStrings::PhoneFormat(BSTR, VARIANT_BOOL, IDispatch**, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibStrings::StringReplace(BSTR, BSTR, BSTR, unsigned char, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibStrings::StringStrip(BSTR*, BSTR*, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibStrings::SwapInt(short*, short*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibStrings::SwapStr(BSTR*, BSTR*)
{
    return notImplemented();
}

} // namespace quillon

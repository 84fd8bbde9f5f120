#include "qfcLibStrings.h"

#include "qfcLibStringsA.h"

namespace quillon {

STDMETHODIMP qfcLibStrings::ProperCase(BSTR vText, BSTR vArgs, BSTR* result)
{
    return call(result, [&] { return qfcLibStringsA::ProperCase(arg(vText), arg(vArgs)); });
}

STDMETHODIMP qfcLibStrings::UnQuoteString(BSTR vQuotedString, BSTR* result)
{
    return call(result, [&] { return qfcLibStringsA::UnQuoteString(arg(vQuotedString)); });
}

STDMETHODIMP qfcLibStrings::DecryptPassword(short vKey, BSTR vPassword, VARIANT_BOOL vCaseSensitive, BSTR* result)
{
    return call(result, [&] { return qfcLibStringsA::DecryptPassword(vKey, arg(vPassword), isTrue(vCaseSensitive)); });
}

STDMETHODIMP qfcLibStrings::EncryptPassword(short vKey, BSTR vPassword, VARIANT_BOOL vCaseSensitive, BSTR* result)
{
    return call(result, [&] { return qfcLibStringsA::EncryptPassword(vKey, arg(vPassword), isTrue(vCaseSensitive)); });
}

STDMETHODIMP qfcLibStrings::PhoneFormat(BSTR vPhoneNumber, VARIANT_BOOL vCompress, IDispatch** vTextControl,
                                        BSTR* result)
{
    // Nothing escapes: should even the formatting fail, the caller gets the number back as given.
    return trap(result, arg(vPhoneNumber), [&] {
        return qfcLibStringsA::PhoneFormat(arg(vPhoneNumber), isTrue(vCompress), objectArg(vTextControl).get());
    });
}

STDMETHODIMP qfcLibStrings::StringReplace(BSTR vText, BSTR vSourceChar, BSTR vTargetChar,
                                          unsigned char vCaseSensitive, BSTR* result)
{
    return call(result, [&] {
        return qfcLibStringsA::StringReplace(arg(vText), arg(vSourceChar), arg(vTargetChar), vCaseSensitive);
    });
}

STDMETHODIMP qfcLibStrings::StringStrip(BSTR* vStr2Strip, BSTR* vCharSet, BSTR* result)
{
    return call(result, [&] { return qfcLibStringsA::StringStrip(readText(vStr2Strip), readText(vCharSet)); });
}

STDMETHODIMP qfcLibStrings::SwapInt(short* vInt1, short* vInt2)
{
    return call([&] {
        short first = readRef(vInt1), second = readRef(vInt2);
        qfcLibStringsA::SwapInt(first, second);
        writeRef(vInt1, first);
        writeRef(vInt2, second);
    });
}

STDMETHODIMP qfcLibStrings::SwapStr(BSTR* vText1, BSTR* vText2)
{
    return call([&] {
        std::wstring first = readText(vText1), second = readText(vText2);
        qfcLibStringsA::SwapStr(first, second);
        writeText(vText1, first);
        writeText(vText2, second);
    });
}

} // namespace quillon

// qfcLibStrings: string utilities.
#pragma once

#include "server/DispatchObject.h"

namespace quillon {

class qfcLibStrings final : public DispatchObject<qfcLibStrings, _qfcLibStrings> {
public:
    static constexpr const wchar_t* kName = L"qfcLibStrings";
    static const IID& iid() { return IID__qfcLibStrings; }

    STDMETHODIMP ProperCase(BSTR vText, BSTR vArgs, BSTR* result) override;
    STDMETHODIMP UnQuoteString(BSTR vQuotedString, BSTR* result) override;
    STDMETHODIMP DecryptPassword(short vKey, BSTR vPassword, VARIANT_BOOL vCaseSensitive, BSTR* result) override;
    STDMETHODIMP EncryptPassword(short vKey, BSTR vPassword, VARIANT_BOOL vCaseSensitive, BSTR* result) override;
    STDMETHODIMP PhoneFormat(BSTR vPhoneNumber, VARIANT_BOOL vCompress, IDispatch** vTextControl, BSTR* result) override;
    STDMETHODIMP StringReplace(BSTR vText, BSTR vSourceChar, BSTR vTargetChar, unsigned char vCaseSensitive, BSTR* result) override;
    STDMETHODIMP StringStrip(BSTR* vStr2Strip, BSTR* vCharSet, BSTR* result) override;
    STDMETHODIMP SwapInt(short* vInt1, short* vInt2) override;
    STDMETHODIMP SwapStr(BSTR* vText1, BSTR* vText2) override;
};

} // namespace quillon

// The routines behind qfcLibStrings. The scrambler raises run-time errors 5 and 6;
// PhoneFormat lets no failure escape; the others cannot fail.
#pragma once

#include <oaidl.h>

#include <string>

namespace quillon::qfcLibStringsA {

std::wstring ProperCase(const std::wstring& vText, const std::wstring& vArgs);
std::wstring UnQuoteString(const std::wstring& vQuotedString);
std::wstring DecryptPassword(short vKey, const std::wstring& vPassword, bool vCaseSensitive);
std::wstring EncryptPassword(short vKey, const std::wstring& vPassword, bool vCaseSensitive);
// vTextControl: any object with a settable ForeColor (or null); it turns red for an invalid number, black otherwise.
std::wstring PhoneFormat(const std::wstring& vPhoneNumber, bool vCompress, IDispatch* vTextControl);
std::wstring StringReplace(const std::wstring& vText, const std::wstring& vSourceChar,
                           const std::wstring& vTargetChar, unsigned char vCaseSensitive);
std::wstring StringStrip(const std::wstring& vStr2Strip, const std::wstring& vCharSet);
void SwapInt(short& vInt1, short& vInt2);
void SwapStr(std::wstring& vText1, std::wstring& vText2);

} // namespace quillon::qfcLibStringsA

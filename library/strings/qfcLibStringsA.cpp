#include "qfcLibStringsA.h"

#include <utility>
#include <vector>

#include "AnsiText.h"
#include "LateBound.h"
#include "StringRules.h"
#include "TextCase.h"
#include "registry/qfcLibRegistryA.h"
#include "server/Failure.h"

namespace quillon::qfcLibStringsA {
namespace {

constexpr long kRed = 255;
constexpr long kBlack = 0;

using Rule = stringrules::ScrambleStatus (*)(short, const std::vector<int>&, std::vector<int>&);

void raiseFor(stringrules::ScrambleStatus status)
{
    switch (status) {
    case stringrules::ScrambleStatus::Ok:
        return;
    case stringrules::ScrambleStatus::Overflow:
        throw RuntimeError(kOverflow);
    case stringrules::ScrambleStatus::InvalidArgument:
        throw RuntimeError(kInvalidArgument);
    }
}

std::wstring scrambled(Rule rule, short key, const std::wstring& password, bool caseSensitive)
{
    std::vector<int> codes, result;
    if (!ansitext::ToCodes(caseSensitive ? password : textcase::Upper(password), codes))
        throw RuntimeError(kInvalidArgument);
    raiseFor(rule(key, codes, result));
    std::wstring text;
    if (!ansitext::FromCodes(result, text)) throw RuntimeError(kInvalidArgument);
    return text;
}

// Best effort: an object without a settable ForeColor is left alone.
void paint(IDispatch* control, stringrules::TextColour colour) noexcept
{
    if (!control) return;
    failure::trapAll([&] {
        latebound::Object(control).put(L"ForeColor", colour == stringrules::TextColour::Red ? kRed : kBlack);
    });
}

// A stored area code that cannot be read counts as none.
std::wstring areaCode() noexcept
{
    return failure::trap(std::wstring(), [] { return qfcLibRegistryA::KeyGet(checkedName(L"AreaCode"), L"", CheckedName(), qcBrannock); });
}

} // namespace

std::wstring ProperCase(const std::wstring& vText, const std::wstring& vArgs)
{
    return stringrules::ProperCase(vText, vArgs);
}

std::wstring UnQuoteString(const std::wstring& vQuotedString)
{
    return stringrules::UnQuoteString(vQuotedString);
}

std::wstring DecryptPassword(short vKey, const std::wstring& vPassword, bool vCaseSensitive)
{
    return scrambled(stringrules::Unscramble, vKey, vPassword, vCaseSensitive);
}

std::wstring EncryptPassword(short vKey, const std::wstring& vPassword, bool vCaseSensitive)
{
    return scrambled(stringrules::Scramble, vKey, vPassword, vCaseSensitive);
}

std::wstring PhoneFormat(const std::wstring& vPhoneNumber, bool vCompress, IDispatch* vTextControl)
{
    const stringrules::PhoneFormatted formatted = stringrules::PhoneFormat(vPhoneNumber, vCompress, areaCode());
    paint(vTextControl, formatted.colour);
    return formatted.text;
}

std::wstring StringReplace(const std::wstring& vText, const std::wstring& vSourceChar,
                           const std::wstring& vTargetChar, unsigned char vCaseSensitive)
{
    return stringrules::StringReplace(vText, vSourceChar, vTargetChar, vCaseSensitive != 0);
}

std::wstring StringStrip(const std::wstring& vStr2Strip, const std::wstring& vCharSet)
{
    return stringrules::StringStrip(vStr2Strip, vCharSet);
}

// By exchange, not by exclusive-or steps: one variable passed for both keeps its value.
void SwapInt(short& vInt1, short& vInt2) { std::swap(vInt1, vInt2); }

void SwapStr(std::wstring& vText1, std::wstring& vText2) { vText1.swap(vText2); }

} // namespace quillon::qfcLibStringsA

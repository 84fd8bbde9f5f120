#include "StringRules.h"

#include <climits>

#include "TextCase.h"

namespace quillon::stringrules {

const wchar_t* const kProperCaseDelimiters = L"@\\/ .([";

namespace {

const std::wstring kPhoneInvalid = L"`~!@#$%^&*_=+\\|[{]};:'<.>/?";
const std::wstring kKeypadLetters = L"ABCDEFGHIJKLMNOPQRSTUVWYZ";
const std::wstring kKeypadDigits = L"2223334445556667777888999";
const std::wstring kPhoneSeparators = L"()- ";

bool contains(const std::wstring& set, wchar_t c) { return set.find(c) != std::wstring::npos; }

// The xor mask 10 - key as a 16-bit value widened with its sign; false when it does not fit.
bool scrambleMask(short key, int& mask)
{
    const int value = 10 - int(key);
    if (value < SHRT_MIN || value > SHRT_MAX) return false;
    mask = value;
    return true;
}

// Positions count from 1: odd positions add the key when scrambling, even ones subtract it.
int keyShift(short key, std::size_t index) { return index % 2 == 0 ? int(key) : -int(key); }

bool isCode(int c) { return c >= 0 && c <= 255; }

// step(code, mask, shift) gives the new code of one character; 32-bit arithmetic throughout.
template <class Step>
ScrambleStatus scrambleWalk(short key, const std::vector<int>& codes, std::vector<int>& out, Step step)
{
    out.clear();
    out.reserve(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        int mask = 0;
        if (!scrambleMask(key, mask)) return ScrambleStatus::Overflow;
        const int c = step(codes[i], mask, keyShift(key, i));
        if (!isCode(c)) return ScrambleStatus::InvalidArgument;
        out.push_back(c);
    }
    return ScrambleStatus::Ok;
}

std::wstring withoutSeparators(const std::wstring& number)
{
    std::wstring out;
    for (wchar_t c : number)
        if (!contains(kPhoneSeparators, c)) out += c;
    return out;
}

// Keypad letters become digits, separators go; false when the number holds an invalid character.
bool cleanNumber(const std::wstring& upperNumber, std::wstring& out)
{
    for (wchar_t c : upperNumber) {
        if (contains(kPhoneInvalid, c)) return false;
        const std::size_t letter = kKeypadLetters.find(c);
        if (letter != std::wstring::npos)
            out += kKeypadDigits[letter];
        else if (!contains(kPhoneSeparators, c))
            out += c;
    }
    return true;
}

std::wstring byLength(const std::wstring& digits, const std::wstring& areaCode)
{
    if (digits.size() == 10)
        return L"(" + digits.substr(0, 3) + L") " + digits.substr(3, 3) + L"-" + digits.substr(6);
    if (digits.size() == 7) {
        const std::wstring prefix = areaCode.empty() ? std::wstring() : L"(" + areaCode + L") ";
        return prefix + digits.substr(0, 3) + L"-" + digits.substr(3);
    }
    return digits;
}

} // namespace

std::wstring ProperCase(const std::wstring& text, const std::wstring& delimiters)
{
    if (text.empty()) return text;
    const std::wstring upper = textcase::Upper(text), lower = textcase::Lower(text);
    std::wstring out(1, upper[0]);
    out.reserve(text.size());
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (!contains(delimiters, text[i])) {
            out += lower[i];
            continue;
        }
        out += text[i];
        if (++i < text.size()) out += upper[i];
    }
    return out;
}

std::wstring TrimBlanks(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

std::wstring UnQuoteString(const std::wstring& quoted)
{
    const std::wstring trimmed = TrimBlanks(quoted);
    if (trimmed.empty() || trimmed.front() != L'"' || trimmed.back() != L'"') return trimmed;
    // A lone quotation mark is both first and last: nothing lies between.
    return trimmed.size() < 2 ? std::wstring() : trimmed.substr(1, trimmed.size() - 2);
}

ScrambleStatus Scramble(short key, const std::vector<int>& codes, std::vector<int>& out)
{
    return scrambleWalk(key, codes, out, [](int code, int mask, int shift) { return (code + shift) ^ mask; });
}

ScrambleStatus Unscramble(short key, const std::vector<int>& codes, std::vector<int>& out)
{
    return scrambleWalk(key, codes, out, [](int code, int mask, int shift) { return (code ^ mask) - shift; });
}

PhoneFormatted PhoneFormat(const std::wstring& number, bool compress, const std::wstring& areaCode)
{
    if (compress) return {textcase::Lower(withoutSeparators(number)), TextColour::Black};
    std::wstring cleaned;
    if (!cleanNumber(textcase::Upper(number), cleaned)) return {number, TextColour::Red};
    return {textcase::Lower(byLength(cleaned, areaCode)), TextColour::Black};
}

std::wstring StringReplace(const std::wstring& text, const std::wstring& source, const std::wstring& target,
                           bool caseSensitive)
{
    if (source.empty()) return text;
    const std::wstring compared = caseSensitive ? text : textcase::Upper(text);
    const std::wstring wanted = caseSensitive ? source : textcase::Upper(source);
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); at += source.size()) {
        if (compared.compare(at, source.size(), wanted) == 0)
            out += target;
        else
            out.append(text, at, source.size());
    }
    return out;
}

std::wstring StringStrip(const std::wstring& text, const std::wstring& charSet)
{
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text)
        if (!contains(charSet, c)) out += c;
    return out;
}

} // namespace quillon::stringrules

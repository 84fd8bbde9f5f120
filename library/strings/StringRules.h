// The text rules of qfcLibStrings as plain functions: values in, values out.
#pragma once

#include <string>
#include <vector>

namespace quillon::stringrules {

extern const wchar_t* const kProperCaseDelimiters;  // "@\/ .(["

// First character and every character after a delimiter in upper case, the rest in lower case.
// A character that follows a delimiter is not itself taken as a delimiter.
std::wstring ProperCase(const std::wstring& text, const std::wstring& delimiters);

// Leading and trailing blanks (spaces only, not tabs) removed.
std::wstring TrimBlanks(const std::wstring& text);

// Blanks trimmed, then one pair of enclosing double quotation marks removed.
std::wstring UnQuoteString(const std::wstring& quoted);

// ---- password scrambler over ANSI character codes (0 to 255) ----

enum class ScrambleStatus {
    Ok,
    InvalidArgument,  // a computed code falls outside 0 to 255
    Overflow,         // 10 - key does not fit in 16 bits
};

ScrambleStatus Scramble(short key, const std::vector<int>& codes, std::vector<int>& out);
ScrambleStatus Unscramble(short key, const std::vector<int>& codes, std::vector<int>& out);

// ---- telephone numbers ----

enum class TextColour { Red, Black };

struct PhoneFormatted {
    std::wstring text;
    TextColour colour;  // what a text box showing the number should turn to
};

// areaCode: the stored area code ("" when none), put in front of 7-digit numbers.
PhoneFormatted PhoneFormat(const std::wstring& number, bool compress, const std::wstring& areaCode);

// ---- replacing, stripping ----

// Replaces each piece equal to source when text is cut into pieces of source's length
// from the start. An empty source changes nothing.
std::wstring StringReplace(const std::wstring& text, const std::wstring& source, const std::wstring& target,
                           bool caseSensitive);

std::wstring StringStrip(const std::wstring& text, const std::wstring& charSet);

} // namespace quillon::stringrules

#include "AnsiText.h"

#include <windows.h>

#include <array>

namespace quillon::ansitext {
namespace {

constexpr wchar_t kNoCharacter = 0xFFFF;

// The character of each single-byte code; the ANSI code page is fixed for the life of the process.
const std::array<wchar_t, 256>& characterOfCode()
{
    static const std::array<wchar_t, 256> table = [] {
        std::array<wchar_t, 256> built{};
        for (int code = 0; code < 256; ++code) {
            const char byte = static_cast<char>(code);
            wchar_t c = kNoCharacter;
            if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &byte, 1, &c, 1) != 1) c = kNoCharacter;
            built[code] = c;
        }
        return built;
    }();
    return table;
}

int codeOf(wchar_t c)
{
    char bytes[8] = {};
    BOOL usedDefault = FALSE;
    const int count = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, sizeof(bytes), nullptr,
                                          &usedDefault);
    if (count != 1 || usedDefault) return -1;
    const int code = static_cast<unsigned char>(bytes[0]);
    // The way back must give the same character, or the code is a best fit.
    return characterOfCode()[code] == c ? code : -1;
}

} // namespace

bool ToCodes(const std::wstring& text, std::vector<int>& codes)
{
    codes.clear();
    codes.reserve(text.size());
    for (wchar_t c : text) {
        const int code = codeOf(c);
        if (code < 0) return false;
        codes.push_back(code);
    }
    return true;
}

bool FromCodes(const std::vector<int>& codes, std::wstring& text)
{
    text.clear();
    text.reserve(codes.size());
    for (int code : codes) {
        if (code < 0 || code > 255 || characterOfCode()[code] == kNoCharacter) return false;
        text += characterOfCode()[code];
    }
    return true;
}

} // namespace quillon::ansitext

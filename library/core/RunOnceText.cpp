#include "RunOnceText.h"

#include <windows.h>

#include "TextCodes.h"

namespace quillon::runonce {
namespace {

bool startsWith(const std::string& bytes, const char* mark, size_t size)
{
    return bytes.size() >= size && bytes.compare(0, size, mark, size) == 0;
}

} // namespace

std::wstring decodeText(const std::string& bytes)
{
    using namespace textcodes;
    if (startsWith(bytes, "\xEF\xBB\xBF", 3)) return FromCodePage(CP_UTF8, bytes.data() + 3, bytes.size() - 3);
    if (startsWith(bytes, "\xFF\xFE", 2)) return FromUtf16(bytes.data() + 2, bytes.size() - 2, false);
    if (startsWith(bytes, "\xFE\xFF", 2)) return FromUtf16(bytes.data() + 2, bytes.size() - 2, true);
    if (bytes.empty()) return {};
    std::wstring utf8 = FromCodePage(CP_UTF8, bytes.data(), bytes.size(), MB_ERR_INVALID_CHARS);
    return utf8.empty() ? FromCodePage(CP_ACP, bytes.data(), bytes.size()) : utf8;
}

std::string wholeCharacters(const std::string& bytes)
{
    size_t size = bytes.size();
    if (startsWith(bytes, "\xFF\xFE", 2) || startsWith(bytes, "\xFE\xFF", 2)) {
        size &= ~size_t(1);
        const bool bigEndian = bytes[0] == '\xFE';
        if (size >= 4) {
            const auto high = static_cast<unsigned char>(bytes[size - (bigEndian ? 2 : 1)]);
            if (high >= 0xD8 && high <= 0xDB) size -= 2;
        }
        return bytes.substr(0, size);
    }
    size_t continuation = 0;
    while (continuation < 3 && size > continuation &&
           (static_cast<unsigned char>(bytes[size - 1 - continuation]) & 0xC0) == 0x80)
        ++continuation;
    if (size > continuation) {
        const auto lead = static_cast<unsigned char>(bytes[size - 1 - continuation]);
        const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (length > continuation + 1) size -= continuation + 1;
    }
    return bytes.substr(0, size);
}

std::wstring withLineBreaks(const std::wstring& text)
{
    std::wstring result;
    result.reserve(text.size() + text.size() / 8 + 2);
    size_t start = 0;
    do {
        size_t end = text.find_first_of(L"\r\n", start);
        result.append(text, start, end == std::wstring::npos ? std::wstring::npos : end - start);
        result += L"\r\n";
        if (end == std::wstring::npos) break;
        start = end + ((text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? 2 : 1);
    } while (start < text.size());
    return result;
}

std::wstring heading(const std::wstring& text, const std::wstring& appTitle)
{
    return text == L"Welcome to {AppTitle}" ? L"Welcome to " + appTitle : text;
}

std::wstring caption(const std::wstring& text, const std::wstring& appTitle)
{
    return text == L"{AppTitle}" ? appTitle : text;
}

long usableWidth(long width) { return width < 2000 ? 6495 : width; }
long usableHeight(long height) { return height < 2000 ? 4800 : height; }

} // namespace quillon::runonce

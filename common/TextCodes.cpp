#include "TextCodes.h"

#include <climits>

namespace textcodes {

std::wstring FromCodePage(UINT codePage, const char* bytes, size_t size, DWORD flags)
{
    if (size == 0 || size > INT_MAX) return {};
    const int length = MultiByteToWideChar(codePage, flags, bytes, static_cast<int>(size), nullptr, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, bytes, static_cast<int>(size), text.data(), length);
    return text;
}

std::string ToCodePage(UINT codePage, const std::wstring& text)
{
    if (text.empty() || text.size() > INT_MAX / 4) return {};
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    if (size <= 0) return {};
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

std::wstring FromUtf16(const char* bytes, size_t size, bool bigEndian)
{
    std::wstring text(size / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]), second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

} // namespace textcodes

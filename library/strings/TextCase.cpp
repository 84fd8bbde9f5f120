#include "TextCase.h"

#include <windows.h>

namespace quillon::textcase {
namespace {

// CharUpperBuffW/CharLowerBuffW take a DWORD count: long texts go in slices.
template <DWORD (WINAPI* Map)(LPWSTR, DWORD)>
std::wstring mapped(std::wstring text)
{
    constexpr std::size_t kSlice = 1u << 30;
    for (std::size_t at = 0; at < text.size(); at += kSlice) {
        const std::size_t count = text.size() - at < kSlice ? text.size() - at : kSlice;
        Map(&text[at], static_cast<DWORD>(count));
    }
    return text;
}

} // namespace

std::wstring Upper(std::wstring text) { return mapped<CharUpperBuffW>(std::move(text)); }
std::wstring Lower(std::wstring text) { return mapped<CharLowerBuffW>(std::move(text)); }

wchar_t Upper(wchar_t c)
{
    CharUpperBuffW(&c, 1);
    return c;
}

} // namespace quillon::textcase

// Texts to and from the bytes of a code page, in one place for both programs.
// A text the system cannot convert, or longer than its functions take, gives "".
#pragma once

#include <windows.h>

#include <string>

namespace textcodes {

std::wstring FromCodePage(UINT codePage, const char* bytes, size_t size, DWORD flags = 0);
std::string ToCodePage(UINT codePage, const std::wstring& text);

// UTF-16 in either byte order, without its mark; an odd last byte is dropped.
std::wstring FromUtf16(const char* bytes, size_t size, bool bigEndian);

} // namespace textcodes

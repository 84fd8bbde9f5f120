// Upper and lower case of UTF-16 text, one code unit for one (the length never changes).
#pragma once

#include <string>

namespace quillon::textcase {

std::wstring Upper(std::wstring text);
std::wstring Lower(std::wstring text);
wchar_t Upper(wchar_t c);

} // namespace quillon::textcase

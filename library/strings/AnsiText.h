// Text as character codes of the system's ANSI code page, one byte per character:
// the stored form of the password scrambler.
#pragma once

#include <string>
#include <vector>

namespace quillon::ansitext {

// False when a character has no single-byte code of its own in the code page
// (a lossy best-fit or default character would corrupt the stored form).
bool ToCodes(const std::wstring& text, std::vector<int>& codes);

// False when a code (0 to 255) stands for no character on its own (a lead byte of a double-byte code page).
bool FromCodes(const std::vector<int>& codes, std::wstring& text);

} // namespace quillon::ansitext

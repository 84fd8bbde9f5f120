// The value rules behind qfcLibNetwork, apart from any Windows call.
#pragma once

#include <string>

namespace quillon::NetworkRules {

enum class DriveUse { Map, Unmap };

// "X:" for an accepted drive text ("x" or "x:", upper-cased first), "" for an invalid one.
// A single letter maps only from D on (A to C are the local floppy and system drives).
std::wstring DriveName(const std::wstring& vDrive, DriveUse use);

// The request method: trimmed of blanks and upper-cased, "GET" when nothing is left.
std::wstring RequestMethod(const std::wstring& sMethod);

// The charset parameter of a Content-Type header, unquoted and lower-cased; "" when it has none.
std::wstring CharsetOf(const std::wstring& contentType);

// Code pages of the texts a response may come in.
constexpr unsigned kUtf8 = 65001, kUtf16 = 1200, kUtf16BigEndian = 1201;

// The Windows code page of a charset name (as CharsetOf gives it); 0 for a name it does not know.
unsigned CodePageOf(const std::wstring& charset);

// The code page a byte-order mark at the start of bytes announces, and the mark's length; 0 without one.
unsigned CodePageOfMark(const std::string& bytes, size_t& markLength);

} // namespace quillon::NetworkRules

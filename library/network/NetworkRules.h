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

} // namespace quillon::NetworkRules

#include "NetworkRules.h"

#include <cwctype>

#include "forms/ShellRules.h"

namespace quillon::NetworkRules {
namespace {

wchar_t upper(wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); }
bool isLetter(wchar_t c) { return c >= L'A' && c <= L'Z'; }

} // namespace

std::wstring DriveName(const std::wstring& vDrive, DriveUse use)
{
    if (vDrive.size() == 1) {
        wchar_t letter = upper(vDrive[0]);
        wchar_t first = use == DriveUse::Map ? L'D' : L'A';
        if (letter >= first && letter <= L'Z') return std::wstring(1, letter) + L':';
    } else if (vDrive.size() == 2 && vDrive[1] == L':') {
        wchar_t letter = upper(vDrive[0]);
        if (isLetter(letter)) return std::wstring(1, letter) + L':';
    }
    return std::wstring();
}

std::wstring RequestMethod(const std::wstring& sMethod)
{
    std::wstring method = ShellRules::TrimSpaces(sMethod);
    for (wchar_t& c : method) c = upper(c);
    return method.empty() ? L"GET" : method;
}

} // namespace quillon::NetworkRules

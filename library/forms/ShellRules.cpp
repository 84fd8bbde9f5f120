#include "ShellRules.h"

#include <iterator>

namespace quillon::ShellRules {

const wchar_t* ShellVerb(long vShowAction)
{
    static const wchar_t* const verbs[] = {L"open", L"explore", L"edit", L"print", L"properties", L"find", L"play"};
    if (vShowAction < 0 || vShowAction >= long(std::size(verbs))) return nullptr;
    return verbs[vShowAction];
}

const wchar_t* AppletText(long vAppIndex)
{
    static const wchar_t* const applets[] = {
        L"",              L"access.cpl,,5", L"access.cpl,,3", L"access.cpl,,1", L"access.cpl,,4",
        L"access.cpl,,2", L"desk.cpl,,0",   L"desk.cpl,,2",   L"desk.cpl,,1",   L"desk.cpl,,3",
        L"timedate.cpl",  L"inetcpl.cpl",   L"intl.cpl",      L"joy.cpl",       L"main.cpl",
        L"mlcfg32.cpl",   L"mmsys.cpl",     L"modem.cpl",     L"netcpl.cpl",    L"odbccp32.cpl",
        L"password.cpl",  L"sysdm.cpl",     L"themes.cpl",    L"s32lucp1.cpl",
    };
    if (vAppIndex < 0 || vAppIndex >= long(std::size(applets))) return nullptr;
    return applets[vAppIndex];
}

std::wstring AppletCommandLine(const std::wstring& runner, long vAppIndex, std::wstring& previousApplet)
{
    if (const wchar_t* applet = AppletText(vAppIndex)) previousApplet = applet;
    return L"\"" + runner + L"\" shell32.dll,Control_RunDLL " + previousApplet;
}

const wchar_t* ShellErrorDescription(long code)
{
    struct Entry { long code; const wchar_t* text; };
    static const Entry table[] = {
        {0, L"The operating system is out of memory or resources."},
        {2, L"The specified file was not found."},
        {3, L"The specified path was not found."},
        {5, L"The operating system denied access to the specified file."},
        {8, L"There was not enough memory to complete the operation."},
        {11, L"The .exe file is invalid (non-Win32\u00ae .exe or error in .exe image)."},
        {26, L"A sharing violation occurred."},
        {27, L"The file name association is incomplete or invalid."},
        {28, L"The DDE transaction could not be completed because the request timed out."},
        {29, L"The DDE transaction failed."},
        {30, L"The DDE transaction could not be completed because other DDE transactions were being processed."},
        {31, L"There is no application associated with the given file name extension. This error will also be "
             L"returned if you attempt to print a file that is not printable."},
        {32, L"The specified dynamic-link library was not found."},
    };
    for (const Entry& entry : table)
        if (entry.code == code) return entry.text;
    return L"Unknown Error.";
}

const wchar_t kShellErrorTitle[] = L"  ShellExecute - Error";

std::wstring ShellErrorMessage(long code)
{
    return std::wstring(L"The following error occured while trying to start the specified file, folder, URL, Email, "
                        L"or document:\r\rError Number = ") +
           std::to_wstring(code) + L"\rError Description = " + ShellErrorDescription(code);
}

std::wstring TrimSpaces(const std::wstring& text)
{
    size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

} // namespace quillon::ShellRules

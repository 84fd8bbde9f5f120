#include "LogFormat.h"

#include <cwctype>
#include <limits>

namespace vantorel::logformat {

std::wstring separator(const std::wstring& pattern)
{
    if (pattern.empty()) return std::wstring(kSeparatorLength, L' ');
    std::wstring text = pattern;
    while (text.size() < kSeparatorLength) text += text;
    return text.substr(0, kSeparatorLength);
}

std::wstring outerSeparator() { return separator(L"-=--="); }
std::wstring innerSeparator() { return separator(L"--.--"); }

std::wstring indent(unsigned depth) { return std::wstring(4 * static_cast<size_t>(depth), L' '); }

std::wstring logNumberLine(const std::wstring& number) { return L"Log Number: " + number; }

namespace {

std::wstring buildText(const Build& build)
{
    return build.fileDescription + L" (" + build.baseName + L".Exe) - Build: " + std::to_wstring(build.major) + L"." +
           std::to_wstring(build.minor) + L"." + std::to_wstring(build.revision);
}

} // namespace

std::wstring initiationLine(const Build& build, const std::wstring& longDate, const std::wstring& time)
{
    return buildText(build) + L" - Application Initiation. " + longDate + L" @ " + time;
}

std::wstring terminationLine(const Build& build, const std::wstring& longDate, const std::wstring& time)
{
    return buildText(build) + L" - Application Termination. " + longDate + L" <|> " + time;
}

std::wstring beginInitializationLine(const std::wstring& time) { return L"BEGIN Application Initialization <@>" + time; }
std::wstring endInitializationLine(const std::wstring& time) { return L"END   Application Initialization <@>" + time; }

std::wstring directoryLine(const std::wstring& folder)
{
    return L"INITIALIZATION - Application Directory  : " + folder;
}

std::wstring commandLineLine(const std::wstring& commandLine)
{
    return L"INITIALIZATION - Command Line Parameters: " + commandLine;
}

std::wstring beginProcedureLine(const std::wstring& name, const std::wstring& time)
{
    return L"BEGIN Procedure - " + name + L" <@> " + time;
}

std::wstring endProcedureLine(const std::wstring& name, const std::wstring& time, const std::wstring& description,
                              const std::wstring& result)
{
    return L"END   Procedure - " + name + L" <@> " + time + L"| Procedure results: " + description + L": " + result;
}

std::wstring postLine(const std::wstring& description, const std::wstring& value)
{
    return L"POST - " + description + L": " + value;
}

std::wstring nextLogNumber(const std::wstring& stored)
{
    size_t at = 0;
    while (at < stored.size() && (stored[at] == L' ' || stored[at] == L'\t')) ++at;
    bool negative = false;
    if (at < stored.size() && (stored[at] == L'-' || stored[at] == L'+')) negative = stored[at++] == L'-';
    constexpr long long kCeiling = std::numeric_limits<long long>::max() - 1;
    long long number = 0;
    for (; at < stored.size() && stored[at] >= L'0' && stored[at] <= L'9'; ++at) {
        int digit = stored[at] - L'0';
        number = number > (kCeiling - digit) / 10 ? kCeiling : number * 10 + digit;
    }
    return std::to_wstring((negative ? -number : number) + 1);
}

bool isStartEntry(const std::wstring& name)
{
    if (name.size() != 4) return false;
    const wchar_t* main = L"MAIN";
    for (size_t i = 0; i < 4; ++i)
        if (static_cast<wchar_t>(std::towupper(name[i])) != main[i]) return false;
    return true;
}

} // namespace vantorel::logformat

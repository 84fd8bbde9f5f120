#include "NetworkRules.h"

#include <cwctype>
#include <utility>

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

std::wstring CharsetOf(const std::wstring& contentType)
{
    std::wstring lower = contentType;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    for (size_t at = lower.find(L';'); at != std::wstring::npos; at = lower.find(L';', at + 1)) {
        std::wstring parameter = ShellRules::TrimSpaces(lower.substr(at + 1, lower.find(L';', at + 1) - at - 1));
        size_t equals = parameter.find(L'=');
        if (equals == std::wstring::npos || ShellRules::TrimSpaces(parameter.substr(0, equals)) != L"charset")
            continue;
        std::wstring value = ShellRules::TrimSpaces(parameter.substr(equals + 1));
        if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::wstring();
}

unsigned CodePageOf(const std::wstring& charset)
{
    static const std::pair<const wchar_t*, unsigned> names[] = {
        {L"utf-8", kUtf8},         {L"utf8", kUtf8},           {L"utf-16", kUtf16},        {L"utf-16le", kUtf16},
        {L"unicode", kUtf16},      {L"utf-16be", kUtf16BigEndian}, {L"us-ascii", 20127},   {L"ascii", 20127},
        {L"iso-8859-1", 28591},    {L"latin1", 28591},         {L"iso-8859-2", 28592},     {L"iso-8859-3", 28593},
        {L"iso-8859-4", 28594},    {L"iso-8859-5", 28595},     {L"iso-8859-6", 28596},     {L"iso-8859-7", 28597},
        {L"iso-8859-8", 28598},    {L"iso-8859-9", 28599},     {L"iso-8859-13", 28603},    {L"iso-8859-15", 28605},
        {L"windows-1250", 1250},   {L"windows-1251", 1251},    {L"windows-1252", 1252},    {L"windows-1253", 1253},
        {L"windows-1254", 1254},   {L"windows-1255", 1255},    {L"windows-1256", 1256},    {L"windows-1257", 1257},
        {L"windows-1258", 1258},   {L"windows-874", 874},      {L"koi8-r", 20866},         {L"koi8-u", 21866},
        {L"shift_jis", 932},       {L"x-sjis", 932},           {L"euc-jp", 20932},         {L"iso-2022-jp", 50220},
        {L"gb2312", 936},          {L"gbk", 936},              {L"gb18030", 54936},        {L"big5", 950},
        {L"euc-kr", 949},          {L"ks_c_5601-1987", 949},   {L"ibm437", 437},           {L"ibm850", 850},
    };
    for (const auto& [name, codePage] : names)
        if (charset == name) return codePage;
    return 0;
}

unsigned CodePageOfMark(const std::string& bytes, size_t& markLength)
{
    static const std::pair<std::string, unsigned> marks[] = {
        {"\xEF\xBB\xBF", kUtf8}, {"\xFF\xFE", kUtf16}, {"\xFE\xFF", kUtf16BigEndian}};
    for (const auto& [mark, codePage] : marks) {
        if (bytes.compare(0, mark.size(), mark) != 0) continue;
        markLength = mark.size();
        return codePage;
    }
    markLength = 0;
    return 0;
}

} // namespace quillon::NetworkRules

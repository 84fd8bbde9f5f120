// The native build's stand-in for the system's case mapping (CharUpperBuffW and CharLowerBuffW): ASCII and Latin-1
// letters, one unit for one, others unchanged. The rules only rely on the mapping keeping the length.
#include "launcher/startup/StartupRules.h"
#include "strings/TextCase.h"

namespace {

wchar_t upperUnit(wchar_t c)
{
    if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<wchar_t>(c - 0x20);
    return c == 0xFF ? static_cast<wchar_t>(0x178) : c;
}

wchar_t lowerUnit(wchar_t c)
{
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<wchar_t>(c + 0x20);
    return c == 0x178 ? static_cast<wchar_t>(0xFF) : c;
}

template <wchar_t (*Map)(wchar_t)>
std::wstring mapped(std::wstring text)
{
    for (wchar_t& c : text) c = Map(c);
    return text;
}

} // namespace

namespace quillon::textcase {

std::wstring Upper(std::wstring text) { return mapped<upperUnit>(std::move(text)); }
std::wstring Lower(std::wstring text) { return mapped<lowerUnit>(std::move(text)); }

} // namespace quillon::textcase

namespace vantorel::rules {

std::wstring upperCase(const std::wstring& text) { return mapped<upperUnit>(text); }

} // namespace vantorel::rules

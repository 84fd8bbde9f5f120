#include "StartupRules.h"

#include <windows.h>

namespace vantorel::rules {

std::wstring upperCase(const std::wstring& text)
{
    std::wstring upper = text;
    if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

} // namespace vantorel::rules

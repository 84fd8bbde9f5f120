#include "LaunchRules.h"

#include <cmath>
#include <cwchar>
#include <cwctype>
#include <random>

#include "SystemLimits.h"

namespace vantorel::launch {
namespace {

std::wstring trimmed(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

bool equalsIgnoringCase(const std::wstring& text, const wchar_t* word)
{
    size_t i = 0;
    for (; i < text.size() && word[i]; ++i)
        if (std::towlower(text[i]) != std::towlower(word[i])) return false;
    return i == text.size() && !word[i];
}

std::wstring quotedIfBlank(const std::wstring& text)
{
    const bool quoted = !text.empty() && text.front() == L'"';
    return quoted || text.find(L' ') == std::wstring::npos ? text : L"\"" + text + L"\"";
}

} // namespace

std::optional<bool> readBooleanText(const std::wstring& text)
{
    const std::wstring word = trimmed(text);
    if (equalsIgnoringCase(word, L"True")) return true;
    if (equalsIgnoringCase(word, L"False")) return false;
    if (word.empty() || word.find(L'\0') != std::wstring::npos) return std::nullopt;
    // wcstod alone would accept "inf", "nan" and hexadecimal forms.
    for (wchar_t c : word)
        if (!std::iswdigit(c) && c != L'.' && c != L'-' && c != L'+' && c != L'e' && c != L'E') return std::nullopt;
    wchar_t* end = nullptr;
    const double number = std::wcstod(word.c_str(), &end);
    if (end != word.c_str() + word.size()) return std::nullopt;
    return number != 0.0;
}

std::wstring withLaunchMarker(const std::wstring& parameters)
{
    return parameters.find(L"launched") == std::wstring::npos ? parameters + L" -launched" : parameters;
}

std::wstring withBackslashes(const std::wstring& path)
{
    std::wstring result = path;
    for (wchar_t& c : result)
        if (c == L'/') c = L'\\';
    return result;
}

std::wstring driveOf(const std::wstring& exePath)
{
    if (exePath.size() < 2 || exePath[1] != L':') return {};
    const wchar_t letter = exePath[0];
    const bool isLetter = (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
    return isLetter ? exePath.substr(0, 2) : std::wstring();
}

int pilotIndex(double r, int count)
{
    if (count < 1) return 0;
    if (!(r >= 0.0)) r = 0.0;
    if (!(r < 1.0)) return count - 1;
    const int index = static_cast<int>(std::floor(r * count));
    return index >= count ? count - 1 : index;
}

double drawUniform(unsigned long seed)
{
    std::mt19937 generator(static_cast<std::mt19937::result_type>(seed));
    // 53 random bits scaled by 2^-53: strictly below 1, unlike some distributions' rounding.
    const unsigned long long high = generator() >> 5, low = generator() >> 6;
    return static_cast<double>((high << 26) | low) / 9007199254740992.0;
}

std::wstring gameCommandLine(const std::wstring& exePath, const std::optional<std::wstring>& pilotName,
                             const std::wstring& parameters)
{
    std::wstring line = quotedIfBlank(exePath);
    if (pilotName) line += L" -pilot " + quotedIfBlank(*pilotName);
    return line + L" " + parameters;
}

bool fitsCommandLine(const std::wstring& commandLine) { return commandLine.size() <= syslimits::kMaxCommandLine; }

std::wstring gameNotFoundText(const std::wstring& exePath)
{
    return L"Vantorel could not find the game at " + exePath +
           L". Choose the game's main.exe in the options (Vantorel /OPTIONS).";
}

std::wstring commandLineTooLongText(size_t length)
{
    return L"The game's command line is " + std::to_wstring(length) + L" characters long; Windows accepts " +
           std::to_wstring(syslimits::kMaxCommandLine) +
           L". Shorten the game's parameters in the options (Vantorel /OPTIONS).";
}

std::wstring gameNotStartedText(const std::wstring& exePath, const std::wstring& reason)
{
    return L"Vantorel could not start the game " + exePath + L": " + reason;
}

} // namespace vantorel::launch

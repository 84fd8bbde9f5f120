// The game's command line with its pilot and parameters, and the launch's number rules.
#include <cstring>

#include "FuzzInput.h"
#include "launcher/launch/LaunchRules.h"
#include "launcher/startup/StartupRules.h"

using namespace vantorel;
using namespace fuzzinput;

namespace {

std::wstring quotedIfBlank(const std::wstring& text)
{
    return text.find(L' ') != std::wstring::npos && !startsWith(text, L"\"") ? L"\"" + text + L"\"" : text;
}

// What a file name may hold: no quote and no control character.
bool fileNameUnits(const std::wstring& text)
{
    for (wchar_t c : text)
        if (c < 32 || c == L'"') return false;
    return true;
}

double doubleOf(const std::wstring& text)
{
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < text.size() && i < 4; ++i) bits |= std::uint64_t(text[i] & 0xFFFF) << (16 * i);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

FUZZ_TARGET(texts)
{
    const std::wstring exe = texts[0], given = texts[1];
    const std::optional<std::wstring> pilot = texts.items.size() > 2 ? std::optional(texts[2]) : std::nullopt;
    const std::wstring parameters = launch::withLaunchMarker(given);
    const std::wstring line = launch::gameCommandLine(exe, pilot, parameters);

    // The executable first, the parameters last, the marker added once and only when missing.
    const std::wstring program = quotedIfBlank(exe);
    FUZZ_CHECK(startsWith(line, program) && endsWith(line, L" " + parameters));
    if (given.find(L"launched") == std::wstring::npos)
        FUZZ_CHECK(parameters == given + L" -launched" && endsWith(line, L" -launched") &&
                   count(parameters, L"launched") == 1);
    else
        FUZZ_CHECK(parameters == given);
    if (pilot) FUZZ_CHECK(startsWith(line, program + L" -pilot " + quotedIfBlank(*pilot) + L" "));

    // Windows reads the same program name back: the launcher's own reader finds the parameters after it.
    if (!pilot && fileNameUnits(exe) && !exe.empty()) {
        const std::size_t first = parameters.find_first_not_of(L" \t");
        FUZZ_CHECK(rules::argumentsOf(line) == (first == std::wstring::npos ? L"" : parameters.substr(first)));
    }

    const std::wstring drive = launch::driveOf(exe);
    FUZZ_CHECK(drive.empty() || (drive.size() == 2 && startsWith(exe, drive) && drive[1] == L':'));
    launch::readBooleanText(given);

    const int files = static_cast<int>(texts.number(4));
    const double draw = launch::drawUniform(texts.number(3) | (static_cast<unsigned long>(texts.number(5)) << 16));
    FUZZ_CHECK(draw >= 0.0 && draw < 1.0);
    for (double r : {draw, doubleOf(texts[3])}) {
        const int index = launch::pilotIndex(r, files);
        FUZZ_CHECK(files < 1 ? index == 0 : index >= 0 && index < files);
    }
}

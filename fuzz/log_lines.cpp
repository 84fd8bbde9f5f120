// The launcher's log lines and log number.
#include <cwchar>
#include <limits>

#include "FuzzInput.h"
#include "launcher/log/LogFormat.h"

using namespace vantorel::logformat;
using namespace fuzzinput;

FUZZ_TARGET(texts)
{
    const std::wstring pattern = texts[0], name = texts[1], time = texts[2];

    // A separator is the pattern repeated to exactly its length, blanks without one.
    const std::wstring line = separator(pattern);
    FUZZ_CHECK(line.size() == kSeparatorLength);
    for (std::size_t i = 0; i < line.size(); ++i) FUZZ_CHECK(line[i] == (pattern.empty() ? L' ' : pattern[i % pattern.size()]));
    const unsigned depth = texts.number(3) & 0x3FF;
    FUZZ_CHECK(indent(depth).size() == 4u * depth);

    // Each line keeps its values whole and in order after its fixed opening.
    const std::wstring begin = beginProcedureLine(name, time), end = endProcedureLine(name, time, pattern, name);
    FUZZ_CHECK(begin == L"BEGIN Procedure - " + name + L" <@> " + time);
    FUZZ_CHECK(startsWith(end, L"END   Procedure - " + name + L" <@> " + time) && endsWith(end, L": " + name));
    const Build build{pattern, name, long(texts.number(3)), -long(texts.number(4)), long(texts.number(5)) << 16};
    FUZZ_CHECK(startsWith(initiationLine(build, name, time), pattern + L" (" + name + L".Exe) - Build: "));
    FUZZ_CHECK(endsWith(terminationLine(build, name, time), L" <|> " + time));

    // The next log number is a whole number, one more than the stored one, and never overflows.
    const std::wstring next = nextLogNumber(pattern);
    wchar_t* stop = nullptr;
    const long long value = std::wcstoll(next.c_str(), &stop, 10);
    FUZZ_CHECK(!next.empty() && *stop == L'\0' && value != std::numeric_limits<long long>::min());
    if (next.size() < 18) FUZZ_CHECK(nextLogNumber(next) == std::to_wstring(value + 1));

    FUZZ_CHECK(isStartEntry(name) == (name.size() == 4 && (name[0] | 0x20) == L'm' && (name[1] | 0x20) == L'a' &&
                                      (name[2] | 0x20) == L'i' && (name[3] | 0x20) == L'n'));
}

// What the log writer needs from the system: the user's time and date texts and
// appending lines to a file in the ANSI code page.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

namespace vantorel {

class LogClock {
public:
    virtual ~LogClock() = default;
    virtual std::wstring timeText() = 0;      // hours and minutes as the user's locale writes them
    virtual std::wstring longDateText() = 0;  // the user's long date format
};

// The clock of the running system.
LogClock& localeClock();

// A given moment in the user's locale formats; "" when the locale cannot format it.
std::wstring localeTime(const SYSTEMTIME& moment);
std::wstring localeLongDate(const SYSTEMTIME& moment);

// The text in the ANSI code page, each unmappable character as the code page's default.
std::string toAnsi(const std::wstring& text);

// Opens the file for appending (creating it), writes each line with CR LF and
// closes it again. False when the file could not be opened or fully written.
bool appendLines(const std::wstring& path, const std::vector<std::wstring>& lines);

} // namespace vantorel

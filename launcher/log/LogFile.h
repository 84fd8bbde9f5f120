// What the log writer needs from the system: the user's time and date texts and
// appending lines to a file in the ANSI code page, and a folder where it may write.
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

// Where the log file `logFile` can be written: `ownLogPath` (the folder next to
// the program, ending in "\") when the file there can be opened for appending,
// which creates it; otherwise the player's own folder of the launcher, created
// when missing. A program folder under Program Files is not writable for a
// standard user.
std::wstring writableLogFolder(const std::wstring& ownLogPath, const std::wstring& logFile);

} // namespace vantorel

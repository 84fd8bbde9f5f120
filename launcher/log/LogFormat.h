// The lines of the launcher's log, composed from values alone.
#pragma once

#include <string>

namespace vantorel::logformat {

constexpr size_t kSeparatorLength = 120;

// The pattern repeated to exactly 120 characters.
std::wstring separator(const std::wstring& pattern);
std::wstring outerSeparator();  // "-=--="
std::wstring innerSeparator();  // "--.--"

// Four spaces per level.
std::wstring indent(unsigned depth);

struct Build {
    std::wstring fileDescription;
    std::wstring baseName;
    long major = 0;
    long minor = 0;
    long revision = 0;
};

std::wstring logNumberLine(const std::wstring& number);
std::wstring initiationLine(const Build& build, const std::wstring& longDate, const std::wstring& time);
std::wstring terminationLine(const Build& build, const std::wstring& longDate, const std::wstring& time);
std::wstring beginInitializationLine(const std::wstring& time);
std::wstring endInitializationLine(const std::wstring& time);
std::wstring directoryLine(const std::wstring& folder);
std::wstring commandLineLine(const std::wstring& commandLine);
std::wstring beginProcedureLine(const std::wstring& name, const std::wstring& time);
std::wstring endProcedureLine(const std::wstring& name, const std::wstring& time, const std::wstring& description,
                              const std::wstring& result);
std::wstring postLine(const std::wstring& description, const std::wstring& value);

// The stored log number plus one: the leading (optionally signed) whole number
// of the text, 0 when there is none, saturating instead of overflowing.
std::wstring nextLogNumber(const std::wstring& stored);

// A procedure name that closes the start phase ("Main" in any letter case).
bool isStartEntry(const std::wstring& name);

} // namespace vantorel::logformat

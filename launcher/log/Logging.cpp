#include "Logging.h"

#include <windows.h>

#include "LauncherError.h"

namespace vantorel {
namespace {

constexpr unsigned kMaxDepth = 255;

} // namespace

qcLogging::qcLogging(LogIdentity identity, SettingsStore& store, LogClock& clock)
    : identity_(std::move(identity)), store_(store), clock_(clock)
{
    logPath_ = identity_.folder + L"\\";
    logFile_ = identity_.build.baseName + L".log";
}

bool qcLogging::write(const std::vector<std::wstring>& lines)
{
    // A line that cannot be written is dropped: the launcher goes on without it.
    if (logMode_ != kLogFile) return true;
    return appendLines(logPath_ + logFile_, lines);
}

std::wstring qcLogging::readLogNumber(const wchar_t* procedure)
{
    return store_.KeyGet(L"Log", L"0", L"", kAppsKey, procedure);
}

std::vector<std::wstring> qcLogging::headerLines()
{
    std::wstring number;
    try {
        number = readLogNumber(L"qcLogging.StartLog");
    } catch (const LauncherError&) {
        // The header is best effort: an unreadable number leaves its place empty.
    }
    return {logformat::outerSeparator(), logformat::logNumberLine(number),
            logformat::initiationLine(identity_.build, clock_.longDateText(), clock_.timeText()),
            logformat::innerSeparator()};
}

long qcLogging::StartLog(const std::wstring&)
{
    if (logMode_ == kLogOff) return 0;
    depth_ = 1;
    stack_.assign(1, L"Main");
    std::vector<std::wstring> lines;
    if (logState_ == 0) lines = headerLines();
    lines.push_back(at(1, logformat::beginInitializationLine(clock_.timeText())));
    depth_ = 2;
    lines.push_back(at(2, logformat::directoryLine(identity_.folder)));
    lines.push_back(at(2, logformat::commandLineLine(identity_.commandLine)));
    if (!write(lines)) return -1;
    logState_ = 1;
    return 0;
}

void qcLogging::StartProc(const std::wstring& vProcName)
{
    if (!tracing()) return;
    write({at(depth_, logformat::beginProcedureLine(vProcName, clock_.timeText()))});
    if (depth_ < kMaxDepth) ++depth_;
    stack_.push_back(vProcName);
}

void qcLogging::StopProc(const std::wstring& vDescription, const std::wstring& vResult)
{
    if (!tracing() || stack_.empty()) return;
    const std::wstring name = stack_.back();
    if (depth_ > 0) --depth_;
    const std::wstring time = clock_.timeText();
    write({at(depth_, logformat::isStartEntry(name) ? logformat::endInitializationLine(time)
                                                    : logformat::endProcedureLine(name, time, vDescription, vResult))});
    stack_.pop_back();
}

void qcLogging::Post(const std::wstring& vDescription, const std::wstring& vValue)
{
    if (!tracing()) return;
    write({at(depth_, logformat::postLine(vDescription, vValue))});
}

void qcLogging::StopLog()
{
    if (!tracing()) return;
    write({logformat::innerSeparator(),
           logformat::terminationLine(identity_.build, clock_.longDateText(), clock_.timeText()),
           logformat::outerSeparator()});
    logState_ = 0;
    depth_ = 0;
    stack_.clear();
    const std::wstring next = logformat::nextLogNumber(readLogNumber(L"qcLogging.StopLog"));
    store_.KeySet(L"Log", next, L"", kAppsKey, L"qcLogging.StopLog");
}

int qcLogging::ResetLog()
{
    if (logMode_ != kLogFile) return 0;
    if (DeleteFileW((logPath_ + logFile_).c_str())) return 0;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : -1;
}

} // namespace vantorel

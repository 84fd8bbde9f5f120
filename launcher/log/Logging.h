// The launcher's run log: a header when logging starts, BEGIN/END lines around
// traced procedures, POST lines in between, and a footer when it stops.
#pragma once

#include <string>
#include <vector>

#include "LogFile.h"
#include "LogFormat.h"
#include "SettingsStore.h"

namespace vantorel {

struct LogIdentity {
    std::wstring folder;       // no trailing backslash except at a drive root
    std::wstring commandLine;
    logformat::Build build;    // file description, base name, version of the running launcher
};

enum LogModes : long { kLogOff = 0, kLogMemory = 1, kLogFile = 2 };

class qcLogging {
public:
    qcLogging(LogIdentity identity, SettingsStore& store, LogClock& clock = localeClock());

    void LogFile(const std::wstring& vFileName) { logFile_ = vFileName; }
    const std::wstring& LogFile() const { return logFile_; }
    long LogMode() const { return logMode_; }
    void LogMode(long vLogMode) { logMode_ = vLogMode; }
    long LogState() const { return logState_; }
    void LogPath(const std::wstring& vNewPath) { logPath_ = vNewPath; }
    const std::wstring& LogPath() const { return logPath_; }

    void Post(const std::wstring& vDescription = {}, const std::wstring& vValue = {});
    // Deletes LogPath + LogFile in file mode: 0 when it is gone, -1 when it could not be deleted.
    int ResetLog();
    void StartProc(const std::wstring& vProcName);
    void StopProc(const std::wstring& vDescription = {}, const std::wstring& vResult = {});
    unsigned char State() const { return static_cast<unsigned char>(logState_); }
    void StopLog();
    long StartLog(const std::wstring& vMainSubName = {});

    unsigned Depth() const { return depth_; }
    size_t OpenProcedures() const { return stack_.size(); }

private:
    bool tracing() const { return logMode_ != kLogOff && logState_ == 1; }
    std::wstring at(unsigned depth, const std::wstring& text) const { return logformat::indent(depth) + text; }
    bool write(const std::vector<std::wstring>& lines);
    std::vector<std::wstring> headerLines();
    std::wstring readLogNumber(const wchar_t* procedure);

    LogIdentity identity_;
    SettingsStore& store_;
    LogClock& clock_;
    unsigned depth_ = 0;
    std::vector<std::wstring> stack_;
    std::wstring logFile_;
    long logState_ = 0;
    long logMode_ = kLogOff;
    std::wstring logPath_;
};

} // namespace vantorel

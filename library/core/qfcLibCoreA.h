// Application context and version of the calling application, kept per thread.
#pragma once

#include <string>

namespace quillon::qfcLibCoreA {

struct AppContext {
    std::wstring AppName;
    std::wstring AppTitle;
    std::wstring AppPath;
    short AppMajor = 0;
    short AppMinor = 0;
    short AppRevision = 0;
};

// The calling thread's context: empty until InitCore runs on that thread.
const AppContext& Context();

void InitCore(const std::wstring& sAppName, const std::wstring& sAppTitle, const std::wstring& sAppPath,
              short iAppMajor, short iAppMinor, short iAppRevision);

std::wstring GetAppVersion(bool vFormatted);

// The version text of GetAppVersion for given numbers.
std::wstring FormatVersion(short major, short minor, short revision, bool formatted);

} // namespace quillon::qfcLibCoreA

#include "qfcLibCoreA.h"

#include "server/PerThread.h"

namespace quillon::qfcLibCoreA {
namespace {

AppContext& context() { return perthread::get<AppContext>(); }

} // namespace

const AppContext& Context() { return context(); }

void InitCore(const std::wstring& sAppName, const std::wstring& sAppTitle, const std::wstring& sAppPath,
              short iAppMajor, short iAppMinor, short iAppRevision)
{
    context() = AppContext{sAppName, sAppTitle, sAppPath, iAppMajor, iAppMinor, iAppRevision};
}

std::wstring GetAppVersion(bool vFormatted)
{
    const AppContext& current = context();
    return FormatVersion(current.AppMajor, current.AppMinor, current.AppRevision, vFormatted);
}

std::wstring FormatVersion(short major, short minor, short revision, bool formatted)
{
    if (!formatted) return std::to_wstring(major) + std::to_wstring(minor) + std::to_wstring(revision);
    return L"v" + std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." + std::to_wstring(revision);
}

} // namespace quillon::qfcLibCoreA

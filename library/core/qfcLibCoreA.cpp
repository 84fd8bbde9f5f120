#include "qfcLibCoreA.h"

namespace quillon::qfcLibCoreA {
namespace {

thread_local AppContext t_context;

} // namespace

const AppContext& Context() { return t_context; }

void InitCore(const std::wstring& sAppName, const std::wstring& sAppTitle, const std::wstring& sAppPath,
              short iAppMajor, short iAppMinor, short iAppRevision)
{
    t_context = AppContext{sAppName, sAppTitle, sAppPath, iAppMajor, iAppMinor, iAppRevision};
}

std::wstring GetAppVersion(bool vFormatted)
{
    return FormatVersion(t_context.AppMajor, t_context.AppMinor, t_context.AppRevision, vFormatted);
}

std::wstring FormatVersion(short major, short minor, short revision, bool formatted)
{
    if (!formatted) return std::to_wstring(major) + std::to_wstring(minor) + std::to_wstring(revision);
    return L"v" + std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." + std::to_wstring(revision);
}

} // namespace quillon::qfcLibCoreA

#include "VersionInfo.h"

#include <cstdio>
#include <vector>

namespace vantorel {

ProgramVersion versionFromFixed(const VS_FIXEDFILEINFO& fixed)
{
    ProgramVersion version;
    version.major = static_cast<short>(HIWORD(fixed.dwFileVersionMS));
    version.minor = static_cast<short>(LOWORD(fixed.dwFileVersionMS));
    version.revision = static_cast<short>(HIWORD(fixed.dwFileVersionLS));
    return version;
}

std::wstring runningProgramPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

namespace {

std::wstring fileDescription(const std::vector<BYTE>& block)
{
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof(Translation))
        return {};
    wchar_t query[64] = {};
    swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FileDescription", translation->language, translation->codePage);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&text), &size) || !text) return {};
    return text;
}

} // namespace

ProgramVersion readProgramVersion(const std::wstring& modulePath)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(modulePath.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(modulePath.c_str(), 0, size, block.data())) return {};
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ProgramVersion version;
    if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) &&
        fixedSize >= sizeof(VS_FIXEDFILEINFO))
        version = versionFromFixed(*fixed);
    version.fileDescription = fileDescription(block);
    return version;
}

} // namespace vantorel

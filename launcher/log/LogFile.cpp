#include "LogFile.h"

#include <shlobj.h>

#include "Raii.h"
#include "StartupRules.h"
#include "TextCodes.h"

namespace vantorel {
namespace {

class LocaleClock final : public LogClock {
public:
    std::wstring timeText() override { return localeTime(now()); }
    std::wstring longDateText() override { return localeLongDate(now()); }

private:
    static SYSTEMTIME now()
    {
        SYSTEMTIME moment{};
        GetLocalTime(&moment);
        return moment;
    }
};

raii::UniqueFile openForAppending(const std::wstring& path)
{
    if (path.find(L'\0') != std::wstring::npos) return {};
    return raii::UniqueFile(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::wstring localAppDataFolder()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return folder;
}

} // namespace

LogClock& localeClock()
{
    static LocaleClock clock;
    return clock;
}

std::wstring localeTime(const SYSTEMTIME& moment)
{
    wchar_t text[128] = {};
    int length = GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &moment, nullptr, text, ARRAYSIZE(text));
    return length > 0 ? std::wstring(text) : std::wstring();
}

std::wstring localeLongDate(const SYSTEMTIME& moment)
{
    wchar_t text[256] = {};
    int length = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &moment, nullptr, text, ARRAYSIZE(text));
    return length > 0 ? std::wstring(text) : std::wstring();
}

std::string toAnsi(const std::wstring& text) { return textcodes::ToCodePage(CP_ACP, text); }

bool appendLines(const std::wstring& path, const std::vector<std::wstring>& lines)
{
    raii::UniqueFile file = openForAppending(path);
    if (!file) return false;
    std::string bytes;
    for (const std::wstring& line : lines) bytes += toAnsi(line) + "\r\n";
    DWORD written = 0;
    if (bytes.empty()) return true;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::wstring writableLogFolder(const std::wstring& ownLogPath, const std::wstring& logFile)
{
    const bool writable = static_cast<bool>(openForAppending(ownLogPath + logFile));
    const std::wstring folder = rules::logFolder(ownLogPath, writable, writable ? L"" : localAppDataFolder());
    if (folder != ownLogPath) SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return folder;
}

} // namespace vantorel

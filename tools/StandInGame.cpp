// A stand-in for the game in tests, demonstrations and benchmarks (not part of
// the product). Started as main.exe, it writes what it received to
// "standin-record.txt" beside itself: its command line, current directory,
// arguments, and whether the pilot named by "-pilot" can be opened from its
// current directory. With STANDIN_STAY_MS set it then stays running that long;
// with STANDIN_HOLD_EVENT set it then waits (a minute at most) for that named
// event. STANDIN_RECORD names another record file, for tests that start several.
// Every start first adds a line to the record's name followed by ".starts", so
// tests can count starts. Its last act is to add the line "finished=1" to the record.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "TextCodes.h"

namespace {

std::wstring ownFolder()
{
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring currentDirectory()
{
    std::wstring folder(32768, L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
}

bool pilotOpens(int argc, wchar_t** argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (lstrcmpiW(argv[i], L"-pilot") != 0) continue;
        const std::wstring file = std::wstring(argv[i + 1]) + L".plt";
        HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return false;
        CloseHandle(handle);
        return true;
    }
    return false;
}

std::wstring record()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring text = L"commandline=" + std::wstring(GetCommandLineW()) + L"\r\n";
    text += L"directory=" + currentDirectory() + L"\r\n";
    text += L"argc=" + std::to_wstring(argc) + L"\r\n";
    for (int i = 0; i < argc; ++i) text += L"argv=" + std::wstring(argv[i]) + L"\r\n";
    text += std::wstring(L"pilotopens=") + (pilotOpens(argc, argv) ? L"1" : L"0") + L"\r\n";
    LocalFree(argv);
    return text;
}

std::wstring variable(const wchar_t* name)
{
    std::wstring value(32768, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
    return value;
}

std::wstring recordPath()
{
    const std::wstring named = variable(L"STANDIN_RECORD");
    return named.empty() ? ownFolder() + L"standin-record.txt" : named;
}

void holdForEvent()
{
    const std::wstring name = variable(L"STANDIN_HOLD_EVENT");
    if (name.empty()) return;
    HANDLE signal = OpenEventW(SYNCHRONIZE, FALSE, name.c_str());
    if (!signal) return;
    WaitForSingleObject(signal, 60000);
    CloseHandle(signal);
}

// Written under a temporary name and renamed, so a reader never sees half a record.
bool writeRecord(const std::wstring& path, const std::string& bytes)
{
    const std::wstring temporary = path + L".tmp";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// Added in place, so a reader that holds the file open does not stop it.
bool appendLine(const std::wstring& path, const std::string& line, DWORD disposition)
{
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              disposition, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
                    written == line.size();
    CloseHandle(file);
    return ok;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (!appendLine(recordPath() + L".starts", "started=1\r\n", OPEN_ALWAYS)) return 2;
    const std::string text = textcodes::ToCodePage(CP_UTF8, record());
    if (!writeRecord(recordPath(), text)) return 2;
    const std::wstring stay = variable(L"STANDIN_STAY_MS");
    if (!stay.empty()) Sleep(static_cast<DWORD>(_wtol(stay.c_str())));
    holdForEvent();
    return appendLine(recordPath(), "finished=1\r\n", OPEN_EXISTING) ? 0 : 2;
}

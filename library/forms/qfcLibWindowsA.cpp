#include "qfcLibWindowsA.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "Raii.h"
#include "forms/ShellRules.h"

namespace quillon::qfcLibWindowsA {
namespace {

constexpr long kNoOwner = -1;
constexpr int kNoShowCommand = -1;

// Window handles cross COM as 32-bit numbers; they widen with their sign, as the system does.
HWND windowFromLong(long value) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(value)); }

const wchar_t* optionalText(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

// Starts a command line with inheritance on, as the callers' programs expect;
// both handles of the new process are closed before returning.
bool startProcess(const std::wstring& commandLine, int showCommand, bool wait)
{
    if (!ShellRules::IsPassable(commandLine)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (showCommand != kNoShowCommand) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &started))
        return false;
    raii::UniqueHandle process(started.hProcess), thread(started.hThread);
    if (wait) WaitForSingleObject(process.get(), INFINITE);
    return true;
}

std::wstring& previousApplet()
{
    static thread_local std::wstring* text = nullptr;
    if (!text) text = new std::wstring();
    return *text;
}

void showShellError(HWND owner, long code)
{
    if (owner && !IsWindow(owner)) owner = nullptr;
    MessageBoxW(owner, ShellRules::ShellErrorMessage(code).c_str(), ShellRules::kShellErrorTitle,
                MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

long SetWallpaper(std::wstring& vFileName)
{
    if (vFileName == L"{None}") vFileName.clear();
    if (vFileName.find(L'\0') != std::wstring::npos || vFileName.size() >= 32767) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(vFileName.c_str()),
                                 SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

void ExecuteCommand(const std::wstring& vCommandLine, bool vWaitForObject)
{
    startProcess(vCommandLine, kNoShowCommand, vWaitForObject);
}

void OpenCPApplet(long vAppIndex)
{
    startProcess(ShellRules::AppletCommandLine(vAppIndex, previousApplet()), SW_SHOWMINIMIZED, false);
}

bool ShellCommand(const std::wstring& vFileEmailURL, const std::wstring& vParameters, long vShowAction,
                  long vShowState, const std::wstring& vDefaultDirectory, long vOwnerhWnd, bool vShowErrorMsg)
{
    std::wstring target = ShellRules::TrimSpaces(vFileEmailURL);
    if (target.empty()) return false;
    if (!ShellRules::IsPassable(target) || !ShellRules::IsPassable(vParameters) ||
        !ShellRules::IsPassable(vDefaultDirectory)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    HWND owner = vOwnerhWnd == kNoOwner ? nullptr : windowFromLong(vOwnerhWnd);
    HINSTANCE result = ShellExecuteW(owner, ShellRules::ShellVerb(vShowAction), target.c_str(),
                                     optionalText(vParameters), optionalText(vDefaultDirectory), vShowState);
    long code = static_cast<long>(reinterpret_cast<INT_PTR>(result));
    if (code > 32) return true;
    if (vShowErrorMsg) showShellError(owner, code);
    return false;
}

} // namespace quillon::qfcLibWindowsA

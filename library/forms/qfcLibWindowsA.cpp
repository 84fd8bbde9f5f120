#include "qfcLibWindowsA.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "Failure.h"
#include "PerThread.h"
#include "Raii.h"
#include "files/qfcLibFilesA.h"
#include "forms/ShellRules.h"

namespace quillon::qfcLibWindowsA {
namespace {

constexpr long kNoOwner = -1;
constexpr int kNoShowCommand = -1;

// Window handles cross COM as 32-bit numbers; they widen with their sign, as the system does.
HWND windowFromLong(long value) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(value)); }

const wchar_t* optionalText(const CheckedName& text) { return text.empty() ? nullptr : text.c_str(); }

// Starts a command line; both handles of the new process are closed before
// returning. 0, or the system's error code when the process could not be created.
DWORD createProcess(const CheckedName& commandLine, int showCommand, BOOL inheritHandles, bool wait)
{
    std::vector<wchar_t> buffer(commandLine.text().begin(), commandLine.text().end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (showCommand != kNoShowCommand) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    raii::ProcessInfo started;
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, inheritHandles, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, started.put())) {
        const DWORD error = GetLastError();
        return error ? error : ERROR_GEN_FAILURE;
    }
    if (wait) WaitForSingleObject(started.get().hProcess, INFINITE);
    return 0;
}

// Starts a command line with inheritance on, as the applets expect; a failure is recorded.
bool startProcess(const CheckedName& commandLine, int showCommand, bool wait)
{
    const DWORD error = createProcess(commandLine, showCommand, TRUE, wait);
    if (error) failure::recordWin32(static_cast<long>(error), L"CreateProcess");
    return error == 0;
}

// The run-time error of a process that could not be created, numbered as
// script clients know it from their own command runners.
[[noreturn]] void raiseStartFailure(DWORD error)
{
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) throw RuntimeError(kFileNotFound);
    if (error == ERROR_ACCESS_DENIED) throw RuntimeError(kPermissionDenied);
    std::wstring text = failure::systemMessage(error);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    throw RuntimeError(kInvalidArgument, text);
}

// The applet of the previous OpenCPApplet call on this thread.
struct PreviousApplet {
    std::wstring text;
};

void showShellError(HWND owner, long code)
{
    if (owner && !IsWindow(owner)) owner = nullptr;
    MessageBoxW(owner, ShellRules::ShellErrorMessage(code).c_str(), ShellRules::kShellErrorTitle,
                MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

long SetWallpaper(const CheckedName& vFileName)
{
    std::wstring file = vFileName.text();  // the system takes the name as writable
    BOOL set = SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, file.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
    if (!set) failure::recordWin32(0, L"SystemParametersInfo");
    return set;
}

void ExecuteCommand(const CheckedName& vCommandLine, bool vWaitForObject)
{
    // The new program inherits none of the caller's handles: open files, keys and mutexes stay the caller's.
    if (const DWORD error = createProcess(vCommandLine, kNoShowCommand, FALSE, vWaitForObject))
        raiseStartFailure(error);
}

void OpenCPApplet(long vAppIndex)
{
    // Named by its full path: by its bare name the system would look in the caller's folder and the
    // current folder first, where a program of the same name could have been planted.
    const std::wstring runner = qfcLibFilesA::GetSystemFolder(qcWindowsSystem) + L"rundll32.exe";
    std::wstring& previous = perthread::get<PreviousApplet>().text;
    startProcess(checkedName(ShellRules::AppletCommandLine(runner, vAppIndex, previous), NameKind::CommandLine),
                 SW_SHOWMINIMIZED, false);
}

bool ShellCommand(const CheckedName& vFileEmailURL, const CheckedName& vParameters, long vShowAction,
                  long vShowState, const CheckedName& vDefaultDirectory, long vOwnerhWnd, bool vShowErrorMsg)
{
    const std::wstring target = ShellRules::TrimSpaces(vFileEmailURL.text());
    if (target.empty()) return false;
    HWND owner = vOwnerhWnd == kNoOwner ? nullptr : windowFromLong(vOwnerhWnd);
    HINSTANCE result = ShellExecuteW(owner, ShellRules::ShellVerb(vShowAction), target.c_str(),
                                     optionalText(vParameters), optionalText(vDefaultDirectory), vShowState);
    long code = static_cast<long>(reinterpret_cast<INT_PTR>(result));
    if (code > 32) return true;
    failure::record(code, ShellRules::ShellErrorDescription(code));
    if (vShowErrorMsg) showShellError(owner, code);
    return false;
}

} // namespace quillon::qfcLibWindowsA

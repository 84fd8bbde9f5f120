// Runs a command line the way a player starts a program, answers every dialog
// it shows with Yes (or OK when a dialog has no Yes), prints each answered
// dialog's title and message, and ends with the program's exit code. Used by
// the demonstration script; not part of the product.
#include <windows.h>

#include <string>
#include <vector>

#include "TextCodes.h"

namespace {

void print(const std::wstring& text)
{
    const std::string bytes = textcodes::ToCodePage(CP_UTF8, text);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// WM_GETTEXT, not GetWindowText: another process's controls hand their text only to the message
// (GetWindowText gives them nothing). A time-out keeps a hung dialog from hanging the watch.
std::wstring textOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length) || length == 0)
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             1000, &copied))
        return {};
    text.resize(copied < text.size() ? copied : text.size() - 1);
    return text;
}

struct Watch {
    DWORD processId;
    HANDLE process;
    std::vector<HWND> answered;
};

// A NUL-terminated text at an address of the watched process (at most 4,096 characters).
std::wstring remoteText(HANDLE process, const void* address)
{
    std::wstring text;
    const auto* at = static_cast<const wchar_t*>(address);
    wchar_t c = 0;
    SIZE_T read = 0;
    while (at && text.size() < 4096 && ReadProcessMemory(process, at++, &c, sizeof(c), &read) && read == sizeof(c) && c)
        text += c;
    return text;
}

// The static texts of a dialog, which hold its message. Wine's shell confirmation paints its message itself
// from a window property that points into the dialog's process, and leaves its static empty.
std::wstring messageOf(HWND dialog, const Watch& watch)
{
    std::wstring message;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        const std::wstring text = textOf(child);
        if (lstrcmpiW(name, L"Static") == 0 && !text.empty()) message += (message.empty() ? L"" : L" ") + text;
    }
    if (message.empty()) message = remoteText(watch.process, GetPropW(dialog, L"WINE_CONFIRM"));
    return message;
}

BOOL CALLBACK answer(HWND window, LPARAM context)
{
    auto& watch = *reinterpret_cast<Watch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (owner != watch.processId || !IsWindowVisible(window) || lstrcmpW(name, L"#32770") != 0) return TRUE;
    bool known = false;
    for (HWND seen : watch.answered) known = known || seen == window;
    if (!known) {
        watch.answered.push_back(window);
        print(L"Answered \"" + textOf(window) + L"\": " + messageOf(window, watch) + L"\n");
    }
    PostMessageW(window, WM_COMMAND, GetDlgItem(window, IDYES) ? IDYES : IDOK, 0);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        print(L"usage: RunAndConfirm.exe \"program\" [arguments]\n");
        return 2;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    for (int i = 2; i < argc; ++i) commandLine += L" " + std::wstring(argv[i]);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        print(L"cannot start " + commandLine + L": error " + std::to_wstring(GetLastError()) + L"\n");
        return 2;
    }
    Watch watch{process.dwProcessId, process.hProcess, {}};
    DWORD waited = 0;
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        EnumWindows(answer, reinterpret_cast<LPARAM>(&watch));
        if ((waited += 50) > 120000) {
            print(L"no end after two minutes: stopped\n");
            TerminateProcess(process.hProcess, 3);
        }
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

// The floor a COM-using launcher cannot go below, for the launch benchmark:
//   ComFloor.exe             ends at once (a do-nothing Windows program)
//   ComFloor.exe com         starts COM and creates one object of Quillon.dll (through the
//                            same registration-free manifest as the launcher), then ends
//   ComFloor.exe com "path"  the same, then starts the program at path without waiting
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "QuillonTypes.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int exitCode = 0;
    if (argc > 1 && lstrcmpW(argv[1], L"com") == 0) {
        if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
        IUnknown* object = nullptr;
        if (FAILED(CoCreateInstance(CLSID_qfcLibCore, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                    reinterpret_cast<void**>(&object))))
            exitCode = 2;
        if (object) object->Release();
        if (exitCode == 0 && argc > 2) {
            std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
            STARTUPINFOW startup{};
            startup.cb = sizeof(startup);
            PROCESS_INFORMATION process{};
            if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process)) {
                CloseHandle(process.hThread);
                CloseHandle(process.hProcess);
            } else {
                exitCode = 3;
            }
        }
        CoUninitialize();
    }
    LocalFree(argv);
    return exitCode;
}

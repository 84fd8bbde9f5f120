#include "qfcLibWindows.h"

#include "forms/qfcLibWindowsA.h"

namespace quillon {

// An omitted file name is "{None}"; the caller's variable sees the name the routine used.
STDMETHODIMP qfcLibWindows::SetWallpaper(BSTR* vFileName, LONG* result)
{
    return call(result, [&] {
        std::wstring name = vFileName && *vFileName && SysStringLen(*vFileName) ? arg(*vFileName) : L"{None}";
        long set = qfcLibWindowsA::SetWallpaper(name);
        if (vFileName && *vFileName && arg(*vFileName) != name) {
            BSTR fresh = raii::makeBstr(name).release();
            if (!fresh) throw std::bad_alloc();
            SysFreeString(*vFileName);
            *vFileName = fresh;
        }
        return set;
    });
}

STDMETHODIMP qfcLibWindows::ExecuteCommand(BSTR vCommandLine, VARIANT_BOOL vWaitForObject)
{
    return call([&] {
        std::wstring commandLine = arg(vCommandLine);
        if (commandLine.find(L'\0') != std::wstring::npos) throw RuntimeError(kInvalidArgument);
        qfcLibWindowsA::ExecuteCommand(commandLine, isTrue(vWaitForObject));
    });
}

STDMETHODIMP qfcLibWindows::OpenCPApplet(qcCPApplets vAppIndex)
{
    return call([&] { qfcLibWindowsA::OpenCPApplet(vAppIndex); });
}

STDMETHODIMP qfcLibWindows::ShellCommand(BSTR vFileEmailURL, BSTR vParameters, qcShowActions vShowAction,
                                         qcShowStates vShowState, BSTR vDefaultDirectory, LONG vOwnerhWnd,
                                         VARIANT_BOOL vShowErrorMsg, VARIANT_BOOL* result)
{
    return call(result, [&] {
        return qfcLibWindowsA::ShellCommand(arg(vFileEmailURL), arg(vParameters), vShowAction, vShowState,
                                            arg(vDefaultDirectory), vOwnerhWnd, isTrue(vShowErrorMsg));
    });
}

} // namespace quillon

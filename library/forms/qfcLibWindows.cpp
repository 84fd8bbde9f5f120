#include "qfcLibWindows.h"

#include "forms/qfcLibWindowsA.h"

namespace quillon {

// An omitted or empty file name is "{None}"; the caller's variable sees the name the routine used.
STDMETHODIMP qfcLibWindows::SetWallpaper(BSTR* vFileName, LONG* result)
{
    return trap(result, 0L, [&] {
        const std::wstring given = withoutTrailingNuls(readText(vFileName));
        std::wstring name = given.empty() ? L"{None}" : given;
        checkName(name);
        long set = qfcLibWindowsA::SetWallpaper(name);
        if (vFileName && name != given) writeText(vFileName, name);
        return set;
    });
}

STDMETHODIMP qfcLibWindows::ExecuteCommand(BSTR vCommandLine, VARIANT_BOOL vWaitForObject)
{
    return call([&] { qfcLibWindowsA::ExecuteCommand(nameArg(vCommandLine), isTrue(vWaitForObject)); });
}

STDMETHODIMP qfcLibWindows::OpenCPApplet(qcCPApplets vAppIndex)
{
    return call([&] { qfcLibWindowsA::OpenCPApplet(vAppIndex); });
}

STDMETHODIMP qfcLibWindows::ShellCommand(BSTR vFileEmailURL, BSTR vParameters, qcShowActions vShowAction,
                                         qcShowStates vShowState, BSTR vDefaultDirectory, LONG vOwnerhWnd,
                                         VARIANT_BOOL vShowErrorMsg, VARIANT_BOOL* result)
{
    return trap(result, false, [&] {
        return qfcLibWindowsA::ShellCommand(nameText(vFileEmailURL), nameText(vParameters), vShowAction,
                                            vShowState, nameText(vDefaultDirectory), vOwnerhWnd, isTrue(vShowErrorMsg));
    });
}

} // namespace quillon

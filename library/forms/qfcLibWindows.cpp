#include "qfcLibWindows.h"

#include "forms/qfcLibWindowsA.h"

namespace quillon {

// An omitted or empty file name is "{None}", which the caller's variable then reads as "".
STDMETHODIMP qfcLibWindows::SetWallpaper(BSTR* vFileName, LONG* result)
{
    return trap(result, 0L, [&] {
        const CheckedName name = checkedName(readText(vFileName), NameKind::CommandLine);
        const bool none = name.text() == L"{None}";
        const long set = qfcLibWindowsA::SetWallpaper(none ? CheckedName() : name);
        if (none) writeText(vFileName, L"");
        return set;
    });
}

STDMETHODIMP qfcLibWindows::ExecuteCommand(BSTR vCommandLine, VARIANT_BOOL vWaitForObject)
{
    return call([&] { qfcLibWindowsA::ExecuteCommand(commandLineArg(vCommandLine), isTrue(vWaitForObject)); });
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
        return qfcLibWindowsA::ShellCommand(commandLineArg(vFileEmailURL), commandLineArg(vParameters), vShowAction,
                                            vShowState, commandLineArg(vDefaultDirectory), vOwnerhWnd,
                                            isTrue(vShowErrorMsg));
    });
}

} // namespace quillon

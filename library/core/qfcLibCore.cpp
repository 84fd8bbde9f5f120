#include "qfcLibCore.h"

#include "RunOnceDialog.h"
#include "qfcLibCoreA.h"

namespace quillon {

STDMETHODIMP qfcLibCore::ShowRunOnceDialog(BSTR vDialogText, BSTR vDialogFileName, BSTR vHeadingText,
                                           BSTR vFormCaption, LONG vFormWidth, LONG vFormHeight)
{
    return call([&] {
        qfcLibCoreA::ShowRunOnceDialog(arg(vDialogText), nameIfWhole(vDialogFileName, NameKind::Path),
                                       arg(vHeadingText), arg(vFormCaption), vFormWidth, vFormHeight);
    });
}

STDMETHODIMP qfcLibCore::GetAppVersion(VARIANT_BOOL vFormatted, BSTR* result)
{
    return call(result, [&] { return qfcLibCoreA::GetAppVersion(isTrue(vFormatted)); });
}

STDMETHODIMP qfcLibCore::InitCore(BSTR sAppName, BSTR sAppTitle, BSTR sAppPath, short iAppMajor,
                                  short iAppMinor, short iAppRevision)
{
    return call([&] {
        // The title becomes part of every application key path, the path a folder name.
        qfcLibCoreA::InitCore(withoutTrailingNuls(arg(sAppName)), nameArg(sAppTitle).text(), pathArg(sAppPath).text(),
                              iAppMajor, iAppMinor, iAppRevision);
    });
}

} // namespace quillon

// The file dialogs, driven through a common-dialog object the caller owns and
// reaches only by member name. Every failing step is skipped.
#include "qfcLibFilesA.h"

#include "ErrorNumbers.h"
#include "LateBound.h"
#include "core/qfcLibCoreA.h"

namespace quillon::qfcLibFilesA {
namespace {

bool isCancelled(const latebound::Result& shown)
{
    const HRESULT code = shown.scode ? shown.scode : shown.hr;
    return HRESULT_FACILITY(code) == FACILITY_CONTROL && HRESULT_CODE(code) == automation::kCancelled;
}

std::wstring textOf(latebound::Object& dialog, const wchar_t* name)
{
    return dialog.get(name).text();
}

std::wstring runFileDialog(IDispatch* vCommonDlgObject, const std::wstring& vDefExtension,
                           const std::wstring& vInitDirectory, const std::wstring& vExtraFilters,
                           const std::wstring& vDialogTitle, bool save)
{
    if (vDefExtension.empty() || !vCommonDlgObject) return std::wstring();
    const qfcLibCoreA::AppContext& app = qfcLibCoreA::Context();
    const std::wstring extension = DialogExtension(vDefExtension);
    const std::wstring pattern = L"*." + extension;

    latebound::Object dialog(vCommonDlgObject);
    dialog.put(L"InitDir", InitialFolder(vInitDirectory, app.AppPath));
    dialog.put(L"DefaultExt", pattern);
    dialog.put(L"Filter", DialogFilter(app.AppTitle, extension, vExtraFilters));
    dialog.put(L"FileName", pattern);
    dialog.put(L"DialogTitle", DialogTitle(vDialogTitle, app.AppTitle, save));
    dialog.put(L"Flags", save ? kSaveDialogFlags : kOpenDialogFlags);
    dialog.put(L"CancelError", true);
    const bool cancelled = isCancelled(dialog.call(save ? L"ShowSave" : L"ShowOpen"));
    return DialogAnswer(textOf(dialog, L"FileName"), textOf(dialog, L"FileTitle"), cancelled);
}

} // namespace

std::wstring GetOpenFileName(const std::wstring& vDefExtension, IDispatch* vCommonDlgObject,
                             const std::wstring& vInitDirectory, const std::wstring& vExtraFilters,
                             const std::wstring& vDialogTitle)
{
    return runFileDialog(vCommonDlgObject, vDefExtension, vInitDirectory, vExtraFilters, vDialogTitle, false);
}

std::wstring GetSaveFileName(const std::wstring& vDefExtension, IDispatch* vCommonDlgObject,
                             const std::wstring& vInitDirectory, const std::wstring& vExtraFilters,
                             const std::wstring& vDialogTitle)
{
    return runFileDialog(vCommonDlgObject, vDefExtension, vInitDirectory, vExtraFilters, vDialogTitle, true);
}

} // namespace quillon::qfcLibFilesA

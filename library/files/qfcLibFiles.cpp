#include "qfcLibFiles.h"

#include "qfcLibFilesA.h"

namespace quillon {
namespace {

// A currency value holds whole bytes scaled by 10,000.
CURRENCY currency(long long bytes)
{
    CURRENCY value;
    value.int64 = bytes * 10000;
    return value;
}

} // namespace

STDMETHODIMP qfcLibFiles::CopyFile(LONG, VARIANT*, BSTR, qcFileOpFunctions, qcFileOpFlags, BSTR, BSTR, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::AddDirSep(BSTR vPath, BSTR* result)
{
    return call(result, [&] { return qfcLibFilesA::AddDirSep(arg(vPath)); });
}

STDMETHODIMP qfcLibFiles::AddURLSep(BSTR vPathName, BSTR* result)
{
    return call(result, [&] { return qfcLibFilesA::AddURLSep(arg(vPathName)); });
}

STDMETHODIMP qfcLibFiles::DeleteFile(LONG, VARIANT*, qcFileOpFlags, BSTR, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::DirExists(BSTR vPath, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibFilesA::DirExists(arg(vPath)); });
}

STDMETHODIMP qfcLibFiles::FileExists(BSTR vFile, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibFilesA::FileExists(arg(vFile)); });
}

STDMETHODIMP qfcLibFiles::FileExtSearch(BSTR, BSTR, SAFEARRAY**, VARIANT_BOOL, LONG*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::GetFileExt(BSTR vFile, BSTR* result)
{
    return call(result, [&] { return qfcLibFilesA::GetFileExt(arg(vFile)); });
}

STDMETHODIMP qfcLibFiles::BrowseForFolder(LONG, BSTR, BSTR, qcBrowseInfoFlags*, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::GetDirSize(BSTR vPath, VARIANT_BOOL vRecursive, CURRENCY* result)
{
    return call(result, [&] { return currency(qfcLibFilesA::GetDirSize(arg(vPath), isTrue(vRecursive))); });
}

STDMETHODIMP qfcLibFiles::GetShortFileName(BSTR vFile, BSTR* result)
{
    return call(result, [&] { return qfcLibFilesA::GetShortFileName(arg(vFile)); });
}

STDMETHODIMP qfcLibFiles::GetSystemFolder(qcSystemFolders vFolderToReturn, BSTR* result)
{
    return call(result, [&] { return qfcLibFilesA::GetSystemFolder(vFolderToReturn); });
}

STDMETHODIMP qfcLibFiles::IsLongFileName(BSTR vFile, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibFilesA::IsLongFileName(arg(vFile)); });
}

STDMETHODIMP qfcLibFiles::IsShortFileName(BSTR vFileName, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibFilesA::IsShortFileName(arg(vFileName)); });
}

STDMETHODIMP qfcLibFiles::MakePath(BSTR vDirName, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibFilesA::MakePath(arg(vDirName)); });
}

STDMETHODIMP qfcLibFiles::GetFileTitle(BSTR vFile, VARIANT_BOOL vWithExt, BSTR* result)
{
    return call(result, [&] { return qfcLibFilesA::GetFileTitle(arg(vFile), isTrue(vWithExt)); });
}

STDMETHODIMP qfcLibFiles::GetFilePath(BSTR vFile, BSTR* result)
{
    return call(result, [&] { return qfcLibFilesA::GetFilePath(arg(vFile)); });
}

STDMETHODIMP qfcLibFiles::GetOpenFileName(BSTR vDefExtension, IDispatch** vCommonDlgObject, BSTR vInitDirectory,
                                         BSTR vExtraFilters, BSTR vDialogTitle, BSTR* result)
{
    return call(result, [&] {
        return qfcLibFilesA::GetOpenFileName(arg(vDefExtension), vCommonDlgObject ? *vCommonDlgObject : nullptr,
                                             arg(vInitDirectory), arg(vExtraFilters), arg(vDialogTitle));
    });
}

STDMETHODIMP qfcLibFiles::GetSaveFileName(BSTR vDefExtension, IDispatch** vCommonDlgObject, BSTR vInitDirectory,
                                         BSTR vExtraFilters, BSTR vDialogTitle, BSTR* result)
{
    return call(result, [&] {
        return qfcLibFilesA::GetSaveFileName(arg(vDefExtension), vCommonDlgObject ? *vCommonDlgObject : nullptr,
                                             arg(vInitDirectory), arg(vExtraFilters), arg(vDialogTitle));
    });
}

} // namespace quillon

#include "qfcLibFiles.h"

namespace quillon {

STDMETHODIMP qfcLibFiles::CopyFile(LONG, VARIANT*, BSTR, qcFileOpFunctions, qcFileOpFlags, BSTR, BSTR, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::AddDirSep(BSTR, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::AddURLSep(BSTR, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::DeleteFile(LONG, VARIANT*, qcFileOpFlags, BSTR, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::DirExists(BSTR, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::FileExists(BSTR, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::FileExtSearch(BSTR, BSTR, SAFEARRAY**, VARIANT_BOOL, LONG*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::GetFileExt(BSTR, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::BrowseForFolder(LONG, BSTR, BSTR, qcBrowseInfoFlags*, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::GetDirSize(BSTR, VARIANT_BOOL, CURRENCY*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::GetShortFileName(BSTR, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::GetSystemFolder(qcSystemFolders, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::IsLongFileName(BSTR, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::IsShortFileName(BSTR, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::MakePath(BSTR, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::GetFileTitle(BSTR, VARIANT_BOOL, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::GetFilePath(BSTR, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::GetOpenFileName(BSTR, IDispatch**, BSTR, BSTR, BSTR, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibFiles::GetSaveFileName(BSTR, IDispatch**, BSTR, BSTR, BSTR, BSTR*)
{
    return notImplemented();
}

} // namespace quillon

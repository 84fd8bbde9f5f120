// qfcLibFiles: paths, files, folders and the file dialogs.
#pragma once

#include "server/DispatchObject.h"

namespace quillon {

class qfcLibFiles final : public DispatchObject<qfcLibFiles, _qfcLibFiles> {
public:
    static constexpr const wchar_t* kName = L"qfcLibFiles";
    static const IID& iid() { return IID__qfcLibFiles; }

    STDMETHODIMP CopyFile(LONG vOwnerhWnd, VARIANT* vFiles, BSTR vDestination, qcFileOpFunctions vOperation, qcFileOpFlags vFlags, BSTR vDialogText, BSTR vParseChar, VARIANT_BOOL* result) override;
    STDMETHODIMP AddDirSep(BSTR vPath, BSTR* result) override;
    STDMETHODIMP AddURLSep(BSTR vPathName, BSTR* result) override;
    STDMETHODIMP DeleteFile(LONG vOwnerhWnd, VARIANT* vFiles, qcFileOpFlags vFlags, BSTR vParseChar, VARIANT_BOOL* result) override;
    STDMETHODIMP DirExists(BSTR vPath, VARIANT_BOOL* result) override;
    STDMETHODIMP FileExists(BSTR vFile, VARIANT_BOOL* result) override;
    STDMETHODIMP FileExtSearch(BSTR vPath, BSTR vFileExt, SAFEARRAY* *vFileArray, VARIANT_BOOL vRecursive, LONG* result) override;
    STDMETHODIMP GetFileExt(BSTR vFile, BSTR* result) override;
    STDMETHODIMP BrowseForFolder(LONG vOwnerhWnd, BSTR vRootDir, BSTR vPrompt, qcBrowseInfoFlags* vFlags, BSTR* result) override;
    STDMETHODIMP GetDirSize(BSTR vPath, VARIANT_BOOL vRecursive, CURRENCY* result) override;
    STDMETHODIMP GetShortFileName(BSTR vFile, BSTR* result) override;
    STDMETHODIMP GetSystemFolder(qcSystemFolders vFolderToReturn, BSTR* result) override;
    STDMETHODIMP IsLongFileName(BSTR vFile, VARIANT_BOOL* result) override;
    STDMETHODIMP IsShortFileName(BSTR vFileName, VARIANT_BOOL* result) override;
    STDMETHODIMP MakePath(BSTR vDirName, VARIANT_BOOL* result) override;
    STDMETHODIMP GetFileTitle(BSTR vFile, VARIANT_BOOL vWithExt, BSTR* result) override;
    STDMETHODIMP GetFilePath(BSTR vFile, BSTR* result) override;
    STDMETHODIMP GetOpenFileName(BSTR vDefExtension, IDispatch** vCommonDlgObject, BSTR vInitDirectory, BSTR vExtraFilters, BSTR vDialogTitle, BSTR* result) override;
    STDMETHODIMP GetSaveFileName(BSTR vDefExtension, IDispatch** vCommonDlgObject, BSTR vInitDirectory, BSTR vExtraFilters, BSTR vDialogTitle, BSTR* result) override;
};

} // namespace quillon

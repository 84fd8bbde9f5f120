#include "qfcLibFiles.h"

#include "qfcLibFilesA.h"
#include "server/Failure.h"

namespace quillon {
namespace {

// A currency value holds whole bytes scaled by 10,000.
CURRENCY currency(long long bytes)
{
    CURRENCY value;
    value.int64 = bytes * 10000;
    return value;
}

// A text (split at vParseChar) or an array of texts, as the shell operations take them; the module checks
// each name it takes from them.
qfcLibFilesA::SourceNames sourcesArg(VARIANT* vFiles, BSTR vParseChar)
{
    const VARIANT* files = resolved(vFiles);
    if (files && (V_VT(files) & VT_ARRAY)) {
        std::vector<std::wstring> names = variantTexts(files);
        for (std::wstring& name : names) name = withoutTrailingNuls(std::move(name));
        return qfcLibFilesA::NamesFromArray(names);
    }
    return qfcLibFilesA::NamesFromText(withoutTrailingNuls(variantText(files)), arg(vParseChar));
}

// The caller's array's upper bound, or -1 while it has no elements.
long upperBound(SAFEARRAY* const* array)
{
    LONG lower = 0, upper = -1;
    if (!array || !*array || FAILED(SafeArrayGetLBound(*array, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(*array, 1, &upper)) || upper < lower)
        return -1;
    return upper;
}

} // namespace

STDMETHODIMP qfcLibFiles::CopyFile(LONG vOwnerhWnd, VARIANT* vFiles, BSTR vDestination, qcFileOpFunctions vOperation,
                                   qcFileOpFlags vFlags, BSTR vDialogText, BSTR vParseChar, VARIANT_BOOL* result)
{
    return call(result, [&] {  // the operation first: an unknown one is false whatever the names and flags
        return qfcLibFilesA::CopiesOrMoves(vOperation) &&
               qfcLibFilesA::CopyFile(vOwnerhWnd, sourcesArg(vFiles, vParseChar),
                                      nameIfWhole(vDestination, NameKind::Path), vOperation, vFlags,
                                      arg(vDialogText));
    });
}

STDMETHODIMP qfcLibFiles::AddDirSep(BSTR vPath, BSTR* result)
{
    return call(result, [&] { return qfcLibFilesA::AddDirSep(arg(vPath)); });
}

STDMETHODIMP qfcLibFiles::AddURLSep(BSTR vPathName, BSTR* result)
{
    return call(result, [&] { return qfcLibFilesA::AddURLSep(arg(vPathName)); });
}

STDMETHODIMP qfcLibFiles::DeleteFile(LONG vOwnerhWnd, VARIANT* vFiles, qcFileOpFlags vFlags, BSTR vParseChar,
                                     VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibFilesA::DeleteFile(vOwnerhWnd, sourcesArg(vFiles, vParseChar), vFlags); });
}

STDMETHODIMP qfcLibFiles::DirExists(BSTR vPath, VARIANT_BOOL* result)
{
    return trap(result, false, [&] { return qfcLibFilesA::DirExists(pathArg(vPath)); });
}

STDMETHODIMP qfcLibFiles::FileExists(BSTR vFile, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibFilesA::FileExists(pathArg(vFile)); });
}

STDMETHODIMP qfcLibFiles::FileExtSearch(BSTR vPath, BSTR vFileExt, SAFEARRAY** vFileArray, VARIANT_BOOL vRecursive,
                                        LONG* result)
{
    return call(result, [&] {
        return failure::trap(-1L, [&] {
            std::vector<std::wstring> found;
            if (!qfcLibFilesA::FindByExtension(pathArg(vPath), pathArg(vFileExt), isTrue(vRecursive), found))
                return -1L;
            if (!found.empty()) appendTextArray(vFileArray, found);
            return upperBound(vFileArray);
        });
    });
}

STDMETHODIMP qfcLibFiles::GetFileExt(BSTR vFile, BSTR* result)
{
    return call(result, [&] { return qfcLibFilesA::GetFileExt(arg(vFile)); });
}

STDMETHODIMP qfcLibFiles::BrowseForFolder(LONG vOwnerhWnd, BSTR vRootDir, BSTR vPrompt, qcBrowseInfoFlags* vFlags,
                                          BSTR* result)
{
    return call(result, [&] {
        return qfcLibFilesA::BrowseForFolder(vOwnerhWnd, pathArg(vRootDir), arg(vPrompt), readRef(vFlags, qcFolders));
    });
}

STDMETHODIMP qfcLibFiles::GetDirSize(BSTR vPath, VARIANT_BOOL vRecursive, CURRENCY* result)
{
    return trap(result, currency(-1), [&] {
        return currency(qfcLibFilesA::GetDirSize(pathArg(vPath), isTrue(vRecursive)));
    });
}

STDMETHODIMP qfcLibFiles::GetShortFileName(BSTR vFile, BSTR* result)
{
    return call(result, [&] { return qfcLibFilesA::GetShortFileName(pathArg(vFile)); });
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
    return trap(result, false, [&] { return qfcLibFilesA::MakePath(pathArg(vDirName)); });
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
        return qfcLibFilesA::GetOpenFileName(arg(vDefExtension), objectArg(vCommonDlgObject).get(),
                                             arg(vInitDirectory), arg(vExtraFilters), arg(vDialogTitle));
    });
}

STDMETHODIMP qfcLibFiles::GetSaveFileName(BSTR vDefExtension, IDispatch** vCommonDlgObject, BSTR vInitDirectory,
                                         BSTR vExtraFilters, BSTR vDialogTitle, BSTR* result)
{
    return call(result, [&] {
        return qfcLibFilesA::GetSaveFileName(arg(vDefExtension), objectArg(vCommonDlgObject).get(),
                                             arg(vInitDirectory), arg(vExtraFilters), arg(vDialogTitle));
    });
}

} // namespace quillon

// The shell's folder browser.
#include "qfcLibFilesA.h"

#include <windows.h>
#include <shlobj.h>

#include "Raii.h"
#include "strings/StringRules.h"

namespace quillon::qfcLibFilesA {

std::wstring BrowseForFolder(long vOwnerhWnd, const CheckedName& vRootDir, const std::wstring& vPrompt, long vFlags)
{
    // The default root, a lone NUL, comes as "": the browser starts at the desktop.
    raii::UniqueIdList root;
    if (!vRootDir.empty() && ListsEntry(vRootDir.text(), kFilesAndFoldersMask))
        root.reset(ILCreateFromPathW(vRootDir.c_str()));

    wchar_t displayName[MAX_PATH] = {};  // the browser writes the chosen item's name here, at most MAX_PATH
    BROWSEINFOW info = {};
    info.hwndOwner = reinterpret_cast<HWND>(static_cast<LONG_PTR>(vOwnerhWnd));
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName;
    info.lpszTitle = vPrompt.c_str();
    info.ulFlags = BrowseFlags(vFlags);
    raii::UniqueIdList chosen(SHBrowseForFolderW(&info));
    if (!chosen) return std::wstring();
    const std::wstring path = ItemListPath(chosen.get());
    return AddDirSep(stringrules::ProperCase(path, stringrules::kProperCaseDelimiters));
}

} // namespace quillon::qfcLibFilesA

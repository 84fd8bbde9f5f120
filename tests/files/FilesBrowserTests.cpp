// The shell's folder browser under Xvfb: a second thread picks a folder (or
// cancels) the way a user would, and the result is checked.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "Raii.h"
#include "ScratchFolder.h"
#include "WindowWatcher.h"
#include "files/qfcLibFilesA.h"

using namespace quillon::qfcLibFilesA;
using quillon::checkedName;
using files_testing::ScratchFolder;
using testing_support::SeenWindow;
using testing_support::WindowWatcher;

namespace {

std::wstring selectedName(HWND tree)
{
    wchar_t text[MAX_PATH] = L"";
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (!item.hItem || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return L"";
    return text;
}

// The first browser of a process may still move its selection once after filling:
// select until the tree has held the folder for a few looks in a row.
void selectAndHold(HWND browser, HWND tree, const std::wstring& folder)
{
    const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
    int held = 0;
    for (int look = 0; look < 250 && held < 5; ++look, Sleep(20)) {
        if (_wcsicmp(selectedName(tree).c_str(), name.c_str()) == 0) {
            ++held;
            continue;
        }
        held = 0;
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
    }
}

// Runs BrowseForFolder while a user selects `folder` and presses OK, or cancels when it is empty.
std::wstring browse(const std::wstring& root, const std::wstring& folder)
{
    bool answered = false;
    WindowWatcher user(GetCurrentProcessId(), [&](const SeenWindow& window) {
        if (answered || window.className != L"#32770") return;
        // The tree fills after the browser shows; a selection made earlier is lost.
        HWND tree = FindWindowExW(window.handle, nullptr, L"SysTreeView32", nullptr);
        if (SendMessageW(tree, TVM_GETCOUNT, 0, 0) == 0) return;
        if (!folder.empty()) selectAndHold(window.handle, tree, folder);
        PostMessageW(window.handle, WM_COMMAND, MAKEWPARAM(folder.empty() ? IDCANCEL : IDOK, BN_CLICKED), 0);
        answered = true;
    });
    const std::wstring result = BrowseForFolder(0, checkedName(root), L"Choose", 1);
    user.stop();
    EXPECT_TRUE(answered) << "the browser was not seen";
    return result;
}

} // namespace

TEST(FolderBrowser, CancelGivesNothingAndAChosenFolderComesBackProperCased)
{
    raii::ComScope com;
    ScratchFolder scratch(L"Browse");
    EXPECT_EQ(L"", browse(scratch.path(), L""));
    const std::wstring chosen = scratch.folder(L"my OTHER");
    for (const std::wstring& root : {scratch / L"Missing", std::wstring()}) {
        const std::wstring result = browse(root, chosen);
        EXPECT_EQ(L"\\My Other\\", result.substr(result.size() < 10 ? 0 : result.size() - 10)) << result;
    }
}

// The shell's folder browser under Xvfb: a second thread finds it, picks a
// folder (or cancels) the way a user would, and the result is checked.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <thread>

#include "Raii.h"
#include "ScratchFolder.h"
#include "files/qfcLibFilesA.h"

using namespace quillon::qfcLibFilesA;
using files_testing::ScratchFolder;

namespace {

// The browser is the one dialog box this process shows during these tests.
HWND findBrowser()
{
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (process != GetCurrentProcessId() || !IsWindowVisible(window) || std::wstring(name) != L"#32770")
                return TRUE;
            *reinterpret_cast<HWND*>(context) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Plays the user of the next browser: selects `folder` and presses OK, or cancels when it is empty.
class BrowserUser {
public:
    explicit BrowserUser(const std::wstring& folder)
        : thread_([this, folder] {
              for (int tries = 0; tries < 500 && !seen_; ++tries, Sleep(20)) {
                  HWND browser = findBrowser();
                  if (!browser) continue;
                  seen_ = true;
                  // The tree fills after the browser shows; a selection made earlier is lost.
                  HWND tree = FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr);
                  for (int wait = 0; wait < 250 && SendMessageW(tree, TVM_GETCOUNT, 0, 0) == 0; ++wait) Sleep(20);
                  // The first browser of a process may still move its selection once after filling: select twice.
                  for (int again = 0; again < 2 && !folder.empty(); ++again, Sleep(300))
                      SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
                  const int button = folder.empty() ? IDCANCEL : IDOK;
                  PostMessageW(browser, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
              }
          })
    {
    }
    ~BrowserUser() { thread_.join(); }
    bool seen() const { return seen_; }

private:
    std::atomic<bool> seen_{false};
    std::thread thread_;
};

class FolderBrowser : public ::testing::Test {
protected:
    raii::ComScope com_;
};

} // namespace

TEST_F(FolderBrowser, CancelGivesNothingAndAChosenFolderComesBackProperCased)
{
    ScratchFolder scratch(L"BrowseCancel");
    {
        BrowserUser user(L"");
        EXPECT_EQ(L"", BrowseForFolder(0, scratch.path(), L"Cancel me", 1));
        EXPECT_TRUE(user.seen());
    }
    const std::wstring chosen = scratch.folder(L"my OTHER");
    for (const std::wstring& root : {scratch / L"Missing", std::wstring(1, L'\0'), std::wstring()}) {
        BrowserUser user(chosen);
        const std::wstring result = BrowseForFolder(0, root, L"From the desktop", 1);
        EXPECT_TRUE(user.seen());
        EXPECT_EQ(L"\\My Other\\", result.substr(result.size() < 10 ? 0 : result.size() - 10)) << result;
    }
}

// The library's own windows as pictures for the documentation; scripts/pictures.sh runs it under Xvfb.
//   WindowPictures <folder>    writes welcome.png into the folder
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "Raii.h"
#include "WindowPicture.h"
#include "core/RunOnceDialog.h"
#include "core/qfcLibCoreA.h"

namespace core = quillon::qfcLibCoreA;

namespace {

const char kReadme[] = "Thank you for installing Vantorel.\r\n\r\nVantorel starts the game with your pilot and "
                       "your chosen parameters.\r\nOpen the options with /OPTIONS to change them.\r\n\r\n"
                       "Have a good flight!";

// Shows the welcome window and saves it once it is on the screen.
HRESULT welcome(const std::wstring& folder)
{
    const std::wstring readme = folder + L"welcome-readme.txt";
    std::ofstream(readme.c_str(), std::ios::binary) << kReadme;
    core::InitCore(L"Vantorel", L"Vantorel", L"C:\\", 1, 1, 32);
    HRESULT saved = E_FAIL;
    std::thread user([&] {
        for (ULONGLONG deadline = GetTickCount64() + 20000; GetTickCount64() < deadline; Sleep(20)) {
            HWND window = FindWindowW(core::kRunOnceWindowClass, nullptr);
            if (!window || !IsWindowVisible(window)) continue;
            Sleep(50); // the window fills its text after it shows
            saved = testing_support::saveWindowPicture(window, folder + L"welcome.png");
            PostMessageW(window, WM_CLOSE, 0, 0);
            return;
        }
    });
    core::ShowRunOnceDialog(L"", quillon::wholeName(readme, quillon::NameKind::Path), L"Welcome to {AppTitle}",
                            L"{AppTitle}", 6495, 4800);
    user.join();
    DeleteFileW(readme.c_str());
    return saved;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: WindowPictures <folder>\n");
        return 2;
    }
    raii::ComScope com;
    const HRESULT hr = welcome(std::wstring(argv[1]) + L"\\");
    std::printf("welcome.png: 0x%08lx\n", static_cast<unsigned long>(hr));
    return SUCCEEDED(hr) ? 0 : 1;
}

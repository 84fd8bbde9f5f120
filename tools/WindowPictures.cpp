// The product's windows as pictures for the documentation; scripts/pictures.sh runs it under Xvfb in a Wine
// prefix of its own, since it sets the launcher's keys.
//   WindowPictures <folder>    writes welcome.png, options-properties.png, options-system.png, options-user.png
//                              and about.png into the folder
#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "OptionsDriver.h"
#include "Raii.h"
#include "Splash.h"
#include "WindowPicture.h"
#include "core/RunOnceDialog.h"
#include "core/qfcLibCoreA.h"

namespace core = quillon::qfcLibCoreA;
using options_testing::Dialog;

namespace {

const char kReadme[] = "Thank you for installing Vantorel.\r\n\r\nVantorel starts the game with your pilot and "
                       "your chosen parameters.\r\nOpen the options with /OPTIONS to change them.\r\n\r\n"
                       "Have a good flight!";

// The settings the options dialog shows in its pictures.
const wchar_t* const kSettings[][3] = {
    {L"Apps\\Vantorel", L"RunOnce", L"True"},
    {L"Apps\\Vantorel", L"EXEPath", L"C:\\Games\\Descent3\\main.exe"},
    {L"Apps\\Vantorel", L"Parameters", L"-nointro -framecap 60"},
    {L"Apps\\Vantorel", L"ClearLogos", L"1"},
    {L"Apps\\Vantorel", L"KeepLogos", L"pyro.ogf|phoenix.ogf"},
    {L"System", L"ShowSplash", L"0"},
    {L"System", L"WinAnimate", L"1"},
    {L"User", L"UserName", L"Ada Byron"},
    {L"User", L"UserCompany", L"Analytical Engines"},
    {L"User", L"UserEMail", L"ada@example.org"},
    {L"User", L"AreaCode", L"555"},
};

// The first visible top-level window the finder names within 20 s, or none.
HWND waitForWindow(const std::function<HWND()>& find)
{
    for (ULONGLONG deadline = GetTickCount64() + 20000; GetTickCount64() < deadline; Sleep(20)) {
        HWND window = find();
        if (window && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

#define RETURN_IF_FAILED(expression)          \
    do {                                       \
        const HRESULT hr_ = (expression);      \
        if (FAILED(hr_)) return hr_;           \
    } while (0)

// Pixels of 32 bits (blue, green, red, alpha), top row first, as a PNG file.
HRESULT savePng(const SIZE& size, std::vector<BYTE>& pixels, const std::wstring& pngPath)
{
    raii::ComScope com; // callable from any thread
    raii::ComPtr<IWICImagingFactory> factory;
    RETURN_IF_FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      factory.putVoid()));
    raii::ComPtr<IWICStream> stream;
    RETURN_IF_FAILED(factory->CreateStream(stream.put()));
    RETURN_IF_FAILED(stream->InitializeFromFilename(pngPath.c_str(), GENERIC_WRITE));
    raii::ComPtr<IWICBitmapEncoder> encoder;
    RETURN_IF_FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()));
    RETURN_IF_FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache));
    raii::ComPtr<IWICBitmapFrameEncode> frame;
    RETURN_IF_FAILED(encoder->CreateNewFrame(frame.put(), nullptr));
    RETURN_IF_FAILED(frame->Initialize(nullptr));
    RETURN_IF_FAILED(frame->SetSize(size.cx, size.cy));
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    RETURN_IF_FAILED(frame->SetPixelFormat(&format));
    RETURN_IF_FAILED(frame->WritePixels(size.cy, size.cx * 4, static_cast<UINT>(pixels.size()), pixels.data()));
    RETURN_IF_FAILED(frame->Commit());
    return encoder->Commit();
}

// Saves a window once it has painted what it was told: the screen shows the same pixels twice in a row.
HRESULT savePainted(HWND window, const std::wstring& path)
{
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    SIZE size{};
    std::vector<BYTE> last, now;
    for (int tries = 0; tries < 100; ++tries, Sleep(20)) {
        const HRESULT hr = testing_support::windowPixels(window, size, now);
        if (FAILED(hr)) return hr;
        if (now == last) break;
        last.swap(now);
    }
    return savePng(size, last, path);
}

// Shows the welcome window and saves it once it is on the screen.
HRESULT welcome(const std::wstring& folder)
{
    const std::wstring readme = folder + L"welcome-readme.txt";
    std::ofstream(readme.c_str(), std::ios::binary) << kReadme;
    core::InitCore(L"Vantorel", L"Vantorel", L"C:\\", 1, 1, 32);
    HRESULT saved = E_FAIL;
    std::thread user([&] {
        HWND window = waitForWindow([] { return FindWindowW(core::kRunOnceWindowClass, nullptr); });
        if (!window) return;
        saved = savePainted(window, folder + L"welcome.png");
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    core::ShowRunOnceDialog(L"", quillon::wholeName(readme, quillon::NameKind::Path), L"Welcome to {AppTitle}",
                            L"{AppTitle}", 6495, 4800);
    user.join();
    DeleteFileW(readme.c_str());
    return saved;
}

// Each tab of the options dialog, then the about screen over it (another program's windows: read from the screen).
HRESULT options(const std::wstring& folder, const Dialog& d)
{
    const wchar_t* names[3] = {L"options-properties.png", L"options-system.png", L"options-user.png"};
    HRESULT saved = S_OK;
    for (int tab = 0; tab < 3 && SUCCEEDED(saved); ++tab) {
        d.showTab(tab);
        if (tab == 0) { // a parameter's description shows
            d.select(vantorel::kLstParameters, 1);
            d.key(vantorel::kLstParameters, VK_DOWN);
            d.key(vantorel::kLstParameters, VK_UP);
        }
        saved = savePainted(d.window(), folder + names[tab]);
    }
    d.clickLater(vantorel::kLogo);
    HWND about = waitForWindow([] { return FindWindowW(vantorel::kSplashWindowClass, nullptr); });
    if (!about) return FAILED(saved) ? saved : E_FAIL;
    if (SUCCEEDED(saved)) saved = savePainted(about, folder + L"about.png");
    PostMessageW(about, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    return saved;
}

// Vantorel.exe beside this tool, started with /OPTIONS and ended with Cancel.
HRESULT launcher(const std::wstring& folder)
{
    for (const auto& row : kSettings)
        RegSetKeyValueW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Brannock\\") + row[0]).c_str(), row[1], REG_SZ,
                        row[2], static_cast<DWORD>((lstrlenW(row[2]) + 1) * sizeof(wchar_t)));
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring programs(path, wcsrchr(path, L'\\') + 1);
    std::wstring commandLine = L"\"" + programs + L"Vantorel.exe\" /OPTIONS";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return HRESULT_FROM_WIN32(GetLastError());
    const raii::UniqueHandle process(started.hProcess), thread(started.hThread);
    HWND window = waitForWindow([] { return FindWindowW(nullptr, vantorel::kOptionsCaption); });
    const Dialog dialog(window);
    const HRESULT saved = window && dialog.loaded() ? options(folder, dialog) : E_FAIL;
    if (window) dialog.click(vantorel::kCmdCancel);
    if (WaitForSingleObject(process.get(), 20000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
    DeleteFileW((programs + L"Vantorel.log").c_str());
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
    const std::wstring folder = std::wstring(argv[1]) + L"\\";
    const HRESULT shown = welcome(folder);
    std::printf("welcome.png: 0x%08lx\n", static_cast<unsigned long>(shown));
    const HRESULT launched = launcher(folder);
    std::printf("options-*.png, about.png: 0x%08lx\n", static_cast<unsigned long>(launched));
    return SUCCEEDED(shown) && SUCCEEDED(launched) ? 0 : 1;
}

#include "WindowWatcher.h"

#include <algorithm>

#include "TestSupport.h"
#include "Window.h"

namespace testing_support {
namespace {

BOOL CALLBACK collectStatic(HWND child, LPARAM context)
{
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    auto* text = reinterpret_cast<std::wstring*>(context);
    const std::wstring part = lstrcmpiW(name, L"Static") == 0 ? ui::windowText(child) : L"";
    if (!part.empty()) *text += (text->empty() ? L"" : L"\n") + part;
    return TRUE;
}

SeenWindow describe(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, ARRAYSIZE(name));
    SeenWindow seen{window, name, ui::windowText(window), L""};
    if (seen.className == kDialogClass) EnumChildWindows(window, collectStatic, reinterpret_cast<LPARAM>(&seen.text));
    return seen;
}

} // namespace

// A system callback, so CALLBACK: a lambda converts only to the compiler's own
// calling convention, which 32-bit Windows does not use for callbacks.
BOOL CALLBACK WindowWatcher::visitWindow(HWND window, LPARAM self)
{
    reinterpret_cast<WindowWatcher*>(self)->visit(window);
    return TRUE;
}

WindowWatcher::WindowWatcher(DWORD processId, WindowHandler onWindow)
    : processId_(processId), onWindow_(std::move(onWindow))
{
    thread_ = std::thread([this] {
        for (; !done_; Sleep(20)) EnumWindows(visitWindow, reinterpret_cast<LPARAM>(this));
    });
}

void WindowWatcher::stop()
{
    done_ = true;
    if (thread_.joinable()) thread_.join();
}

std::vector<SeenWindow> WindowWatcher::seen()
{
    std::lock_guard<std::mutex> hold(lock_);
    return seen_;
}

void WindowWatcher::visit(HWND window)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != processId_ || !IsWindowVisible(window)) return;
    SeenWindow current;
    {
        std::lock_guard<std::mutex> hold(lock_);
        auto known = std::find_if(seen_.begin(), seen_.end(), [&](const SeenWindow& s) { return s.handle == window; });
        current = known != seen_.end() ? *known : seen_.emplace_back(describe(window));
    }
    if (onWindow_) onWindow_(current);
}

HWND waitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs)
{
    HWND window = nullptr;
    const auto shown = [&] { return (window = FindWindowW(className, title)) && IsWindowVisible(window); };
    return waitFor(shown, timeoutMs) ? window : nullptr;
}

bool answerFileDialog(const std::wstring& title, const std::wstring& answer, DWORD timeoutMs)
{
    HWND dialog = waitForWindow(kDialogClass, title.c_str(), timeoutMs);
    if (!dialog) return false;
    Sleep(100); // the dialog fills its controls after it shows
    if (answer.empty()) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        HWND box = GetDlgItem(dialog, 0x47c); // the file name combo box (0x480: the plain edit of older dialogs)
        HWND edit = box ? FindWindowExW(box, nullptr, L"Edit", nullptr) : GetDlgItem(dialog, 0x480);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(edit ? edit : box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.c_str()), SMTO_NORMAL,
                            5000, &ignored);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    waitFor([dialog] { return !IsWindow(dialog); }, timeoutMs + 5000);
    Sleep(100);
    return true;
}

DialogAnswers::DialogAnswers(int button)
    : watcher_(GetCurrentProcessId(), [button](const SeenWindow& window) {
          if (window.className != kDialogClass) return;
          const int pressed = GetDlgItem(window.handle, button) ? button : IDOK;
          PostMessageW(window.handle, WM_COMMAND, MAKEWPARAM(pressed, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(window.handle, pressed)));
      })
{
}

std::vector<SeenWindow> DialogAnswers::boxes()
{
    std::vector<SeenWindow> result = watcher_.seen();
    result.erase(std::remove_if(result.begin(), result.end(),
                                [](const SeenWindow& window) { return window.className != kDialogClass; }),
                 result.end());
    return result;
}

} // namespace testing_support

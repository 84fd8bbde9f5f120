#include "DialogAnswers.h"

#include <algorithm>

namespace testing_support {
namespace {

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

BOOL CALLBACK collectStatic(HWND child, LPARAM context)
{
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (lstrcmpiW(name, L"Static") == 0) {
        auto* text = reinterpret_cast<std::wstring*>(context);
        const std::wstring part = windowText(child);
        if (!part.empty()) *text += (text->empty() ? L"" : L"\n") + part;
    }
    return TRUE;
}

} // namespace

DialogAnswers::DialogAnswers(int button) : button_(button)
{
    InitializeCriticalSection(&lock_);
    thread_ = std::thread([this] {
        for (; !done_; Sleep(20)) EnumWindows(visit, reinterpret_cast<LPARAM>(this));
    });
}

DialogAnswers::~DialogAnswers()
{
    done_ = true;
    thread_.join();
    DeleteCriticalSection(&lock_);
}

std::vector<std::wstring> DialogAnswers::texts()
{
    EnterCriticalSection(&lock_);
    std::vector<std::wstring> copy = texts_;
    LeaveCriticalSection(&lock_);
    return copy;
}

std::vector<std::wstring> DialogAnswers::titles()
{
    EnterCriticalSection(&lock_);
    std::vector<std::wstring> copy = titles_;
    LeaveCriticalSection(&lock_);
    return copy;
}

BOOL CALLBACK DialogAnswers::visit(HWND window, LPARAM context)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && std::wstring(name) == L"#32770")
        reinterpret_cast<DialogAnswers*>(context)->answer(window);
    return TRUE;
}

void DialogAnswers::answer(HWND window)
{
    EnterCriticalSection(&lock_);
    const bool fresh = std::find(seen_.begin(), seen_.end(), window) == seen_.end();
    if (fresh) {
        seen_.push_back(window);
        std::wstring text;
        EnumChildWindows(window, collectStatic, reinterpret_cast<LPARAM>(&text));
        texts_.push_back(text);
        titles_.push_back(windowText(window));
        ++answered_;
    }
    LeaveCriticalSection(&lock_);
    const int button = GetDlgItem(window, button_) ? button_ : IDOK;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
}

} // namespace testing_support

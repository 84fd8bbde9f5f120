// Watches the visible top-level windows of one process from a second thread
// while that process (or this one) is blocked in a call, so a test can read
// and answer the windows it shows: message boxes, shell confirmations, forms.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

constexpr wchar_t kDialogClass[] = L"#32770";

// A visible top-level window, as first seen.
struct SeenWindow {
    HWND handle = nullptr;
    std::wstring className;
    std::wstring title;
    std::wstring text; // a dialog box's static texts joined by "\n", else ""
};

// Called about every 20 ms for each visible top-level window of the process.
using WindowHandler = std::function<void(const SeenWindow&)>;

class WindowWatcher {
public:
    WindowWatcher(DWORD processId, WindowHandler onWindow);
    ~WindowWatcher() { stop(); }
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    void stop(); // ends the watching thread; the handler is not called after it returns
    std::vector<SeenWindow> seen(); // every window seen so far, in the order first seen

private:
    static BOOL CALLBACK visitWindow(HWND window, LPARAM self);
    void visit(HWND window);

    DWORD processId_;
    WindowHandler onWindow_;
    std::vector<SeenWindow> seen_;
    std::mutex lock_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// The visible top-level window of that class (and title, unless null) of any process, once it shows;
// null when none showed within timeoutMs.
HWND waitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs = 10000);

// Answers the next file dialog titled `title` (of any process): types `answer`
// into its file name box and presses Open, or presses Cancel when it is empty.
// Waits up to timeoutMs for the dialog and then until it has closed; false when it never showed.
bool answerFileDialog(const std::wstring& title, const std::wstring& answer, DWORD timeoutMs = 10000);

// Answers the dialog boxes this process shows while a call blocks its thread,
// by pressing `button` (IDYES, IDNO, IDOK, IDCANCEL...; IDOK on a box without it).
class DialogAnswers {
public:
    explicit DialogAnswers(int button);

    std::vector<SeenWindow> boxes(); // the boxes answered so far
    int answered() { return static_cast<int>(boxes().size()); }

private:
    WindowWatcher watcher_;
};

} // namespace testing_support

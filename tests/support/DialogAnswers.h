// Answers the dialog boxes (message boxes, shell confirmations) that this
// process shows while a call blocks its thread: a second thread finds each
// visible #32770 window of the process and presses the chosen button.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class DialogAnswers {
public:
    // button: IDYES, IDNO, IDOK, IDCANCEL...; a box without that button gets IDOK.
    explicit DialogAnswers(int button);
    ~DialogAnswers();
    DialogAnswers(const DialogAnswers&) = delete;
    DialogAnswers& operator=(const DialogAnswers&) = delete;

    // How many boxes were answered so far, and the text of each (its static controls, joined).
    int answered() const { return answered_; }
    std::vector<std::wstring> texts();
    std::vector<std::wstring> titles(); // the title of each, in the same order

private:
    static BOOL CALLBACK visit(HWND window, LPARAM context);
    void answer(HWND window);

    int button_;
    std::atomic<int> answered_{0};
    std::atomic<bool> done_{false};
    std::vector<HWND> seen_;
    std::vector<std::wstring> texts_, titles_;
    CRITICAL_SECTION lock_;
    std::thread thread_;
};

} // namespace testing_support

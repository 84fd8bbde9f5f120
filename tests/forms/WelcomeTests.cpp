// The welcome dialog as a user meets it: a second thread finds the window,
// reads its controls, closes it with the close box, and the call returns.
#include <atomic>
#include <fstream>
#include <thread>

#include "PlainWindow.h"
#include "ScratchFolder.h"
#include "TestSupport.h"
#include "WindowWatcher.h"
#include "core/RunOnceDialog.h"
#include "core/RunOnceText.h"
#include "core/qfcLibCoreA.h"

using namespace testing_support;
namespace core = quillon::qfcLibCoreA;
namespace runonce = quillon::runonce;

namespace {

struct Seen {
    bool shown = false;
    std::wstring caption, heading, text;
    long widthTwips = 0, heightTwips = 0;
};

// Runs the dialog on this thread while another one reads and closes it.
Seen showAndClose(const std::wstring& text, const std::wstring& file, const std::wstring& heading,
                  const std::wstring& caption, long width)
{
    Seen seen;
    std::atomic<bool> returned{false};
    std::thread user([&] {
        HWND window = nullptr;
        while (!returned && !(window = waitForWindow(core::kRunOnceWindowClass, nullptr, 100))) {
        }
        if (!window) return;
        RECT outer{};
        GetWindowRect(window, &outer);
        const UINT dpi = ui::windowDpi(window);
        seen = {true, ui::windowText(window), ui::windowText(GetDlgItem(window, core::kRoWelcome)),
                ui::windowText(GetDlgItem(window, core::kRunOnceText)),
                ui::pixelsToTwips(outer.right - outer.left, dpi), ui::pixelsToTwips(outer.bottom - outer.top, dpi)};
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    core::ShowRunOnceDialog(text, quillon::wholeName(file, quillon::NameKind::Path), heading, caption, width, 4800);
    returned = true;
    user.join();
    return seen;
}

TEST(WelcomeText, FilesDecodeWholeCharactersAndEveryLineEndsWithABreak)
{
    const std::pair<std::string, std::wstring> cases[] = {
        {"one\r\ntwo\nthree", L"one\r\ntwo\r\nthree\r\n"},
        {"one\r\ntwo\r\nthree\r\n", L"one\r\ntwo\r\nthree\r\n"},
        {"", L"\r\n"},
        {"a\r\rb", L"a\r\n\r\nb\r\n"},
        {"\xC3\xA9t\xC3\xA9", L"\u00E9t\u00E9\r\n"},
        {std::string("\xFF\xFEh\0i\0\n\0", 8), L"hi\r\n"},
        {std::string("\xFE\xFF\0h\0i", 6), L"hi\r\n"},
        {"caf\xE9", L"caf\u00E9\r\n"}, // not UTF-8: the ANSI code page
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(text, runonce::withLineBreaks(runonce::decodeText(bytes))) << bytes;
    EXPECT_EQ(L"{AppTitle} setup", runonce::caption(L"{AppTitle} setup", L"Game")) << "only the whole placeholder";
    EXPECT_EQ(4800, runonce::usableHeight(-5));

    // A file read up to a byte count ends in whole characters of its encoding: a cut one would make it no UTF-8.
    const std::pair<std::string, std::string> cut[] = {
        {"ab\xE6\x97", "ab"},
        {"ab\xF0\x9F\x98\x80", "ab\xF0\x9F\x98\x80"},
        {"ab\xF0\x9F\x98", "ab"},
        {std::string("\xFF\xFEh\0i", 5), std::string("\xFF\xFEh\0", 4)},
        {std::string("\xFF\xFEh\0\x3D\xD8", 6), std::string("\xFF\xFEh\0", 4)},
        {std::string("\xFE\xFF\0h\xD8\x3D", 6), std::string("\xFE\xFF\0h", 4)},
    };
    for (const auto& [bytes, kept] : cut) EXPECT_EQ(kept, runonce::wholeCharacters(bytes)) << bytes;
}

TEST(Welcome, TheWindowShowsItsTextHeadingAndCaptionAndClosesByItsCloseBox)
{
    raii::ComScope com;
    core::InitCore(L"Vantorel", L"Vantorel", L"C:\\", 1, 1, 32);
    EXPECT_FALSE(showAndClose(L"", L"", L"Welcome to {AppTitle}", L"{AppTitle}", 6495).shown)
        << "nothing to show: no window";

    files_testing::ScratchFolder scratch(L"Welcome");
    const std::wstring threeLines = scratch / L"readme.txt";
    std::ofstream(threeLines.c_str(), std::ios::binary) << "\xEF\xBB\xBFline one\r\nline two\nline three";
    struct Case {
        const char* what;
        std::wstring text, file, heading, caption;
        long width;
        std::wstring shownText, shownHeading, shownCaption;
        long shownWidth;
    } cases[] = {
        {"a UTF-8 file of three lines", L"", threeLines, L"Welcome to {AppTitle}", L"{AppTitle}", 6495,
         L"line one\r\nline two\r\nline three\r\n", L"Welcome to Vantorel", L"Vantorel", 6495},
        {"a missing file", L"", scratch / L"missing.txt", L"Hello {AppTitle}", L"Readme", 1999, L"",
         L"Hello {AppTitle}", L"Readme", 6495},
        {"text and file: only the text", L"Just this", threeLines, L"Heading", L"{AppTitle}", 2000, L"Just this",
         L"Heading", L"Vantorel", 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Seen seen = showAndClose(c.text, c.file, c.heading, c.caption, c.width);
        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(c.shownText, seen.text);
        EXPECT_EQ(c.shownHeading, seen.heading);
        EXPECT_EQ(c.shownCaption, seen.caption);
        EXPECT_EQ(snappedTwips(c.shownWidth, ui::screenDpi()), seen.widthTwips);
        EXPECT_EQ(snappedTwips(4800, ui::screenDpi()), seen.heightTwips);
        EXPECT_FALSE(FindWindowW(core::kRunOnceWindowClass, nullptr)) << "gone when the call returns";
    }
}

} // namespace

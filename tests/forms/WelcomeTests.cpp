// The welcome dialog as a user meets it: a second thread finds the window,
// reads its controls, closes it with the close box, and the call returns.
#include <atomic>
#include <fstream>
#include <thread>

#include "Dpi.h"
#include "TestSupport.h"
#include "core/RunOnceDialog.h"
#include "core/RunOnceText.h"
#include "core/qfcLibCoreA.h"

using namespace testing_support;
namespace core = quillon::qfcLibCoreA;
namespace runonce = quillon::runonce;

namespace {

std::wstring textOf(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

struct Seen {
    bool shown = false;
    std::wstring caption, heading, text;
    long widthTwips = 0, heightTwips = 0;
    bool topmost = false, readOnly = false, scrolls = false;
};

// Runs the dialog on this thread while another one reads and closes it.
Seen showAndClose(const std::wstring& text, const std::wstring& file, const std::wstring& heading,
                  const std::wstring& caption, long width, long height)
{
    Seen seen;
    std::atomic<bool> done{false};
    std::thread user([&] {
        for (int i = 0; i < 1000 && !done; ++i, Sleep(10)) {
            HWND window = FindWindowW(core::kRunOnceWindowClass, nullptr);
            if (!window || !IsWindowVisible(window)) continue;
            Sleep(50);
            seen.shown = true;
            seen.caption = textOf(window);
            seen.heading = textOf(GetDlgItem(window, core::kRoWelcome));
            HWND box = GetDlgItem(window, core::kRunOnceText);
            seen.text = textOf(box);
            seen.readOnly = GetWindowLongW(box, GWL_STYLE) & ES_READONLY;
            seen.scrolls = GetWindowLongW(box, GWL_STYLE) & WS_VSCROLL;
            RECT outer{};
            GetWindowRect(window, &outer);
            const UINT dpi = ui::windowDpi(window);
            seen.widthTwips = ui::pixelsToTwips(outer.right - outer.left, dpi);
            seen.heightTwips = ui::pixelsToTwips(outer.bottom - outer.top, dpi);
            seen.topmost = GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST;
            PostMessageW(window, WM_CLOSE, 0, 0);
            return;
        }
    });
    core::ShowRunOnceDialog(text, quillon::wholeName(file, quillon::NameKind::Path), heading, caption, width, height);
    done = true;
    user.join();
    return seen;
}

long snapped(long twips)
{
    const UINT dpi = ui::screenDpi();
    return ui::pixelsToTwips(ui::twipsToPixels(twips, dpi), dpi);
}

class Welcome : public ComTest {
protected:
    void SetUp() override
    {
        core::InitCore(L"Vantorel", L"Vantorel", L"C:\\", 1, 1, 32);
        folder_ = programFolder() + L"welcome-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
    }
    void TearDown() override
    {
        for (const auto& name : written_) DeleteFileW(name.c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::wstring file(const std::wstring& name, const std::string& bytes)
    {
        const std::wstring path = folder_ + name;
        std::ofstream(path.c_str(), std::ios::binary) << bytes;
        written_.push_back(path);
        return path;
    }

    std::wstring folder_;
    std::vector<std::wstring> written_;
};

TEST(WelcomeText, FilesDecodeAndEveryLineEndsWithABreak)
{
    struct Case {
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"one\r\ntwo\nthree", L"one\r\ntwo\r\nthree\r\n"},
        {"one\r\ntwo\r\nthree\r\n", L"one\r\ntwo\r\nthree\r\n"},
        {"", L"\r\n"},
        {"a\r\rb", L"a\r\n\r\nb\r\n"},
        {"\xEF\xBB\xBF\xC3\xA9t\xC3\xA9", L"\u00E9t\u00E9\r\n"},
        {"\xC3\xA9t\xC3\xA9", L"\u00E9t\u00E9\r\n"},
        {std::string("\xFF\xFEh\0i\0\n\0", 8), L"hi\r\n"},
        {std::string("\xFE\xFF\0h\0i", 6), L"hi\r\n"},
        {"caf\xE9", L"caf\u00E9\r\n"}, // not UTF-8: the ANSI code page
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, runonce::withLineBreaks(runonce::decodeText(c.bytes))) << c.bytes;
    EXPECT_EQ(L"Welcome to Game", runonce::heading(L"Welcome to {AppTitle}", L"Game"));
    EXPECT_EQ(L"Hello {AppTitle}", runonce::heading(L"Hello {AppTitle}", L"Game"));
    EXPECT_EQ(L"Game", runonce::caption(L"{AppTitle}", L"Game"));
    EXPECT_EQ(L"{AppTitle} setup", runonce::caption(L"{AppTitle} setup", L"Game"));
    EXPECT_EQ(6495, runonce::usableWidth(1999));
    EXPECT_EQ(2000, runonce::usableWidth(2000));
    EXPECT_EQ(4800, runonce::usableHeight(-5));
}

// A file read up to a byte count ends in whole characters of its encoding.
TEST(WelcomeText, ACutTextEndsInWholeCharacters)
{
    const struct {
        std::string bytes, kept;
    } cases[] = {
        {"plain", "plain"},
        {"ab\xC3\xA9", "ab\xC3\xA9"},
        {"ab\xC3", "ab"},
        {"ab\xE6\x97", "ab"},
        {"ab\xF0\x9F\x98\x80", "ab\xF0\x9F\x98\x80"},
        {"ab\xF0\x9F\x98", "ab"},
        {std::string("\xFF\xFEh\0i", 5), std::string("\xFF\xFEh\0", 4)},
        {std::string("\xFF\xFEh\0\x3D\xD8", 6), std::string("\xFF\xFEh\0", 4)},
        {std::string("\xFE\xFF\0h\xD8\x3D", 6), std::string("\xFE\xFF\0h", 4)},
    };
    for (const auto& c : cases) EXPECT_EQ(c.kept, runonce::wholeCharacters(c.bytes)) << c.bytes;
}

TEST_F(Welcome, NothingToShowReturnsAtOnceWithoutAWindow)
{
    Seen seen = showAndClose(L"", L"", L"Welcome to {AppTitle}", L"{AppTitle}", 6495, 4800);
    EXPECT_FALSE(seen.shown);
}

TEST_F(Welcome, TheWindowShowsItsTextHeadingAndCaptionAndClosesByItsCloseBox)
{
    const std::wstring threeLines = file(L"readme.txt", "\xEF\xBB\xBFline one\r\nline two\nline three");
    struct Case {
        const char* what;
        std::wstring text, file, heading, caption;
        long width;
        std::wstring shownText, shownHeading, shownCaption;
        long shownWidth;
    } cases[] = {
        {"a UTF-8 file of three lines", L"", threeLines, L"Welcome to {AppTitle}", L"{AppTitle}", 6495,
         L"line one\r\nline two\r\nline three\r\n", L"Welcome to Vantorel", L"Vantorel", 6495},
        {"a missing file", L"", folder_ + L"missing.txt", L"Hello {AppTitle}", L"Readme", 1999, L"",
         L"Hello {AppTitle}", L"Readme", 6495},
        {"text and file: only the text", L"Just this", threeLines, L"Heading", L"{AppTitle}", 2000, L"Just this",
         L"Heading", L"Vantorel", 2000},
    };
    for (const auto& c : cases) {
        Seen seen = showAndClose(c.text, c.file, c.heading, c.caption, c.width, 4800);
        ASSERT_TRUE(seen.shown) << c.what;
        EXPECT_EQ(c.shownText, seen.text) << c.what;
        EXPECT_EQ(c.shownHeading, seen.heading) << c.what;
        EXPECT_EQ(c.shownCaption, seen.caption) << c.what;
        EXPECT_EQ(snapped(c.shownWidth), seen.widthTwips) << c.what;
        EXPECT_EQ(snapped(4800), seen.heightTwips) << c.what;
        EXPECT_TRUE(seen.topmost) << c.what << ": on top while it is shown";
        EXPECT_TRUE(seen.readOnly && seen.scrolls) << c.what;
        EXPECT_FALSE(FindWindowW(core::kRunOnceWindowClass, nullptr)) << c.what << ": gone when the call returns";
    }
}

TEST_F(Welcome, ScriptClientShowsTheDialog)
{
    std::string output;
    long exitCode = -1;
    std::thread script([&] {
        output = captureProcess(L"cscript.exe //nologo \"" + programFolder() + L"welcome.vbs\"", &exitCode);
    });
    std::wstring heading;
    for (int i = 0; i < 1500; ++i, Sleep(10)) {
        HWND window = FindWindowW(core::kRunOnceWindowClass, L"Scripted");
        if (!window || !IsWindowVisible(window)) continue;
        heading = textOf(GetDlgItem(window, core::kRoWelcome));
        PostMessageW(window, WM_CLOSE, 0, 0);
        break;
    }
    script.join();
    EXPECT_EQ(L"Welcome to Scripted", heading);
    EXPECT_EQ("returned\r\n", output);
    EXPECT_EQ(0, exitCode);
}

} // namespace

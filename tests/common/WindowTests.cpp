// Table-built windows under Xvfb: what the table says, the keys, and the
// lifetime of windows and their classes.
#include "Dpi.h"
#include "TestSupport.h"
#include "Window.h"

namespace {

enum { kName = 101, kEntry = 102, kKeep = 103, kGo = 104, kNote = 105 };

const ui::Frame kFrame = {L"QuillonTestWindow", L"Table", WS_OVERLAPPEDWINDOW, 0, 5760, 2880};

class TableWindow : public ui::Window {
public:
    TableWindow()
        : ui::Window(kFrame, {
                                 {kName, ui::Kind::Label, L"Name", 120, 120, 1200, 285, 0, 0},
                                 {kKeep, ui::Kind::CheckBox, L"Keep", 1440, 480, 2880, 285, 0, 3},
                                 {kEntry, ui::Kind::Text, L"", 1440, 120, 2880, 285, 0, 2},
                                 {kGo, ui::Kind::DefaultButton, L"Go", 1440, 900, 1200, 375, 0, 1},
                                 {kNote, ui::Kind::MultiLineText, L"a\r\nb", 120, 1400, 4000, 900, ES_READONLY, 0},
                             })
    {
    }
    std::vector<int> commands;

private:
    void onCommand(int id, int notification) override
    {
        if (notification == BN_CLICKED || id == IDCANCEL) commands.push_back(id);
    }
};

// Where a control stands in its window's client area: left, top, width, height in pixels.
std::vector<int> placeOf(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::vector<int> inPixels(const ui::Window& window, std::vector<int> twips)
{
    for (int& value : twips) value = ui::twipsToPixels(value, window.dpi());
    return twips;
}

bool sendKey(HWND target, WPARAM key)
{
    MSG message{target, WM_KEYDOWN, key, 1, 0, {}};
    return ui::handleDialogKeys(message);
}

// A window that is gone reports no DPI; it counts as 96 instead of being divided by.
TEST(TwipsAndPixels, AnUnknownDpiCountsAs96)
{
    EXPECT_EQ(96, ui::twipsToPixels(1440, 0));
    EXPECT_EQ(1440, ui::pixelsToTwips(96, 0));
}

// The table gives each control its place in twips, at the window's DPI and again after a DPI change, and
// its tab order; Enter and Esc reach the handlers through the message-loop hook.
TEST(TableWindow, ControlsFollowTheTablesPlacesAtEachDpiAndItsTabOrder)
{
    TableWindow window;
    ASSERT_EQ(S_OK, window.create(nullptr, 10, 20));
    RECT outer{};
    GetWindowRect(window.handle(), &outer);
    EXPECT_EQ(ui::twipsToPixels(5760, window.dpi()), outer.right - outer.left) << "the frame is the outer size";
    EXPECT_EQ(inPixels(window, {1440, 120, 2880, 285}), placeOf(window.control(kEntry)));
    EXPECT_EQ(window.font(), reinterpret_cast<HFONT>(SendMessageW(window.control(kEntry), WM_GETFONT, 0, 0)));

    window.place(kName, 240, 150, 900, 300);
    RECT suggested{10, 20, 10 + 864, 20 + 432};
    SendMessageW(window.handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    ASSERT_EQ(144u, window.dpi());
    EXPECT_EQ(inPixels(window, {1440, 120, 2880, 285}), placeOf(window.control(kEntry)));
    EXPECT_EQ(inPixels(window, {240, 150, 900, 300}), placeOf(window.control(kName))) << "a moved control";
    GetWindowRect(window.handle(), &outer);
    EXPECT_EQ(864, outer.right - outer.left);

    window.show();
    HWND go = window.control(kGo), entry = window.control(kEntry);
    SetForegroundWindow(window.handle());
    SetFocus(go);
    EXPECT_TRUE(sendKey(go, VK_TAB));
    EXPECT_EQ(entry, GetFocus()) << "Tab moved on through the hook, in table order";
    EXPECT_TRUE(sendKey(entry, VK_RETURN));
    EXPECT_TRUE(sendKey(entry, VK_ESCAPE));
    EXPECT_EQ((std::vector<int>{kGo, IDCANCEL}), window.commands) << "Enter pressed the default button";
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(sendKey(plain, VK_ESCAPE)) << "other windows' keys are left alone";
    DestroyWindow(plain);
}

TEST(TableWindow, ClassesAreUnregisteredOnRequestAndTheObjectMayOwnItsWindow)
{
    {
        TableWindow window;
        ASSERT_EQ(S_OK, window.create());
        PostMessageW(window.handle(), WM_CLOSE, 0, 0);
        MSG message;
        while (window.handle() && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        EXPECT_EQ(nullptr, window.handle()) << "WM_CLOSE destroys the window";
        ASSERT_EQ(S_OK, window.create());
    } // the object takes its window with it
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    EXPECT_TRUE(GetClassInfoExW(ui::thisModule(), kFrame.className, &info));
    ui::unregisterClasses();
    EXPECT_FALSE(GetClassInfoExW(ui::thisModule(), kFrame.className, &info));
    TableWindow again;
    EXPECT_EQ(S_OK, again.create()) << "registered again on the next use";
}

} // namespace

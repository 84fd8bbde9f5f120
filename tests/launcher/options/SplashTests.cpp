// The splash as a real window: its size follows the window's DPI, it sits in
// the middle of the work area, and Esc through the launcher's loop closes it.
#include "Dpi.h"
#include "LoadedForms.h"
#include "Splash.h"
#include "TestSupport.h"
#include "Window.h"

namespace {

using testing_support::ComTest;

class Splash : public ComTest {
protected:
    void SetUp() override { ASSERT_EQ(S_OK, vantorel::registerSplashClass()); }
    void TearDown() override
    {
        vantorel::forms::unloadAll();
        vantorel::revokeSplashClass();
    }
};

TEST_F(Splash, AboutScreenIsSizedByDpiCentredAndClosedByEsc)
{
    raii::ComPtr<vantorel::ISplashScreen> splash;
    ASSERT_EQ(S_OK, CoCreateInstance(vantorel::CLSID_VantorelSplash, nullptr, CLSCTX_INPROC_SERVER,
                                     vantorel::IID_ISplashScreen, splash.putVoid()));
    ASSERT_EQ(S_OK, splash->Setup(raii::makeBstr(L"Vantorel").get(), raii::makeBstr(L"Vantorel").get(),
                                  raii::makeBstr(L"C:\\").get(), 1, 1, 32, 401));
    ASSERT_EQ(S_OK, splash->SplashSwitch(0));
    ASSERT_EQ(S_OK, splash->Show());
    splash.reset();

    HWND window = FindWindowW(vantorel::kSplashWindowClass, nullptr);
    ASSERT_TRUE(window);
    EXPECT_EQ(1u, vantorel::forms::loadedCount());
    const UINT dpi = ui::windowDpi(window);
    RECT outer{}, area{};
    GetWindowRect(window, &outer);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(ui::twipsToPixels(6300, dpi), outer.right - outer.left);
    EXPECT_EQ(ui::twipsToPixels(3300, dpi), outer.bottom - outer.top);
    EXPECT_LE(std::abs((outer.left + outer.right) - (area.left + area.right)), 1);
    EXPECT_LE(std::abs((outer.top + outer.bottom) - (area.top + area.bottom)), 1);

    MSG escape{window, WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
    EXPECT_TRUE(ui::handleDialogKeys(escape));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(0u, vantorel::forms::loadedCount());
}

} // namespace

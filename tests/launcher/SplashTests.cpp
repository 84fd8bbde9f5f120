// The splash component as start-up and the about screen use it: created by
// class identifier after registration for this process, its window counted
// among the launcher's loaded windows.
#include "LoadedForms.h"
#include "Splash.h"
#include "TestSupport.h"

using namespace testing_support;
using namespace vantorel;

namespace {

class SplashComponent : public ComTest {
protected:
    void SetUp() override { ASSERT_EQ(S_OK, registerSplashClass()); }
    void TearDown() override
    {
        forms::unloadAll();
        revokeSplashClass();
    }

    raii::ComPtr<ISplashScreen> create()
    {
        raii::ComPtr<ISplashScreen> splash;
        EXPECT_EQ(S_OK, CoCreateInstance(CLSID_VantorelSplash, nullptr, CLSCTX_INPROC_SERVER, IID_ISplashScreen,
                                         splash.putVoid()));
        return splash;
    }

    static HRESULT setUp(ISplashScreen* splash)
    {
        return splash->Setup(bstr(L"Vantorel").get(), bstr(L"Vantorel").get(), bstr(L"C:\\Games").get(), 1, 1, 32,
                             401);
    }
};

} // namespace

TEST_F(SplashComponent, RefusesWhatItIsNot)
{
    raii::ComPtr<ISplashScreen> splash = create();
    ASSERT_TRUE(splash);
    raii::ComPtr<IDispatch> dispatch;
    EXPECT_EQ(E_NOINTERFACE, splash.as(dispatch, IID_IDispatch));

    raii::ComPtr<IUnknown> aggregated;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, CoCreateInstance(CLSID_VantorelSplash, splash.get(), CLSCTX_INPROC_SERVER,
                                                      IID_IUnknown, aggregated.putVoid()));

    EXPECT_EQ(E_UNEXPECTED, splash->Show()) << "nothing to show before set-up";
    for (short look : {0, 6, -1}) EXPECT_EQ(E_INVALIDARG, splash->Number(look)) << look;
    for (short look = 1; look <= 5; ++look) EXPECT_EQ(S_OK, splash->Number(look)) << look;
    EXPECT_EQ(E_INVALIDARG, splash->SplashSwitch(2));
    EXPECT_EQ(0u, forms::loadedCount());
}

TEST_F(SplashComponent, TheAboutScreenStaysUntilEscape)
{
    raii::ComPtr<ISplashScreen> splash = create();
    ASSERT_EQ(S_OK, setUp(splash.get()));
    ASSERT_EQ(S_OK, splash->SplashSwitch(0));
    ASSERT_EQ(S_OK, splash->Show());
    splash.reset();

    HWND window = FindWindowW(kSplashWindowClass, L"Vantorel");
    ASSERT_NE(nullptr, window) << "the window outlives the released component";
    EXPECT_EQ(1u, forms::loadedCount());
    Sleep(kSplashMilliseconds + 300);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    EXPECT_TRUE(IsWindow(window));

    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(0u, forms::loadedCount());
}

TEST_F(SplashComponent, TheStartupSplashClosesItselfAndEndsTheMessageLoop)
{
    raii::ComPtr<ISplashScreen> splash = create();
    ASSERT_EQ(S_OK, setUp(splash.get()));
    ASSERT_EQ(S_OK, splash->Number(3));
    ASSERT_EQ(S_OK, splash->SplashSwitch(1));
    ASSERT_EQ(S_OK, splash->Show());
    splash.reset();
    ASSERT_EQ(1u, forms::loadedCount());

    const DWORD started = GetTickCount();
    forms::runMessageLoop();
    const DWORD elapsed = GetTickCount() - started;
    EXPECT_EQ(0u, forms::loadedCount());
    EXPECT_GE(elapsed, kSplashMilliseconds - 200);
    EXPECT_LT(elapsed, kSplashMilliseconds + 3000);
}

// The form routines on a screen of 3840x2160 pixels at 144 DPI (an X display
// and a prefix of this program's own): 38,400 twips across, beyond 16 bits.
#include "Dpi.h"
#include "FormObject.h"
#include "TestSupport.h"
#include "PlainWindow.h"
#include "core/qfcLibCoreA.h"
#include "forms/qfcLibFormsA.h"
#include "registry/qfcLibRegistryA.h"

using namespace testing_support;
namespace forms = quillon::qfcLibFormsA;

namespace {

const ui::Frame kFrame = {L"QuillonScreenTest", L"Screen", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 6495, 4800};

RECT outerPixels(HWND window)
{
    RECT outer{};
    GetWindowRect(window, &outer);
    return outer;
}

TEST(LargeScreen, FormsAreCentredStoredAndRestoredInTwipsBeyondSixteenBitsAt144Dpi)
{
    raii::ComScope com;
    ScratchCurrentUser scratch(L"LargeScreen");
    quillon::qfcLibCoreA::InitCore(L"ScreenTests", L"ScreenTests", L"C:\\", 1, 0, 0);
    quillon::qfcLibRegistryA::KeySet(quillon::checkedName(L"WinAnimate"), L"0", {}, 2);
    ASSERT_EQ(144u, ui::screenDpi()) << "the prefix's LogPixels";
    EXPECT_EQ(38400, forms::ScreenWidth()) << "10 twips per pixel";

    testing_support::PlainWindow window{kFrame};
    ASSERT_EQ(S_OK, window.create());
    auto form = raii::ComPtr<IDispatch>::attach(ui::createFormObject(window.handle(), L"frmLarge"));
    ASSERT_EQ(650, outerPixels(window.handle()).right - outerPixels(window.handle()).left) << "6495 twips at 144 DPI";
    forms::CenterForm(form.get(), nullptr);
    EXPECT_EQ(1595, outerPixels(window.handle()).left) << "(38400 - 6500) / 2 twips";

    latebound::Object(form.get()).call(L"Move", latebound::Args().i4(35000).i4(20000).i4(3000).i4(1000));
    forms::FormClose(form.get(), 0);
    EXPECT_EQ(L"35000|20000|3000|1000",
              storedText(HKEY_CURRENT_USER, L"Software\\Brannock\\Apps\\ScreenTests\\Forms", L"frmLarge"));
    latebound::Object(form.get()).call(L"Move", latebound::Args().i4(0).i4(0).i4(6495).i4(4800));
    forms::FormOpen(form.get(), nullptr, false, false);
    const RECT restored = outerPixels(window.handle());
    EXPECT_EQ((std::vector<LONG>{3500, 2000, 3800, 2100}),
              (std::vector<LONG>{restored.left, restored.top, restored.right, restored.bottom}));
}

} // namespace

// The form routines on real windows (through the form object of common/, whose
// own errors are read here too) and on a recording form (where every Move must be seen).
#include "Dpi.h"
#include "FormObject.h"
#include "LateBound.h"
#include "PlainWindow.h"
#include "RecordingObject.h"
#include "TestSupport.h"
#include "core/qfcLibCoreA.h"
#include "forms/FormPlacement.h"
#include "forms/qfcLibFormsA.h"
#include "registry/qfcLibRegistryA.h"
#include "server/Failure.h"

using namespace testing_support;
using quillon::placement::Rect;
using Log = std::vector<std::wstring>;
namespace forms = quillon::qfcLibFormsA;

namespace {

const wchar_t kFormsKey[] = L"Software\\Brannock\\Apps\\FormsTests\\Forms";
const ui::Frame kFrame = {L"QuillonFormsTest", L"Forms", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 4500, 3000};

class Forms : public ComTest {
protected:
    void SetUp() override
    {
        quillon::qfcLibCoreA::InitCore(L"FormsTests", L"FormsTests", L"C:\\", 1, 0, 0);
        setAnimation(L"1");
        ASSERT_EQ(S_OK, window_.create());
        form_ = raii::ComPtr<IDispatch>::attach(ui::createFormObject(window_.handle(), L"frmPlace"));
    }
    static void setAnimation(const wchar_t* value)
    {
        quillon::qfcLibRegistryA::KeySet(quillon::checkedName(L"WinAnimate"), value, {}, 2);
    }
    static void store(const std::wstring& place) { setText(kFormsKey, L"frmPlace", place); }
    void move(long left, long top, long width, long height)
    {
        latebound::Object(form_.get()).call(L"Move", latebound::Args().i4(left).i4(top).i4(width).i4(height));
    }
    Rect place()
    {
        long values[4] = {};
        const wchar_t* names[] = {L"Left", L"Top", L"Width", L"Height"};
        for (int i = 0; i < 4; ++i) latebound::Object(form_.get()).get(names[i]).asLong(values[i]);
        return {values[0], values[1], values[2], values[3]};
    }
    long snapped(long twips) const { return snappedTwips(twips, ui::windowDpi(window_.handle())); }
    Rect centredPlace()
    {
        const Rect own = place();
        return {snapped(forms::ScreenWidth() / 2 - own.width / 2), snapped(forms::ScreenHeight() / 2 - own.height / 2),
                own.width, own.height};
    }

    ScratchCurrentUser scratch_{L"Forms"};
    PlainWindow window_{kFrame};
    raii::ComPtr<IDispatch> form_;
};

raii::ComPtr<RecordingObject> recordingForm(long left, long top, long width, long height)
{
    auto form = raii::ComPtr<RecordingObject>::attach(RecordingObject::create(
        {L"Left", L"Top", L"Width", L"Height", L"WindowState", L"Visible", L"Move"}));
    const wchar_t* names[] = {L"Left", L"Top", L"Width", L"Height", L"WindowState"};
    const long values[] = {left, top, width, height, 0};
    for (int i = 0; i < 5; ++i) form->set(names[i], values[i]);
    form->method(L"Move", [names](RecordingObject& self, const std::vector<VARIANT>& args, VARIANT*) {
        for (size_t i = 0; i < args.size() && i < 4; ++i) self.set(names[i], args[i]);
        return S_OK;
    });
    return form;
}

TEST_F(Forms, FormOpenCentresAFormWithoutAUsableStoredPlace)
{
    forms::FormOpen(form_.get(), nullptr, false, false);
    EXPECT_EQ(centredPlace(), place()) << "a form never closed opens centred";
    for (const wchar_t* value : {L"1200|abc|6495|4800", L"-900000|-900000|6495|4800"}) {
        move(15, 15, 4500, 3000);
        store(value);
        ASSERT_NO_THROW(forms::FormOpen(form_.get(), nullptr, false, false)) << value;
        EXPECT_EQ(centredPlace(), place()) << value;
    }
    // Larger than the screen: centred at a size that fits the work area, never a window of 32,767 pixels.
    store(L"0|0|99999999|99999999");
    forms::FormOpen(form_.get(), nullptr, false, false);
    RECT work{}, outer{}, both{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(window_.handle(), &outer);
    UnionRect(&both, &work, &outer);
    EXPECT_TRUE(EqualRect(&both, &work)) << outer.left << "," << outer.top << "," << outer.right << "," << outer.bottom;
}

TEST_F(Forms, FormCloseStoresThePlaceAndHidesTheFormOnlyWithAnimation)
{
    move(1200, 900, 6495, 4800);
    window_.show(SW_SHOWNOACTIVATE);
    setAnimation(L"0");
    forms::FormClose(form_.get(), 1);
    EXPECT_EQ(quillon::placement::formatRectangle(place()), storedText(HKEY_CURRENT_USER, kFormsKey, L"frmPlace"));
    EXPECT_TRUE(IsWindowVisible(window_.handle())) << "WinAnimate 0 stores without hiding";
    setAnimation(L"1");
    forms::FormClose(form_.get(), 1);
    EXPECT_FALSE(IsWindowVisible(window_.handle())) << "with animation the form closes away";
}

TEST_F(Forms, TheFormObjectsMoveKeepsOmittedValuesAndVisibleShowsAndHides)
{
    latebound::Object form(form_.get());
    const long width = place().width;
    ASSERT_EQ(S_OK, form.call(L"Move", latebound::Args().i4(1500).missing().missing().missing()).hr);
    EXPECT_EQ(snapped(1500), place().left);
    EXPECT_EQ(width, place().width) << "omitted arguments keep their values";
    EXPECT_EQ(S_OK, form.put(L"Visible", true).hr);
    EXPECT_TRUE(IsWindowVisible(window_.handle()));
    EXPECT_EQ(S_OK, form.put(L"Visible", false).hr);
    EXPECT_FALSE(IsWindowVisible(window_.handle()));
}

TEST_F(Forms, TheFormObjectsBadCallsRaiseErrorsACallerCanRead)
{
    latebound::Object form(form_.get());
    struct Case {
        const char* what;
        latebound::Result result;
        SCODE scode;
    };
    Case cases[] = {
        {"unknown member", form.get(L"Colour"), 0},
        {"Move without Left", form.call(L"Move"), SCODE(0x800A01C1)},
        {"text for a number", form.call(L"Move", latebound::Args().text(L"left")), SCODE(0x800A000D)},
        {"WindowState 3", form.put(L"WindowState", 3L), SCODE(0x800A017C)},
        {"Line shape X", form.call(L"Line", latebound::Args().i4(0).i4(0).i4(1).i4(1).i4(0).text(L"X")),
         SCODE(0x800A0005)},
    };
    EXPECT_EQ(DISP_E_UNKNOWNNAME, cases[0].result.hr);
    for (size_t i = 1; i < std::size(cases); ++i) {
        EXPECT_EQ(DISP_E_EXCEPTION, cases[i].result.hr) << cases[i].what;
        EXPECT_EQ(cases[i].scode, cases[i].result.scode) << cases[i].what;
        EXPECT_FALSE(cases[i].result.description.empty()) << cases[i].what;
    }
    window_.destroy();
    EXPECT_EQ(SCODE(0x800A016C), form.get(L"Left").scode) << "a form whose window is gone says so";
    EXPECT_EQ(L"frmPlace", form.get(L"Name").text());
}

TEST_F(Forms, CloseWindowMovesHidesAndRestoresTheRectangle)
{
    auto form = recordingForm(1000, 500, 2000, 400);
    forms::CloseWindow(form.get(), 4, 150);
    EXPECT_EQ((Log{L"Left?", L"Top?", L"Width?", L"Height?", L"Move(1000,500,1850,400)", L"Move(1000,500,1700,400)",
                   L"Visible=False", L"Move(1000,500,2000,400)"}),
              form->take());
    auto broken = raii::ComPtr<RecordingObject>::attach(RecordingObject::create({L"Left"}));
    EXPECT_NO_THROW(forms::CloseWindow(broken.get(), 1, 150)) << "CloseWindow suppresses errors";
    EXPECT_THROW(forms::CenterForm(broken.get(), nullptr), quillon::RuntimeError) << "where others fail the call";
    EXPECT_NO_THROW(forms::CloseWindow(nullptr, 1, 150));
    EXPECT_EQ(quillon::kObjectNotSet, quillon::failure::lastError().LastErrorNumber) << "the failure is recorded";
}

TEST_F(Forms, SlideOnARecordingForm)
{
    auto form = recordingForm(100, 100, 3000, 2000);
    form->set(L"WindowState", 2L);
    forms::SlideWindow(form.get(), 5000, 4000, 1, 150);
    for (const auto& entry : form->take()) EXPECT_EQ(std::wstring::npos, entry.find(L"Move")) << "maximised: no slide";
    form->set(L"WindowState", 0L);
    setAnimation(L"0");
    forms::SlideWindow(form.get(), 3600, 0, 0, 150);
    EXPECT_EQ(L"Move(100,100,3600,2000)", form->take().back()) << "height 0 keeps the height";
}

TEST_F(Forms, FormRemoveXTakesTheCloseItemAway)
{
    EXPECT_TRUE(forms::FormRemoveX(form_.get()));
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(GetSystemMenu(window_.handle(), FALSE), SC_CLOSE, MF_BYCOMMAND));
}

} // namespace

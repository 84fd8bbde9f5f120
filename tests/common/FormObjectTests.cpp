// The form object over a real table-built window: Move with omitted arguments,
// errors a late-bound caller can read.
#include "Dpi.h"
#include "FormObject.h"
#include "LateBound.h"
#include "TestSupport.h"
#include "PlainWindow.h"

namespace {

const ui::Frame kFrame = {L"QuillonFormObjectTest", L"Form", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 6000, 4500};

class FormObject : public testing_support::ComTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, window_.create());
        form_ = latebound::Object(raii::ComPtr<IDispatch>::attach(ui::createFormObject(window_.handle(), L"frmTest")).get());
    }
    long number(const wchar_t* name)
    {
        long value = -1;
        EXPECT_TRUE(form_.get(name).asLong(value)) << name;
        return value;
    }

    testing_support::PlainWindow window_{kFrame};
    latebound::Object form_;
};

TEST_F(FormObject, MoveKeepsOmittedValuesAndVisibleShowsAndHides)
{
    const long width = number(L"Width");
    ASSERT_EQ(S_OK, form_.call(L"Move", latebound::Args().i4(1500).missing().missing().missing()).hr);
    EXPECT_EQ(testing_support::snappedTwips(1500, ui::windowDpi(window_.handle())), number(L"Left"));
    EXPECT_EQ(width, number(L"Width")) << "omitted arguments keep their values";
    EXPECT_EQ(S_OK, form_.put(L"Visible", true).hr);
    EXPECT_TRUE(IsWindowVisible(window_.handle()));
    EXPECT_EQ(S_OK, form_.put(L"Visible", false).hr);
    EXPECT_FALSE(IsWindowVisible(window_.handle()));
}

TEST_F(FormObject, BadCallsRaiseErrorsACallerCanRead)
{
    struct Case {
        const char* what;
        latebound::Result result;
        SCODE scode;
    };
    Case cases[] = {
        {"unknown member", form_.get(L"Colour"), 0},
        {"Move without Left", form_.call(L"Move"), SCODE(0x800A01C1)},
        {"text for a number", form_.call(L"Move", latebound::Args().text(L"left")), SCODE(0x800A000D)},
        {"WindowState 3", form_.put(L"WindowState", 3L), SCODE(0x800A017C)},
        {"Show style 2", form_.call(L"Show", latebound::Args().i2(2)), SCODE(0x800A0005)},
        {"Line shape X", form_.call(L"Line", latebound::Args().i4(0).i4(0).i4(1).i4(1).i4(0).text(L"X")),
         SCODE(0x800A0005)},
    };
    EXPECT_EQ(DISP_E_UNKNOWNNAME, cases[0].result.hr);
    for (size_t i = 1; i < std::size(cases); ++i) {
        EXPECT_EQ(DISP_E_EXCEPTION, cases[i].result.hr) << cases[i].what;
        EXPECT_EQ(cases[i].scode, cases[i].result.scode) << cases[i].what;
        EXPECT_FALSE(cases[i].result.description.empty()) << cases[i].what;
    }
    window_.destroy();
    latebound::Result gone = form_.get(L"Left");
    EXPECT_EQ(SCODE(0x800A016C), gone.scode) << "a form whose window is gone says so";
    EXPECT_EQ(L"frmTest", form_.get(L"Name").text());
}

} // namespace

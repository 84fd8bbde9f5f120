// Late-bound calls against a recording object (what the caller's object sees)
// and against a library object (a real type-information dispatcher).
#include "LateBound.h"
#include "RecordingObject.h"
#include "TestSupport.h"

using namespace testing_support;
using Log = std::vector<std::wstring>;

namespace {

raii::ComPtr<RecordingObject> recording(const std::vector<std::wstring>& members)
{
    return raii::ComPtr<RecordingObject>::attach(RecordingObject::create(members));
}

class LateBound : public ComTest {};

TEST_F(LateBound, ArgumentsArriveInCallOrderAndPutsNameTheirValue)
{
    auto form = recording({L"Left", L"Caption", L"Move"});
    form->method(L"Move", [](RecordingObject&, const std::vector<VARIANT>&, VARIANT*) { return S_OK; });
    latebound::Object object(form.get());
    EXPECT_EQ(S_OK, object.put(L"Left", 1200L).hr);
    EXPECT_EQ(S_OK, object.put(L"Caption", std::wstring(L"Welcome")).hr);
    latebound::Args move;
    move.i4(1200).i2(900).r8(6495.5).boolean(false).missing().noObject();
    EXPECT_EQ(S_OK, object.call(L"Move", move).hr);
    latebound::Result left = object.get(L"Left");
    long value = 0;
    ASSERT_TRUE(left.asLong(value));
    EXPECT_EQ(1200, value);
    EXPECT_EQ((Log{L"Left=1200", L"Caption=\"Welcome\"", L"Move(1200,900,6495.5,False,<missing>,Nothing)", L"Left?"}),
              form->take());
}

TEST_F(LateBound, MemberIdsAreLookedUpOncePerNameWhateverTheCase)
{
    auto form = recording({L"Left", L"Top"});
    latebound::Object object(form.get());
    for (int i = 0; i < 3; ++i) {
        object.get(L"Left");
        object.get(L"LEFT");
        object.put(L"top", 5L);
    }
    EXPECT_EQ(2, form->lookups());
    EXPECT_FALSE(object.has(L"Width"));
    latebound::Result missing = object.get(L"Width");
    EXPECT_EQ(DISP_E_UNKNOWNNAME, missing.hr);
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(E_POINTER, latebound::Object().get(L"Left").hr) << "no object is a failure, not a crash";
}

TEST_F(LateBound, RaisedErrorsCarryTheirNumberAndDescription)
{
    struct Case {
        const wchar_t* name;
        SCODE scode;
        bool deferred;
    } cases[] = {{L"Immediate", SCODE(0x800A0005), false}, {L"Deferred", SCODE(0x800A01A8), true}};
    for (const auto& c : cases) {
        auto form = recording({c.name});
        form->raise(c.name, c.scode, L"Object required", c.deferred);
        latebound::Result result = latebound::Object(form.get()).call(c.name);
        EXPECT_EQ(DISP_E_EXCEPTION, result.hr) << c.name;
        EXPECT_EQ(c.scode, result.scode) << c.name;
        EXPECT_EQ(L"Recording: Object required", result.source + L": " + result.description) << c.name;
        EXPECT_NE(std::wstring::npos, result.errorText().find(L"Object required")) << c.name;
    }
}

TEST_F(LateBound, ArgumentsAndResultsHoldTheirOwnReferences)
{
    auto form = recording({L"Child", L"Keep"});
    auto child = recording({L"Name"});
    form->method(L"Keep", [](RecordingObject&, const std::vector<VARIANT>& args, VARIANT* result) {
        return VariantCopy(result, const_cast<VARIANT*>(&args[0]));
    });
    ULONG before = child->references();
    {
        latebound::Args args;
        args.object(child.get());
        EXPECT_EQ(before + 1, child->references());
        latebound::Result kept = latebound::Object(form.get()).call(L"Keep", args);
        ASSERT_TRUE(kept.object());
        EXPECT_EQ(child.get(), static_cast<IDispatch*>(kept.object().get()));
        latebound::Result moved = std::move(kept);
        EXPECT_TRUE(moved.object());
    }
    EXPECT_EQ(before, child->references()) << "every reference taken is given back";
}

TEST_F(LateBound, LibraryObjectByNameWithConversions)
{
    auto core = create<IDispatch>(CLSID_qfcLibCore, IID_IDispatch);
    ASSERT_TRUE(core);
    latebound::Object object(core.get());
    latebound::Args identity;
    identity.text(L"Vantorel").text(L"Vantorel").text(L"C:\\Games\\").i2(1).i2(2).i2(3);
    ASSERT_EQ(S_OK, object.call(L"InitCore", identity).hr);
    latebound::Result version = object.call(L"GetAppVersion");
    long number = 0;
    EXPECT_TRUE(version.asLong(number));
    EXPECT_EQ(123, number);
    bool flag = false;
    EXPECT_FALSE(object.call(L"GetAppVersion", latebound::Args().boolean(true)).asBool(flag))
        << "\"v1.2.3\" is no boolean";
}

} // namespace

// Late-bound calls against a recording object: what the caller's object sees,
// and what the caller gets back.
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

TEST_F(LateBound, CallsPassArgumentsInOrderAndConvertResults)
{
    auto form = recording({L"Left", L"Caption", L"Move"});
    form->method(L"Move", [](RecordingObject&, const std::vector<VARIANT>&, VARIANT*) { return S_OK; });
    latebound::Object object(form.get());
    EXPECT_EQ(S_OK, object.put(L"Left", std::wstring(L"123")).hr);
    EXPECT_EQ(S_OK, object.put(L"Caption", std::wstring(L"v1.2.3")).hr);
    latebound::Args move;
    move.i4(1200).i2(900).r8(6495.5).boolean(false).missing().noObject();
    EXPECT_EQ(S_OK, object.call(L"Move", move).hr);
    long number = 0;
    bool flag = false;
    EXPECT_TRUE(object.get(L"Left").asLong(number));
    EXPECT_EQ(123, number);
    EXPECT_FALSE(object.get(L"CAPTION").asBool(flag)) << "\"v1.2.3\" is no boolean";
    EXPECT_EQ((Log{L"Left=\"123\"", L"Caption=\"v1.2.3\"", L"Move(1200,900,6495.5,False,<missing>,Nothing)", L"Left?",
                   L"Caption?"}),
              form->take());

    EXPECT_EQ(DISP_E_UNKNOWNNAME, object.get(L"Width").hr);
    EXPECT_EQ(E_POINTER, latebound::Object().get(L"Left").hr) << "no object is a failure, not a crash";
}

TEST_F(LateBound, RaisedErrorsCarryTheirNumberAndDescription)
{
    for (bool deferred : {false, true}) {
        auto form = recording({L"Show"});
        form->raise(L"Show", SCODE(0x800A01A8), L"Object required", deferred);
        latebound::Result result = latebound::Object(form.get()).call(L"Show");
        EXPECT_EQ(SCODE(0x800A01A8), result.scode) << deferred;
        EXPECT_EQ(L"Recording: Object required", result.source + L": " + result.description) << deferred;
        EXPECT_NE(std::wstring::npos, result.errorText().find(L"Object required")) << deferred;
    }
}

TEST_F(LateBound, ArgumentsAndResultsHoldTheirOwnReferences)
{
    auto form = recording({L"Child", L"Keep"});
    auto child = recording({L"Name"});
    form->method(L"Keep", [](RecordingObject&, const std::vector<VARIANT>& args, VARIANT* result) {
        return VariantCopy(result, const_cast<VARIANT*>(&args[0]));
    });
    const ULONG before = child->references();
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

} // namespace

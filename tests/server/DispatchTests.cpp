// IDispatch calls a careful client can get wrong.
#include "TestSupport.h"

using namespace testing_support;

// Bad calls get the dispatch codes themselves (clients and script engines decide by them), with the
// caller's index of the argument to blame. A named argument reaches its parameter.
TEST(Dispatch, BadCallsFailWithTheMatchingCode)
{
    raii::ComScope com;
    auto core = create<IDispatch>(CLSID_qfcLibCore, IID_IDispatch);
    ASSERT_TRUE(core);
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(E_INVALIDARG, core->GetIDsOfNames(IID_NULL, nullptr, 1, LOCALE_USER_DEFAULT, &id));
    LPOLESTR names[] = {nullptr, const_cast<LPOLESTR>(L"NoSuchMember"), const_cast<LPOLESTR>(L"GetAppVersion"),
                        const_cast<LPOLESTR>(L"InitCore")};
    EXPECT_EQ(E_INVALIDARG, core->GetIDsOfNames(IID_NULL, &names[0], 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(DISP_E_UNKNOWNNAME, core->GetIDsOfNames(IID_NULL, &names[1], 1, LOCALE_USER_DEFAULT, &id));
    DISPID version = DISPID_UNKNOWN, init = DISPID_UNKNOWN;
    ASSERT_EQ(S_OK, core->GetIDsOfNames(IID_NULL, &names[2], 1, LOCALE_USER_DEFAULT, &version));
    ASSERT_EQ(S_OK, core->GetIDsOfNames(IID_NULL, &names[3], 1, LOCALE_USER_DEFAULT, &init));

    // InitCore's arguments, last first, then the values that replace one of them (shallow copies: values owns them).
    latebound::Args values;
    values.i4(32).i4(1).i4(1).text(L"C:\\").text(L"V").text(L"V").missing().text(L"x").i4(100000).boolean(true);
    const auto initWith = [&](size_t index, size_t replacement) {
        std::vector<VARIANT> list;
        for (size_t i = 0; i < 6; ++i) list.push_back(values[i == index ? replacement : i]);
        return list;
    };
    std::vector<VARIANT> firstSkipped = initWith(5, 6), majorText = initWith(2, 7), majorHuge = initWith(2, 8);
    VARIANT args[3] = {values[9], values[9], values[9]};
    EXPECT_EQ(E_INVALIDARG, core->Invoke(version, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, nullptr, nullptr,
                                         nullptr, nullptr));
    DISPID unknownName = 5, firstName = 0;
    constexpr UINT kNone = 99;
    constexpr WORD script = DISPATCH_METHOD | DISPATCH_PROPERTYGET;  // how script engines call a member
    struct Case { const char* what; DISPID member; WORD flags; DISPPARAMS params; HRESULT expected; UINT bad; };
    const Case cases[] = {
        {"named argument", version, DISPATCH_METHOD, {args, &firstName, 1, 1}, S_OK, kNone},
        {"null argument array", version, DISPATCH_METHOD, {nullptr, nullptr, 1, 0}, E_INVALIDARG, kNone},
        {"null named list", version, DISPATCH_METHOD, {args, nullptr, 1, 1}, E_INVALIDARG, kNone},
        {"more arguments than declared", version, script, {args, nullptr, 3, 0}, DISP_E_BADPARAMCOUNT, kNone},
        {"fewer arguments than required", init, script, {nullptr, nullptr, 0, 0}, DISP_E_BADPARAMCOUNT, kNone},
        {"required argument skipped", init, DISPATCH_METHOD, {firstSkipped.data(), nullptr, 6, 0},
         DISP_E_PARAMNOTOPTIONAL, kNone},
        {"unknown named argument", version, DISPATCH_METHOD, {args, &unknownName, 1, 1}, DISP_E_PARAMNOTFOUND, 0},
        {"named argument also given by position", init, DISPATCH_METHOD, {args, &firstName, 2, 1},
         DISP_E_PARAMNOTFOUND, 0},
        {"text for a number", init, script, {majorText.data(), nullptr, 6, 0}, DISP_E_TYPEMISMATCH, 2},
        {"number out of range", init, DISPATCH_METHOD, {majorHuge.data(), nullptr, 6, 0}, DISP_E_OVERFLOW, kNone},
        {"unknown member", 12345, DISPATCH_METHOD, {nullptr, nullptr, 0, 0}, DISP_E_MEMBERNOTFOUND, kNone},
        {"default value", DISPID_VALUE, DISPATCH_PROPERTYGET, {nullptr, nullptr, 0, 0}, DISP_E_MEMBERNOTFOUND, kNone},
        {"enumerator", DISPID_NEWENUM, script, {nullptr, nullptr, 0, 0}, DISP_E_MEMBERNOTFOUND, kNone},
    };
    for (const Case& c : cases) {
        DISPPARAMS params = c.params;
        raii::UniqueVariant result;
        EXCEPINFO exception = {};
        UINT bad = kNone;
        EXPECT_EQ(c.expected, core->Invoke(c.member, IID_NULL, LOCALE_USER_DEFAULT, c.flags, &params, result.get(),
                                           &exception, &bad))
            << c.what;
        EXPECT_TRUE(c.bad == kNone || c.bad == bad) << c.what << ": argument " << bad;
        EXPECT_EQ(0, exception.scode) << c.what;
        EXPECT_TRUE(c.expected != S_OK || V_BSTR(result.get())[0] == L'v') << c.what << " missed vFormatted";
    }
}

// qfcLibStrings as its clients see it: through the vtable and from a script.
#include "RecordingObject.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

class StringsClient : public ClientTest<_qfcLibStrings> {
protected:
    using Scrambler = HRESULT (STDMETHODCALLTYPE _qfcLibStrings::*)(short, BSTR, VARIANT_BOOL, BSTR*);
    HRESULT scramble(Scrambler method, short key, const std::wstring& text, std::wstring& out)
    {
        raii::UniqueBstr result;
        HRESULT hr = (object_.get()->*method)(key, bstr(text).get(), VARIANT_TRUE, result.put());
        out = raii::toWString(result.get());
        return hr;
    }

    std::wstring phone(const std::wstring& number, bool compress, IDispatch* control)
    {
        raii::UniqueBstr result;
        IDispatch* slot = control;
        EXPECT_EQ(S_OK, object_->PhoneFormat(bstr(number).get(), compress ? VARIANT_TRUE : VARIANT_FALSE, &slot,
                                              result.put()));
        EXPECT_EQ(control, slot) << "the caller's object stays the caller's";
        return raii::toWString(result.get());
    }
};

} // namespace

// (Without case sensitivity the text is upper-cased first: the reference's strings example.)
TEST_F(StringsClient, PasswordRoundTripForEveryKeyOverPrintableCharacters)
{
    const auto encrypt = &_qfcLibStrings::EncryptPassword, decrypt = &_qfcLibStrings::DecryptPassword;
    std::wstring printable, scrambled, back;
    for (wchar_t c = 32; c < 127; ++c) printable += c;
    for (short key = -5; key <= 20; ++key) {
        const HRESULT hr = scramble(encrypt, key, printable, scrambled);
        if (key > 10) {
            // 10 - key is negative: widened with its sign it makes odd-position codes negative.
            EXPECT_EQ(HRESULT(0x800A0005), hr) << key;
            continue;
        }
        ASSERT_EQ(S_OK, hr) << key;
        ASSERT_EQ(S_OK, scramble(decrypt, key, scrambled, back)) << key;
        EXPECT_EQ(printable, back) << "key " << key;
    }
    EXPECT_EQ(HRESULT(0x800A0005), scramble(encrypt, 1, L"a\U0001F680", back)) << "no ANSI code: refused";
    EXPECT_EQ(HRESULT(0x800A0006), scramble(encrypt, -32758, L"abc", back)) << "the key's sum overflows";
}

TEST_F(StringsClient, PhoneFormatUsesTheStoredAreaCodeAndColoursTheCallersTextBox)
{
    ScratchCurrentUser scratch(L"StringsPhone");
    RecordingObject* box = RecordingObject::create({L"ForeColor", L"Text"});
    auto ownedBox = raii::ComPtr<IDispatch>::attach(box);
    EXPECT_EQ(L"555-1234", phone(L"555-1234", false, box)) << "no area code stored";
    setText(L"Software\\Brannock\\System", L"AreaCode", L"612");
    EXPECT_EQ(L"(612) 555-1234", phone(L"555-1234", false, box));
    EXPECT_EQ(L"555#1234", phone(L"555#1234", false, box));
    EXPECT_EQ(L"6125551234", phone(L"(612) 555-1234", true, box));
    EXPECT_EQ((std::vector<std::wstring>{L"ForeColor=0", L"ForeColor=0", L"ForeColor=255", L"ForeColor=0"}),
              box->take());
    EXPECT_EQ(1u, box->references()) << "no reference kept or lost";

    RecordingObject* label = RecordingObject::create({L"Caption"});
    auto ownedLabel = raii::ComPtr<IDispatch>::attach(label);
    EXPECT_EQ(L"555#1234", phone(L"555#1234", false, label)) << "an object without ForeColor is left alone";
    box->raise(L"ForeColor", 0x800A017C, L"Invalid property value");
    EXPECT_EQ(L"(612) 555-1234", phone(L"5551234", false, box)) << "a failing colour change is skipped";
}

TEST_F(StringsClient, ScriptVariablesReachTypedByReferenceParameters)
{
    long exitCode = -1;
    std::string output =
        captureProcess(L"cscript.exe //nologo \"" + programFolder() + L"StringsClient.vbs\"", &exitCode);
    EXPECT_EQ(0, exitCode) << output;
    EXPECT_EQ("second first 0 3 -7 Integer abc a,b;c ,;\r\n", output);
}

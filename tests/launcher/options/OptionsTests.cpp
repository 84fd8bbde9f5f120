// The options dialog's pieces that work without its window: its decisions, its model and the common-dialog object.
#include <gtest/gtest.h>

#include <future>

#include "CommonDialog.h"
#include "FakeSettings.h"
#include "LateBound.h"
#include "OptionsModel.h"
#include "OptionsRules.h"
#include "TestSupport.h"
#include "WindowWatcher.h"

using namespace vantorel;

namespace {

TEST(OptionsRules, AnEmptiedKeepListIsStoredEmpty)
{
    EXPECT_EQ(L"", options::joinKeepList({})) << "not left as it was";
}

TEST(OptionsRules, OnlyAFileNamedMainExeIsTakenAsTheGame)
{
    const struct {
        const wchar_t* path;
        bool taken;
    } cases[] = {
        {L"C:\\Games\\D3\\main.exe", true},  {L"C:\\Games\\D3\\MAIN.EXE", true}, {L"C:\\Games\\D3\\Main.Exe", true},
        {L"main.exe", true},                 {L"C:\\main.exe\\other.exe", false}, {L"C:\\Games\\notmain.exe", false},
        {L"C:\\Games\\main.exe.bak", false}, {L"C:\\Games\\D3\\setup.exe", false}, {L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.taken, options::isGameExecutable(c.path)) << c.path;
}

TEST(OptionsModel, LoadsWhatTheLauncherWillDoAndStoresEveryValueBack)
{
    FakeSettings store;
    qcolProperties settings(store);
    const wchar_t* shared[][2] = {{L"ShowSplash", L"0"},      {L"WinAnimate", L"True"}, {L"IsDLLDebugging", L"yes"},
                                  {L"AreaCode", L"555"},      {L"NetworkPort", L" 80"}, {L"UserName", L"  Ada "},
                                  {L"UserCompany", L""},      {L"UserEMail", L"a@b"}};
    for (const auto& row : shared) {
        auto property = std::make_shared<qcProperty>();
        property->Value(row[0]);
        property->Data(row[1]);
        settings.Add(property, row[0]);
    }
    auto app = [&](const wchar_t* name) -> std::wstring& {
        return store.values[FakeSettings::address(name, L"", kAppsKey)];
    };
    app(L"KeepLogos") = L"a.ogf||b.ogf";

    options::Values values = options::load(store, settings);
    EXPECT_EQ(0, values.system.sysCheckBox[0] + values.system.sysCheckBox[2] * 2) << "\"yes\" is not a boolean text";
    EXPECT_EQ(1, values.system.sysCheckBox[1]);
    EXPECT_EQ(L" 80", values.system.sysBox[1]) << "only the user's details are trimmed";
    EXPECT_EQ(L"Ada", values.system.userBox[1]);

    values.logos.kept.pop_back();
    qcLogging log(LogIdentity{}, store);
    options::store(values, store, settings, log);
    EXPECT_EQ(L"a.ogf|", app(L"KeepLogos")) << "an empty entry stays";
    EXPECT_EQ(L"True", app(L"RunOnce"));
    EXPECT_EQ(L"1", settings.Item(std::wstring(L"WinAnimate"))->Data());
}

class CommonDialogTest : public testing_support::ComTest {
protected:
    void SetUp() override { dialog_ = latebound::Object(object_.get()); }
    raii::ComPtr<IDispatch> object_ = raii::ComPtr<IDispatch>::attach(createCommonDialog(nullptr));
    latebound::Object dialog_;
};

TEST_F(CommonDialogTest, PropertiesRefuseNulAndCancellingRaises32755OnlyWhenAskedTo)
{
    EXPECT_TRUE(dialog_.put(L"flags", 0x281010L).ok()) << "names are found in any letter case";
    long flags = 0;
    EXPECT_TRUE(dialog_.get(L"Flags").asLong(flags));
    EXPECT_EQ(0x281010L, flags);
    latebound::Result nul = dialog_.put(L"FileName", std::wstring(L"a\0b", 3));
    EXPECT_EQ(static_cast<SCODE>(0x800A017C), nul.scode) << "invalid property value";
    EXPECT_EQ(L"", dialog_.get(L"FileName").text()) << "the refused text is not kept";
    EXPECT_EQ(std::wstring(L"Vantorel Files\0*.exe\0All Files (*.*)\0*.*\0\0", 42),
              dialogFilter(L"Vantorel Files|*.exe|All Files (*.*)|*.*"));

    dialog_.put(L"DialogTitle", std::wstring(L"Cancel Me"));
    dialog_.put(L"FileName", std::wstring(L"*.ogf"));
    for (bool cancelError : {true, false}) {
        dialog_.put(L"CancelError", cancelError);
        std::future<bool> user = std::async(std::launch::async, [] {
            return testing_support::answerFileDialog(L"Cancel Me", L"");
        });
        latebound::Result shown = dialog_.call(L"ShowOpen");
        ASSERT_TRUE(user.get()) << "the dialog was shown";
        EXPECT_EQ(cancelError ? static_cast<SCODE>(0x800A7FF3) : S_OK, shown.scode);
        EXPECT_EQ(cancelError ? L"Cancel was selected." : L"", shown.description);
        EXPECT_EQ(L"*.ogf", dialog_.get(L"FileName").text()) << "a cancelled dialog keeps the file name";
    }
}

} // namespace

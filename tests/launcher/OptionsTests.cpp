// The options dialog's pieces that work without its window: the option
// catalogue, the dialog's decisions, SetSysINI and the common-dialog object.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "CommonDialog.h"
#include "FakeSettings.h"
#include "LateBound.h"
#include "OptionCatalogue.h"
#include "OptionsRules.h"
#include "SystemSettings.h"
#include "TestSupport.h"

using namespace vantorel;

namespace {

TEST(OptionCatalogue, ThirtyFiveRowsInOrderWithTheirTextsAsShipped)
{
    using catalogue::kOptions;
    ASSERT_EQ(35u, catalogue::kOptionCount);
    EXPECT_STREQ(L"-nointro", kOptions[0].text);
    EXPECT_STREQ(L"Skips the intro movie.", kOptions[0].description);
    EXPECT_STREQ(L"-useport [port]", kOptions[6].text);
    EXPECT_STREQ(L"-httpproxy [ip:port]", kOptions[34].text);
    EXPECT_STREQ(L"-mlooksens [scale]", kOptions[33].text);
    // Double blanks after some full stops are part of the texts.
    EXPECT_NE(nullptr, wcsstr(kOptions[1].description, L"50 FPS.  To remove the cap"));
    EXPECT_NE(nullptr, wcsstr(kOptions[33].description, L"moved.  The default value is 9.1;"));
    EXPECT_STREQ(kOptions[26].description, kOptions[27].description) << "two options, one description";
    // The secondary joystick's example names the primary one's option, as shipped.
    EXPECT_NE(nullptr, wcsstr(kOptions[31].description, L"'-deadzone0 0.2' sets the deadzone for the secondary"));

    std::set<std::wstring> texts;
    for (const auto& option : kOptions) {
        EXPECT_EQ(L'-', option.text[0]) << option.text;
        EXPECT_GT(wcslen(option.description), 10u) << option.text;
        texts.insert(option.text);
    }
    EXPECT_EQ(35u, texts.size()) << "every option once";
}

TEST(OptionsRules, StoredSwitchesShowWhatTheLauncherWillDo)
{
    const struct {
        const wchar_t* stored;
        bool defaultState;
        bool shows;
    } cases[] = {
        {L"1", false, true},     {L"0", true, false},    {L"True", false, true}, {L"False", true, false},
        {L"true", false, true},  {L"FALSE", true, false}, {L"2", false, true},   {L"-1", false, true},
        {L"", true, true},       {L"", false, false},    {L"yes", true, true},   {L"yes", false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shows, options::switchShows(c.stored, c.defaultState)) << c.stored << " " << c.defaultState;
}

TEST(OptionsRules, KeepListsParametersAndFolders)
{
    EXPECT_EQ(L"", options::joinKeepList({})) << "an emptied list is stored empty, not left as it was";
    EXPECT_EQ(L"a.ogf", options::joinKeepList({L"a.ogf"}));
    EXPECT_EQ(L"a.ogf||b.ogf", options::joinKeepList({L"a.ogf", L"", L"b.ogf"}));
    EXPECT_EQ(L"a.ogf|a.ogf", options::joinKeepList({L"a.ogf", L"a.ogf"}));

    EXPECT_EQ(L"-nointro ", options::prependOption(L"-nointro", L""));
    EXPECT_EQ(L"-useport [port] -nomusic", options::prependOption(L"-useport [port]", L"-nomusic"));

    EXPECT_EQ(L"c:\\", options::keepListFolder(L"", L"custom\\graphics\\"));
    EXPECT_EQ(L"D:\\Games\\D3\\custom\\sounds\\", options::keepListFolder(L"D:\\Games\\D3\\", L"custom\\sounds\\"));
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

TEST(OptionsRules, AboutLooksRoundHalvesToEven)
{
    const struct {
        double draw;
        short look;
    } cases[] = {{0.0, 1}, {0.12, 1}, {0.125, 2}, {0.375, 2}, {0.5, 3}, {0.625, 4}, {0.875, 4}, {0.9999, 5}};
    for (const auto& c : cases) EXPECT_EQ(c.look, options::aboutLook(c.draw)) << c.draw;
}

class FixedClock : public LogClock {
public:
    std::wstring timeText() override { return L"9:41 AM"; }
    std::wstring longDateText() override { return L"Friday, January 3, 2003"; }
};

std::vector<std::string> logLines(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::vector<std::string> lines;
    std::istringstream text(bytes.str());
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(' ');
        lines.push_back(first == std::string::npos ? "" : line.substr(first));
    }
    return lines;
}

TEST(SetSysINI, CopiesTheControlsTrimmingOnlyTheUserDetailsAndLogsInOrder)
{
    const std::wstring folder = testing_support::programFolder() + L"sysini";
    CreateDirectoryW(folder.c_str(), nullptr);
    FakeSettings store;
    FixedClock clock;
    {
        qcolProperties settings(store);
        for (const wchar_t* name : {L"ShowSplash", L"WinAnimate", L"AreaCode", L"NetworkPort", L"IsDLLDebugging",
                                    L"UserName", L"UserCompany", L"UserEMail"}) {
            auto record = std::make_shared<qcProperty>();
            record->Value(name);
            record->BaseKey(name[0] == L'U' || name[0] == L'A' ? kUserKey : kSystemKey);
            settings.Add(record, name);
        }
        qcLogging log(LogIdentity{folder, L"", {L"", L"Vantorel", 1, 1, 32}}, store, clock);
        log.LogMode(kLogFile);
        log.StartLog(L"Main");
        SystemControls controls;
        controls.sysCheckBox[0] = 2; // greyed counts as clear
        controls.sysCheckBox[1] = 1;
        controls.sysCheckBox[2] = 0;
        controls.sysBox[0] = L" 12";
        controls.sysBox[1] = L"x 9 ";
        controls.userBox[1] = L"  Ada Byron ";
        controls.userBox[2] = L"\tWorks";
        controls.userBox[3] = L"ada@example.org";
        copySystemControls(controls, settings, log);
        log.StopLog();

        const struct {
            const wchar_t* name;
            const wchar_t* data;
        } expected[] = {
            {L"ShowSplash", L"0"},  {L"WinAnimate", L"1"},         {L"IsDLLDebugging", L"0"},
            {L"AreaCode", L" 12"},  {L"NetworkPort", L"x 9 "},     {L"UserName", L"Ada Byron"},
            {L"UserCompany", L"\tWorks"}, {L"UserEMail", L"ada@example.org"},
        };
        for (const auto& e : expected) {
            EXPECT_EQ(e.data, settings.Item(std::wstring(e.name))->Data()) << e.name;
            EXPECT_TRUE(settings.Item(std::wstring(e.name))->Dirty()) << e.name;
        }
        EXPECT_TRUE(store.writes.size() <= 1u) << "only the log number: the collection writes on its save";
    }
    std::vector<std::string> traced;
    for (const std::string& line : logLines(folder + L"\\Vantorel.log"))
        if (line.rfind("POST", 0) == 0 || line.find("Options:SetSysINI") != std::string::npos)
            traced.push_back(line.substr(0, line.find(" <@>")));
    const std::vector<std::string> order = {
        "BEGIN Procedure - Options:SetSysINI",   "POST - RegKey: ShowSplash: 0",
        "POST - RegKey: WinAnimate: 1",          "POST - RegKey: IsDLLDebugging: 0",
        "POST - UserName: Ada Byron",            "POST - UserCompany: \tWorks",
        "POST - E-Mail: ada@example.org",        "POST - RegKey: User Name: Ada Byron",
        "POST - RegKey: User Company: \tWorks",  "POST - RegKey: User EMail: ada@example.org",
        "POST - RegKey: Area Code:  12",         "END   Procedure - Options:SetSysINI",
    };
    EXPECT_EQ(order, traced);
    DeleteFileW((folder + L"\\Vantorel.log").c_str());
    RemoveDirectoryW(folder.c_str());
}

// The file dialog of this process, answered from another thread as a user would.
class FileDialogUser {
public:
    // Types `answer` into the file name box and presses Open; an empty answer presses Cancel.
    FileDialogUser(const std::wstring& title, const std::wstring& answer)
        : thread_([this, title, answer] {
              for (int tries = 0; tries < 500 && !done_; ++tries, Sleep(20)) {
                  HWND dialog = FindWindowW(L"#32770", title.c_str());
                  if (!dialog) continue;
                  seen_ = true;
                  if (answer.empty()) {
                      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                  } else {
                      HWND box = GetDlgItem(dialog, 0x47c); // the file name combo box
                      HWND edit = box ? FindWindowExW(box, nullptr, L"Edit", nullptr) : GetDlgItem(dialog, 0x480);
                      SendMessageW(edit ? edit : box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.c_str()));
                      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                  }
                  return;
              }
          })
    {
    }
    ~FileDialogUser()
    {
        done_ = true;
        thread_.join();
    }
    bool seen() const { return seen_; }

private:
    std::atomic<bool> done_{false};
    std::atomic<bool> seen_{false};
    std::thread thread_;
};

class CommonDialogTest : public testing_support::ComTest {
protected:
    void SetUp() override { dialog_ = latebound::Object(object_.get()); }
    raii::ComPtr<IDispatch> object_ = raii::ComPtr<IDispatch>::attach(createCommonDialog(nullptr));
    latebound::Object dialog_;
};

TEST_F(CommonDialogTest, PropertiesKeepTheirValuesAndRefuseNulAndUnknownNames)
{
    EXPECT_TRUE(dialog_.put(L"InitDir", std::wstring(L"C:\\windows\\")).ok());
    EXPECT_TRUE(dialog_.put(L"flags", 0x281010L).ok()) << "names are found in any letter case";
    EXPECT_TRUE(dialog_.put(L"CancelError", true).ok());
    EXPECT_EQ(L"C:\\windows\\", dialog_.get(L"InitDir").text());
    long flags = 0;
    EXPECT_TRUE(dialog_.get(L"Flags").asLong(flags));
    EXPECT_EQ(0x281010L, flags);
    bool cancelError = false;
    EXPECT_TRUE(dialog_.get(L"CancelError").asBool(cancelError));
    EXPECT_TRUE(cancelError);

    latebound::Result nul = dialog_.put(L"FileName", std::wstring(L"a\0b", 3));
    EXPECT_FALSE(nul.ok());
    EXPECT_EQ(static_cast<SCODE>(0x800A017C), nul.scode) << "invalid property value";
    EXPECT_EQ(L"", dialog_.get(L"FileName").text()) << "the refused text is not kept";
    EXPECT_FALSE(dialog_.has(L"ShowColor"));
    EXPECT_FALSE(dialog_.put(L"Flags", std::wstring(L"many")).ok());

    EXPECT_EQ(std::wstring(L"Vantorel Files\0*.exe\0All Files (*.*)\0*.*\0\0", 42),
              dialogFilter(L"Vantorel Files|*.exe|All Files (*.*)|*.*"));
}

TEST_F(CommonDialogTest, CancellingRaises32755OnlyWhenAskedTo)
{
    dialog_.put(L"DialogTitle", std::wstring(L"Cancel Me"));
    dialog_.put(L"FileName", std::wstring(L"*.ogf"));
    for (bool cancelError : {true, false}) {
        dialog_.put(L"CancelError", cancelError);
        FileDialogUser user(L"Cancel Me", L"");
        latebound::Result shown = dialog_.call(L"ShowOpen");
        ASSERT_TRUE(user.seen()) << "the dialog was shown";
        if (cancelError) {
            EXPECT_EQ(DISP_E_EXCEPTION, shown.hr);
            EXPECT_EQ(static_cast<SCODE>(0x800A7FF3), shown.scode);
            EXPECT_EQ(L"Cancel was selected.", shown.description);
        } else {
            EXPECT_TRUE(shown.ok());
        }
        EXPECT_EQ(L"*.ogf", dialog_.get(L"FileName").text()) << "a cancelled dialog keeps the file name";
    }
}

TEST_F(CommonDialogTest, AChosenFileGivesItsPathAndTitle)
{
    const std::wstring folder = testing_support::programFolder() + L"commondialog";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\Pick Me.ogf";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    dialog_.put(L"InitDir", folder + L"\\");
    dialog_.put(L"Filter", std::wstring(L"Vantorel Files|*.ogf|All Files (*.*)|*.*"));
    dialog_.put(L"DefaultExt", std::wstring(L"*.ogf"));
    dialog_.put(L"DialogTitle", std::wstring(L"Choose Logos To Save"));
    dialog_.put(L"Flags", 0x281010L);
    dialog_.put(L"CancelError", true);
    {
        FileDialogUser user(L"Choose Logos To Save", file);
        EXPECT_TRUE(dialog_.call(L"ShowOpen").ok());
        EXPECT_TRUE(user.seen());
    }
    EXPECT_EQ(0, lstrcmpiW(file.c_str(), dialog_.get(L"FileName").text().c_str())) << dialog_.get(L"FileName").text();
    EXPECT_EQ(L"Pick Me.ogf", dialog_.get(L"FileTitle").text());
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}

} // namespace

// qfcLibWindows as a client sees it, under Wine and Xvfb: processes started
// with the stand-in program, shell execution and its error box, applets, wallpaper.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>

#include "ScratchFolder.h"
#include "StandInRecord.h"
#include "TestSupport.h"
#include "WindowWatcher.h"

using namespace testing_support;
using files_testing::ScratchFolder;

namespace {

std::wstring standIn() { return programFolder() + L"StandInGame.exe"; }
std::wstring quotedStandIn() { return L"\"" + standIn() + L"\""; }

bool finished(const std::wstring& file) { return standInRecord(file)["finished"] == L"1"; }

// The processes of that name, leaving out those in `known`.
std::vector<DWORD> processesNamed(const wchar_t* name, const std::vector<DWORD>& known = {})
{
    std::vector<DWORD> found;
    raii::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (_wcsicmp(entry.szExeFile, name) == 0 && std::count(known.begin(), known.end(), entry.th32ProcessID) == 0)
            found.push_back(entry.th32ProcessID);
    return found;
}

// The stand-in reads what to do from this process's environment, which the programs started inherit.
class WindowsClient : public ClientTest<_qfcLibWindows> {
protected:
    void TearDown() override
    {
        for (const wchar_t* name : {L"STANDIN_RECORD", L"STANDIN_STAY_MS", L"STANDIN_HOLD_EVENT"})
            SetEnvironmentVariableW(name, nullptr);
    }
    static void tell(const wchar_t* name, const std::wstring& value) { SetEnvironmentVariableW(name, value.c_str()); }

    HRESULT execute(const std::wstring& commandLine, bool wait)
    {
        return object_->ExecuteCommand(bstr(commandLine).get(), wait ? VARIANT_TRUE : VARIANT_FALSE);
    }

    bool shell(const std::wstring& file, const std::wstring& parameters = L"", const std::wstring& folder = L"")
    {
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(S_OK, object_->ShellCommand(bstr(file).get(), bstr(parameters).get(), SA_Open,
                                              qcShowStates(SW_SHOWNORMAL), bstr(folder).get(), -1, VARIANT_TRUE, &ok));
        return ok == VARIANT_TRUE;
    }
};

} // namespace

// Without wait the program still runs when the call returns, holding no handle of the caller: an inheritable
// pipe's writing end would otherwise stay open.
TEST_F(WindowsClient, ExecuteCommandWaitsOnlyWhenAskedAndHandsOnOnlyTheFolder)
{
    ScratchFolder scratch(L"Execute");
    const std::wstring previous = files_testing::currentDirectory();
    ASSERT_TRUE(SetCurrentDirectoryW(scratch.path().c_str()));
    const std::wstring waited = scratch / L"waited.txt", held = scratch / L"held.txt";
    const std::wstring commandLine = quotedStandIn() + L" -pilot \u00e9t\u00e9 \u65e5\u672c";
    tell(L"STANDIN_RECORD", waited);
    tell(L"STANDIN_STAY_MS", L"300");
    ASSERT_EQ(S_OK, execute(commandLine, true));
    auto lines = standInRecord(waited);
    EXPECT_EQ(L"1", lines["finished"]) << "with wait the program has ended when the call returns";
    EXPECT_EQ(commandLine, lines["commandline"]) << "the command line arrives whole, Unicode included";
    EXPECT_EQ(scratch.path(), lines["directory"] + L"\\") << "the caller's current directory";

    const std::wstring event = L"QuillonStandInHold" + std::to_wstring(GetCurrentProcessId());
    raii::UniqueHandle signal(CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    raii::UniqueHandle readEnd, writeEnd;
    ASSERT_TRUE(CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, 0));
    tell(L"STANDIN_RECORD", held);
    tell(L"STANDIN_HOLD_EVENT", event);
    ASSERT_EQ(S_OK, execute(quotedStandIn(), false));
    SetCurrentDirectoryW(previous.c_str());
    EXPECT_TRUE(waitFor([&] { return !standInRecord(held).empty(); }));
    EXPECT_FALSE(finished(held)) << "without wait the call returns while the program still runs";
    writeEnd.reset();
    DWORD available = 0;
    EXPECT_FALSE(PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr));
    EXPECT_EQ(DWORD(ERROR_BROKEN_PIPE), GetLastError()) << "the running program holds no copy of the pipe";
    SetEvent(signal.get());
    EXPECT_TRUE(waitFor([&] { return finished(held); }));
}

// The system overflows its stack on such lines.
TEST_F(WindowsClient, LinesTheSystemCannotTakeAreRefusedBeforeItSeesThem)
{
    ScratchFolder scratch(L"Refused");
    const std::wstring record = scratch / L"refused.txt";
    tell(L"STANDIN_RECORD", record);
    const std::wstring program = quotedStandIn() + L" ";
    EXPECT_EQ(HRESULT(0x800A0005), execute(program + std::wstring(32767 - program.size(), L'x'), true));
    EXPECT_FALSE(finished(record)) << "one unit over the limit did not start";
    EXPECT_EQ(S_OK, execute(program + std::wstring(32766 - program.size(), L'x'), true));
    EXPECT_TRUE(finished(record)) << "the longest line the system takes still starts";
}

// A program that cannot start is a run-time error, numbered as script clients know it.
TEST_F(WindowsClient, ExecuteCommandRaisesWhenTheProgramCannotStart)
{
    ScratchFolder scratch(L"Unstartable");
    const std::pair<std::wstring, HRESULT> cases[] = {
        {scratch / L"missing.exe -x", HRESULT(0x800A0035)},
        {L"\"" + scratch / L"no folder\\main.exe\"", HRESULT(0x800A0035)},
        {L"\"" + scratch.file(L"text\\main.exe", 100) + L"\"", HRESULT(0x800A0005)},
    };
    for (const auto& [commandLine, hr] : cases) {
        SCOPED_TRACE(::testing::PrintToString(commandLine));
        EXPECT_EQ(hr, execute(commandLine, false));
        raii::ComPtr<IErrorInfo> info;
        ASSERT_EQ(S_OK, GetErrorInfo(0, info.put()));
        raii::UniqueBstr description, source;
        info->GetDescription(description.put());
        info->GetSource(source.put());
        EXPECT_EQ(L"Quillon.qfcLibWindows", raii::toWString(source.get()));
        EXPECT_NE(L"", raii::toWString(description.get()));
    }
}

TEST_F(WindowsClient, ShellCommandPassesParametersAndFolderAndReportsFailuresInTheShellsErrorBox)
{
    ScratchFolder scratch(L"Shell");
    const std::wstring record = scratch / L"shell.txt";
    tell(L"STANDIN_RECORD", record);
    ASSERT_TRUE(shell(standIn(), L"-pilot one", scratch.path()));
    ASSERT_TRUE(waitFor([&] { return finished(record); }));
    auto lines = standInRecord(record);
    EXPECT_NE(std::wstring::npos, lines["commandline"].find(L"-pilot one"));
    EXPECT_EQ(scratch.path(), lines["directory"] + L"\\") << "the default directory becomes the program's folder";

    const std::wstring orphan = scratch.file(L"orphan.qnetnoassoc", 10);
    DialogAnswers answers(IDOK);
    EXPECT_FALSE(shell(L"     ")) << "blank text: nothing shown";
    EXPECT_FALSE(shell(L"  " + orphan + L"  "));
    const auto boxes = answers.boxes();
    ASSERT_EQ(1u, boxes.size()) << "one box: the blank text showed none";
    EXPECT_NE(std::wstring::npos, boxes[0].text.find(L"Error Number = 31\rError Description = There is no"))
        << boxes[0].text;
}

// The runner is the system's own: a rundll32.exe (the stand-in, which records its start) planted in the
// current folder or beside the calling program is never the one started.
TEST_F(WindowsClient, OpenCPAppletStartsTheSystemsControlPanelRunnerOnly)
{
    ScratchFolder scratch(L"Planted");
    const std::wstring record = scratch / L"planted.txt", before = files_testing::currentDirectory();
    tell(L"STANDIN_RECORD", record);
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    for (const std::wstring& planted : {scratch / L"rundll32.exe", programFolder() + L"rundll32.exe"}) {
        SCOPED_TRACE(planted);
        ASSERT_TRUE(CopyFileW(standIn().c_str(), planted.c_str(), FALSE));
        SetCurrentDirectoryW(scratch.path().c_str());
        const std::vector<DWORD> running = processesNamed(L"rundll32.exe");
        EXPECT_EQ(S_OK, object_->OpenCPApplet(qcControlPanel));
        SetCurrentDirectoryW(before.c_str());
        std::vector<DWORD> started;
        EXPECT_TRUE(waitFor([&] { return !(started = processesNamed(L"rundll32.exe", running)).empty(); }));
        for (DWORD id : started) {
            raii::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
            wchar_t image[MAX_PATH] = {};
            DWORD size = MAX_PATH;
            if (process && QueryFullProcessImageNameW(process.get(), 0, image, &size)) {
                EXPECT_EQ(0, _wcsicmp((std::wstring(system) + L"\\rundll32.exe").c_str(), image)) << image;
            }
            if (process) TerminateProcess(process.get(), 0);
        }
        EXPECT_FALSE(files_testing::exists(record)) << "the planted program ran";
        DeleteFileW(planted.c_str());
    }
}

TEST_F(WindowsClient, SetWallpaperSetsClearsAndUpdatesTheCallersVariable)
{
    ScratchFolder scratch(L"Wallpaper");
    const std::wstring picture = scratch.file(L"paper \u00e9t\u00e9.bmp", 58);
    auto current = [] {
        wchar_t name[MAX_PATH * 2] = {};
        SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH * 2, name, 0);
        return std::wstring(name);
    };
    // Sets through a by-reference variable holding `name` (none: omitted); gives what the variable holds after.
    auto set = [&](const wchar_t* name) {
        raii::UniqueBstr variable(name ? SysAllocString(name) : nullptr);
        BSTR raw = variable.release();
        LONG result = 0;
        EXPECT_EQ(S_OK, object_->SetWallpaper(name ? &raw : nullptr, &result));
        EXPECT_NE(0, result) << (name ? name : L"omitted");
        variable.reset(raw);
        return raii::toWString(raw);
    };
    set(picture.c_str());
    EXPECT_EQ(picture, current()) << "the user's desktop setting, Unicode name included";
    EXPECT_EQ(L"", set(L"{None}")) << "the caller's variable is changed too";
    EXPECT_EQ(L"", current());
    set(picture.c_str());
    set(nullptr);
    EXPECT_EQ(L"", current()) << "omitted: no wallpaper";
}

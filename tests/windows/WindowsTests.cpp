// qfcLibWindows as a client sees it, under Wine and Xvfb: processes started
// with the stand-in program, shell execution and its error box, applets, wallpaper.
#include <windows.h>
#include <tlhelp32.h>

#include <fstream>
#include <functional>

#include "WindowWatcher.h"
#include "ScratchFolder.h"
#include "StandInRecord.h"
#include "TestSupport.h"

using namespace testing_support;
using files_testing::ScratchFolder;

namespace {

std::wstring standIn() { return programFolder() + L"StandInGame.exe"; }

// An environment variable of this process (and so of the programs it starts) for one scope.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name)
    {
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedVariable() { SetEnvironmentVariableW(name_, nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const wchar_t* name_;
};

bool finished(const std::wstring& file) { return standInRecord(file)["finished"] == L"1"; }

// Wine reports no handle count; probing every handle value finds the open ones.
DWORD handleCount()
{
    DWORD count = 0, flags = 0;
    for (ULONG_PTR value = 4; value < 0x20000; value += 4)
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    return count;
}

std::vector<DWORD> processesNamed(const wchar_t* name)
{
    std::vector<DWORD> found;
    raii::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (_wcsicmp(entry.szExeFile, name) == 0) found.push_back(entry.th32ProcessID);
    return found;
}

class WindowsClient : public ComTest {
protected:
    void SetUp() override
    {
        windows_ = create<_qfcLibWindows>(CLSID_qfcLibWindows, IID__qfcLibWindows);
        ASSERT_TRUE(windows_);
    }

    HRESULT execute(const std::wstring& commandLine, bool wait)
    {
        return windows_->ExecuteCommand(bstr(commandLine).get(), wait ? VARIANT_TRUE : VARIANT_FALSE);
    }

    bool shell(const std::wstring& file, const std::wstring& parameters = L"", long action = SA_Open,
               const std::wstring& folder = L"", bool showError = true)
    {
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(S_OK, windows_->ShellCommand(bstr(file).get(), bstr(parameters).get(), qcShowActions(action),
                                               qcShowStates(SW_SHOWNORMAL), bstr(folder).get(), -1,
                                               showError ? VARIANT_TRUE : VARIANT_FALSE, &ok));
        return ok == VARIANT_TRUE;
    }

    raii::ComPtr<_qfcLibWindows> windows_;
};

} // namespace

TEST_F(WindowsClient, ExecuteCommandWaitsOnlyWhenAskedAndTheChildInheritsTheFolder)
{
    ScratchFolder scratch(L"Execute");
    const std::wstring previous = files_testing::currentDirectory();
    ASSERT_TRUE(SetCurrentDirectoryW(scratch.path().c_str()));

    const std::wstring waited = scratch / L"waited.txt";
    const std::wstring commandLine = L"\"" + standIn() + L"\" -pilot \u00e9t\u00e9 \u65e5\u672c";
    {
        ScopedVariable record(L"STANDIN_RECORD", waited), stay(L"STANDIN_STAY_MS", L"300");
        ASSERT_EQ(S_OK, execute(commandLine, true));
    }
    auto lines = standInRecord(waited);
    EXPECT_EQ(L"1", lines["finished"]) << "with wait the program has ended when the call returns";
    EXPECT_EQ(commandLine, lines["commandline"]) << "the command line arrives whole, Unicode included";
    EXPECT_EQ(scratch.path(), lines["directory"] + L"\\") << "the caller's current directory";

    const std::wstring held = scratch / L"held.txt";
    const std::wstring event = L"QuillonStandInHold" + std::to_wstring(GetCurrentProcessId());
    raii::UniqueHandle signal(CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
    {
        ScopedVariable record(L"STANDIN_RECORD", held), hold(L"STANDIN_HOLD_EVENT", event);
        ASSERT_EQ(S_OK, execute(L"\"" + standIn() + L"\"", false));
    }
    EXPECT_TRUE(waitFor([&] { return !standInRecord(held).empty(); }));
    EXPECT_FALSE(finished(held)) << "without wait the call returns while the program still runs";
    SetEvent(signal.get());
    EXPECT_TRUE(waitFor([&] { return finished(held); }));
    SetCurrentDirectoryW(previous.c_str());
}

// The system overflows its stack on such lines.
TEST_F(WindowsClient, LinesTheSystemCannotTakeAreRefusedBeforeItSeesThem)
{
    ScratchFolder scratch(L"Refused");
    const std::wstring record = scratch / L"refused.txt";
    ScopedVariable recordTo(L"STANDIN_RECORD", record);
    const std::wstring program = L"\"" + standIn() + L"\" ";
    EXPECT_EQ(HRESULT(0x800A0005), execute(program + std::wstring(40000, L'x'), true));
    EXPECT_EQ(HRESULT(0x800A0005), execute(program + std::wstring(32767 - program.size(), L'x'), true));
    EXPECT_FALSE(finished(record)) << "none of them started";
    EXPECT_EQ(S_OK, execute(program + std::wstring(32766 - program.size(), L'x'), true));
    EXPECT_TRUE(finished(record)) << "the longest line the system takes still starts";

    EXPECT_FALSE(shell(std::wstring(1 << 20, L'a') + L".txt", L"", SA_Open, L"", false));
    EXPECT_FALSE(shell(standIn(), std::wstring(40000, L'p'), SA_Open, L"", false));
}

// A program that cannot start is a run-time error, numbered as script clients know it.
TEST_F(WindowsClient, ExecuteCommandRaisesWhenTheProgramCannotStart)
{
    ScratchFolder scratch(L"Unstartable");
    const std::wstring text = scratch.file(L"text\\main.exe", 100);
    const struct {
        std::wstring commandLine;
        HRESULT hr;
        const wchar_t* description; // nullptr: the system's own text, whatever it is
    } cases[] = {
        {scratch / L"missing.exe -x", HRESULT(0x800A0035), L"File not found"},
        {L"\"" + scratch / L"no folder\\main.exe\"", HRESULT(0x800A0035), L"File not found"},
        {L"\"" + text + L"\"", HRESULT(0x800A0005), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.commandLine));
        EXPECT_EQ(c.hr, execute(c.commandLine, false));
        raii::ComPtr<IErrorInfo> info;
        ASSERT_EQ(S_OK, GetErrorInfo(0, info.put()));
        raii::UniqueBstr description;
        info->GetDescription(description.put());
        const std::wstring said = raii::toWString(description.get());
        if (c.description) EXPECT_EQ(c.description, said);
        else EXPECT_FALSE(said.empty() || said == L"Invalid procedure call or argument") << "the system's text";
    }
    long exitCode = -1;
    const std::string output = captureProcess(L"cscript.exe //nologo \"" + programFolder() + L"ExecuteClient.vbs\" \"" +
                                              (scratch / L"missing.exe") + L"\"", &exitCode);
    EXPECT_EQ("53 | File not found | Quillon.qfcLibWindows\r\n", output);
}

// An inheritable pipe: a child that inherited its writing end would keep it open.
TEST_F(WindowsClient, ExecuteCommandHandsTheProgramNoHandles)
{
    ScratchFolder scratch(L"Inherit");
    const std::wstring record = scratch / L"inherit.txt";
    const std::wstring event = L"QuillonStandInInherit" + std::to_wstring(GetCurrentProcessId());
    raii::UniqueHandle signal(CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    raii::UniqueHandle readEnd, writeEnd;
    ASSERT_TRUE(CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, 0));
    {
        ScopedVariable recordTo(L"STANDIN_RECORD", record), hold(L"STANDIN_HOLD_EVENT", event);
        ASSERT_EQ(S_OK, execute(L"\"" + standIn() + L"\"", false));
    }
    ASSERT_TRUE(waitFor([&] { return !standInRecord(record).empty(); }));
    writeEnd.reset();
    DWORD available = 0;
    EXPECT_FALSE(PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr));
    EXPECT_EQ(DWORD(ERROR_BROKEN_PIPE), GetLastError()) << "the running program holds no copy of the pipe";
    SetEvent(signal.get());
    EXPECT_TRUE(waitFor([&] { return finished(record); }));
}

TEST_F(WindowsClient, ExecuteCommandLeavesNoHandleOpen)
{
    ScratchFolder scratch(L"Handles");
    const std::wstring record = scratch / L"handles.txt";
    ScopedVariable recordTo(L"STANDIN_RECORD", record);
    const std::wstring commandLine = L"\"" + standIn() + L"\"";
    ASSERT_EQ(S_OK, execute(commandLine, false));
    ASSERT_TRUE(waitFor([&] { return finished(record); }));
    const DWORD before = handleCount();
    for (int i = 0; i < 30; ++i) {
        DeleteFileW(record.c_str());
        ASSERT_EQ(S_OK, execute(commandLine, i % 2 == 0));
        ASSERT_TRUE(waitFor([&] { return finished(record); })) << "call " << i;
    }
    EXPECT_LE(handleCount(), before + 2) << "each call closes the process and thread handles";
}

TEST_F(WindowsClient, ShellCommandReportsFailuresInTheShellsErrorBox)
{
    ScratchFolder scratch(L"Shell");
    const std::wstring orphan = scratch.file(L"orphan.qnetnoassoc", 10);
    DialogAnswers answers(IDOK);
    EXPECT_FALSE(shell(L"     ")) << "blank text: nothing shown";
    EXPECT_FALSE(shell(orphan, L"", SA_Open, L"", false)) << "message switched off";
    EXPECT_EQ(0, answers.answered());
    EXPECT_FALSE(shell(L"  " + orphan + L"  "));
    ASSERT_EQ(1, answers.answered());
    EXPECT_EQ(L"  ShellExecute - Error", answers.titles()[0]);
    EXPECT_NE(std::wstring::npos, answers.texts()[0].find(L"Error Number = 31\rError Description = There is no"))
        << answers.texts()[0];
}

TEST_F(WindowsClient, ShellCommandPassesParametersAndFolder)
{
    ScratchFolder scratch(L"ShellRun");
    const std::wstring record = scratch / L"shell.txt";
    ScopedVariable recordTo(L"STANDIN_RECORD", record);
    ASSERT_TRUE(shell(standIn(), L"-pilot one", SA_Open, scratch.path()));
    ASSERT_TRUE(waitFor([&] { return finished(record); }));
    auto lines = standInRecord(record);
    EXPECT_NE(std::wstring::npos, lines["commandline"].find(L"-pilot one"));
    EXPECT_EQ(scratch.path(), lines["directory"] + L"\\") << "the default directory becomes the program's folder";
}

// The runner is the system's own: a rundll32.exe (the stand-in, which records its start) planted in the
// current folder or beside the calling program is never the one started.
TEST_F(WindowsClient, OpenCPAppletStartsTheSystemsControlPanelRunnerOnly)
{
    ScratchFolder scratch(L"Planted");
    const std::wstring record = scratch / L"planted.txt", before = files_testing::currentDirectory();
    ScopedVariable recordTo(L"STANDIN_RECORD", record);
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    for (const std::wstring& planted : {scratch / L"rundll32.exe", programFolder() + L"rundll32.exe"}) {
        SCOPED_TRACE(planted);
        ASSERT_TRUE(CopyFileW(standIn().c_str(), planted.c_str(), FALSE));
        SetCurrentDirectoryW(scratch.path().c_str());
        const std::vector<DWORD> running = processesNamed(L"rundll32.exe");
        EXPECT_EQ(S_OK, windows_->OpenCPApplet(qcControlPanel));
        SetCurrentDirectoryW(before.c_str());
        std::vector<DWORD> started;
        EXPECT_TRUE(waitFor([&] {
            started.clear();
            for (DWORD id : processesNamed(L"rundll32.exe"))
                if (std::find(running.begin(), running.end(), id) == running.end()) started.push_back(id);
            return !started.empty();
        }));
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
    const std::wstring picture = scratch / L"paper \u00e9t\u00e9.bmp";
    {
        // The smallest bitmap: one white pixel, 24 bits.
        const unsigned char bitmap[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0,
                                        1,   0,   0,  0, 1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                        0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 0};
        std::ofstream(picture.c_str(), std::ios::binary).write(reinterpret_cast<const char*>(bitmap), sizeof(bitmap));
    }
    auto current = [] {
        wchar_t name[MAX_PATH * 2] = {};
        SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH * 2, name, 0);
        return std::wstring(name);
    };
    // Sets through a by-reference variable holding `name`; gives what the variable holds after.
    auto set = [&](const std::wstring& name) {
        BSTR variable = SysAllocString(name.c_str());
        LONG result = 0;
        EXPECT_EQ(S_OK, windows_->SetWallpaper(&variable, &result));
        EXPECT_NE(0, result) << testing::PrintToString(name);
        raii::UniqueBstr owned(variable);
        return raii::toWString(variable);
    };

    set(picture);
    EXPECT_EQ(picture, current()) << "the user's desktop setting, Unicode name included";
    EXPECT_EQ(L"", set(L"{None}")) << "the caller's variable is changed too";
    EXPECT_EQ(L"", current());

    set(picture);
    LONG result = 0;
    ASSERT_EQ(S_OK, windows_->SetWallpaper(nullptr, &result)) << "omitted: no wallpaper";
    EXPECT_NE(0, result);
    EXPECT_EQ(L"", current());
}

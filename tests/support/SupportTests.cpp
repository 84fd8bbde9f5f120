// The process helpers every test program relies on: a child that hangs, or
// one that leaves a descendant holding its output, must not hang the test.
#include <cstdio>

#include "TestSupport.h"

#include <tlhelp32.h>

using namespace testing_support;

namespace {

// This program itself, running only the waiting child below for the given time.
std::wstring childThatWaits(int seconds)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return L"\"" + std::wstring(path) + L"\" --gtest_also_run_disabled_tests --gtest_filter=*DISABLED_Waits " +
           std::to_wstring(seconds);
}

// Wine hands every descendant the test's own output too, so ctest would wait for a lingering child.
void endWaitingChildren()
{
    raii::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring name = std::wstring(self).substr(std::wstring(self).find_last_of(L'\\') + 1);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId() || lstrcmpiW(entry.szExeFile, name.c_str()) != 0) continue;
        raii::UniqueHandle child(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        if (child) TerminateProcess(child.get(), 1);
    }
}

} // namespace

// Not a test: the child of the capture tests (its time is the last argument).
TEST(ProcessCapture, DISABLED_Waits)
{
    const int seconds = _wtoi(__wargv[__argc - 1]);
    std::printf("waiting\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(seconds) * 1000);
}

TEST(ProcessCapture, EndsAtTheTimeOutOrWhenTheChildEndsWhateverStillHoldsItsOutput)
{
    const std::wstring hang = childThatWaits(120), linger = childThatWaits(120);
    const struct {
        const char* what;
        std::wstring commandLine;
        DWORD timeoutMs;
        long exitCode;
        const char* output;
    } cases[] = {
        {"a child that hangs is ended at the time-out", hang, 2000, -2, "waiting"},
        {"a child that ends while its descendant keeps the pipe", L"cmd /c start \"\" /b " + linger + L" & echo done",
         30000, 0, "done"},
        {"a child that cannot start", L"no-such-program.exe", 30000, -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ULONGLONG started = GetTickCount64();
        long exitCode = 0;
        const std::string output = captureProcess(c.commandLine, &exitCode, c.timeoutMs);
        EXPECT_LT(GetTickCount64() - started, 15000u);
        EXPECT_EQ(c.exitCode, exitCode);
        EXPECT_NE(std::string::npos, output.find(c.output)) << output;
    }
    endWaitingChildren();
}

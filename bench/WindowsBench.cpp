// ExecuteCommand with waiting, against CreateProcessW and a wait on the same
// program: the stand-in game, which writes one small record and ends.
#include <vector>

#include "Bench.h"

namespace {

const int kIterations = 20;

HRESULT plainStartAndWait(const std::wstring& commandLine)
{
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &started))
        return HRESULT_FROM_WIN32(GetLastError());
    WaitForSingleObject(started.hProcess, INFINITE);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return S_OK;
}

// The stand-in's record exists after each call, so a call that started nothing counts as a failure.
HRESULT recordWritten(const std::wstring& record)
{
    const bool written = DeleteFileW(record.c_str()) != FALSE;
    return written ? S_OK : HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
}

void run()
{
    auto windows = bench::createObject<_qfcLibWindows>(CLSID_qfcLibWindows, IID__qfcLibWindows);
    if (!windows) return;
    const std::wstring record = bench::tempFolder() + L"QuillonBenchRecord.txt";
    SetEnvironmentVariableW(L"STANDIN_RECORD", record.c_str());
    const std::wstring commandLine = L"\"" + bench::programFolder() + L"StandInGame.exe\" -launched";
    raii::UniqueBstr text = raii::makeBstr(commandLine);

    const auto plain = [&] {
        const HRESULT hr = plainStartAndWait(commandLine);
        return FAILED(hr) ? hr : recordWritten(record);
    };
    const auto execute = [&] {
        const HRESULT hr = windows->ExecuteCommand(text.get(), VARIANT_TRUE);
        return FAILED(hr) ? hr : recordWritten(record);
    };
    const auto plainFirst = bench::nsPerCall(plain, kIterations);
    const auto executed = bench::nsPerCall(execute, kIterations);
    const auto plainAgain = bench::nsPerCall(plain, kIterations);
    bench::report("ExecuteCommand wait via vtable vs CreateProcess+wait", executed, plainFirst);
    bench::report("ExecuteCommand wait via vtable vs CreateProcess+wait (again)", executed, plainAgain);
    SetEnvironmentVariableW(L"STANDIN_RECORD", nullptr);
}

const bench::Group group("windows", &run);

} // namespace

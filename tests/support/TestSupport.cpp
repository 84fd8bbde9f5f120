#include "TestSupport.h"

#include <vector>

namespace testing_support {

std::wstring programFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path);
    return text.substr(0, text.find_last_of(L'\\') + 1);
}

namespace {

long waitAndCollect(PROCESS_INFORMATION& info, DWORD timeoutMs)
{
    raii::UniqueHandle process(info.hProcess);
    raii::UniqueHandle thread(info.hThread);
    if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        return -2;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<long>(code);
}

} // namespace

long runProcess(const std::wstring& commandLine, DWORD timeoutMs)
{
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    return waitAndCollect(info, timeoutMs);
}

std::string captureProcess(const std::wstring& commandLine, long* exitCode, DWORD timeoutMs)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    raii::UniqueHandle readEnd, writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0)) return {};
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        if (exitCode) *exitCode = -1;
        return {};
    }
    writeEnd.reset();
    std::string output;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) output.append(buffer, read);
    long code = waitAndCollect(info, timeoutMs);
    if (exitCode) *exitCode = code;
    return output;
}

ScratchCurrentUser::ScratchCurrentUser(const std::wstring& name) : path_(L"Software\\QuillonTests\\" + name)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, key_.get());
}

ScratchCurrentUser::~ScratchCurrentUser()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    key_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
}

bool readString(HKEY root, const std::wstring& path, const std::wstring& name, std::wstring* value)
{
    DWORD type = 0, size = 0;
    if (RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_ANY, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
    if (RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &size) != ERROR_SUCCESS)
        return false;
    if (value) *value = buffer.data();
    return true;
}

bool keyExists(HKEY root, const std::wstring& path)
{
    raii::UniqueHKey key;
    return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

} // namespace testing_support

#include "TestSupport.h"

#include <algorithm>
#include <vector>

namespace testing_support {

std::wstring programFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path);
    return text.substr(0, text.find_last_of(L'\\') + 1);
}

std::wstring guidText(REFGUID guid)
{
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

namespace {

// The process's exit code, or -2 when it outlives the deadline (it is then ended).
long waitUntil(const raii::ProcessInfo& process, ULONGLONG deadline)
{
    const HANDLE handle = process.get().hProcess;
    const ULONGLONG now = GetTickCount64();
    if (WaitForSingleObject(handle, deadline > now ? static_cast<DWORD>(deadline - now) : 0) != WAIT_OBJECT_0) {
        TerminateProcess(handle, 1);
        WaitForSingleObject(handle, 5000);
        return -2;
    }
    DWORD code = 0;
    GetExitCodeProcess(handle, &code);
    return static_cast<long>(code);
}

} // namespace

long waitForProcess(const raii::ProcessInfo& process, DWORD timeoutMs)
{
    return waitUntil(process, GetTickCount64() + timeoutMs);
}

bool startProcess(const std::wstring& commandLine, raii::ProcessInfo& started, HANDLE output)
{
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    return CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, output != nullptr, 0, nullptr, nullptr,
                          &startup, started.put());
}

std::string fileBytes(const std::wstring& path)
{
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    raii::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes(file ? GetFileSize(file.get(), nullptr) : 0, '\0');
    DWORD read = 0;
    if (file) ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    for (ULONGLONG deadline = GetTickCount64() + timeoutMs; GetTickCount64() < deadline; Sleep(20))
        if (condition()) return true;
    return condition();
}

long runProcess(const std::wstring& commandLine, DWORD timeoutMs)
{
    raii::ProcessInfo process;
    if (!startProcess(commandLine, process)) return -1;
    return waitForProcess(process, timeoutMs);
}

std::string captureProcess(const std::wstring& commandLine, long* exitCode, DWORD timeoutMs)
{
    long ignored = 0;
    long& code = exitCode ? *exitCode : ignored;
    code = -1;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    raii::UniqueHandle readEnd, writeEnd;
    if (!CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0)) return {};
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
    raii::ProcessInfo process;
    if (!startProcess(commandLine, process, writeEnd.get())) return {};
    writeEnd.reset();

    // A blocking read would wait for every holder of the pipe, including a hung
    // child or a grandchild that outlives it: read only what is there, until the
    // child has ended (its writes are then all in the pipe) or the deadline passes.
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    std::string output;
    bool ended = false;
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr)) break; // every writer closed
        if (available > 0) {
            char buffer[4096];
            DWORD read = 0;
            if (!ReadFile(readEnd.get(), buffer, std::min<DWORD>(available, sizeof(buffer)), &read, nullptr)) break;
            output.append(buffer, read);
            continue;
        }
        if (ended || GetTickCount64() >= deadline) break;
        ended = WaitForSingleObject(process.get().hProcess, 10) == WAIT_OBJECT_0;
    }
    code = waitUntil(process, deadline);
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

namespace {

raii::UniqueHKey openKey(HKEY root, const std::wstring& path, REGSAM view)
{
    raii::UniqueHKey key;
    RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, key.put());
    return key;
}

std::wstring stringValue(HKEY key, const wchar_t* name, DWORD size)
{
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1);
    RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, buffer.data(), &size);
    return buffer.data();
}

void addRegistryLines(HKEY key, const std::wstring& prefix, std::vector<std::wstring>& lines)
{
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = ARRAYSIZE(name), type = 0, size = 0;
        if (RegEnumValueW(key, i, name, &length, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        const std::wstring data =
            type == REG_SZ ? stringValue(key, name, size) : L"(type " + std::to_wstring(type) + L")";
        lines.push_back(prefix + L"|" + name + L"=" + data);
    }
    for (DWORD i = 0;; ++i) {
        DWORD length = ARRAYSIZE(name);
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        raii::UniqueHKey sub;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, sub.put()) == ERROR_SUCCESS)
            addRegistryLines(sub.get(), prefix + L"\\" + name, lines);
    }
}

} // namespace

std::wstring storedText(HKEY root, const std::wstring& path, const std::wstring& name, REGSAM view)
{
    const raii::UniqueHKey key = openKey(root, path, view);
    DWORD type = 0, size = 0;
    if (!key || RegGetValueW(key.get(), nullptr, name.c_str(), RRF_RT_ANY, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return L"<missing>";
    return stringValue(key.get(), name.c_str(), size);
}

COLORREF pixelAt(HWND window, int x, int y)
{
    raii::WindowDC dc(window);
    return GetPixel(dc.get(), x, y);
}

void initCore(const std::wstring& title, const std::wstring& path)
{
    auto core = create<_qfcLibCore>();
    ASSERT_TRUE(core);
    EXPECT_EQ(S_OK, core->InitCore(bstr(L"Vantorel").get(), bstr(title).get(), bstr(path).get(), 1, 1, 32));
}

bool keyExists(HKEY root, const std::wstring& path, REGSAM view) { return bool(openKey(root, path, view)); }

void setText(const std::wstring& path, const std::wstring& name, const std::wstring& text, HKEY root, REGSAM view)
{
    raii::UniqueHKey key;
    const DWORD bytes = DWORD((text.size() + 1) * sizeof(wchar_t));
    ASSERT_TRUE(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, key.put(), nullptr) ==
                    ERROR_SUCCESS &&
                RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               bytes) == ERROR_SUCCESS)
        << path << L"\\" << name;
}

void deleteTree(HKEY root, const std::wstring& path) { RegDeleteTreeW(root, path.c_str()); }

std::vector<std::wstring> registryLines(HKEY root, const std::wstring& path, REGSAM view)
{
    std::vector<std::wstring> lines;
    if (const raii::UniqueHKey key = openKey(root, path, view)) addRegistryLines(key.get(), path, lines);
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace testing_support

#include "Failure.h"

#include "PerThread.h"

namespace quillon::failure {
namespace {

ErrorRecord* recordOfThread() noexcept
{
    try {
        return &perthread::get<ErrorRecord>();
    } catch (...) {
        return nullptr;
    }
}

// Run-time errors for the Win32 codes a script caller can act on; others keep their HRESULT.
long runtimeNumber(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND: return kFileNotFound;
    case ERROR_PATH_NOT_FOUND: return kPathNotFound;
    case ERROR_ACCESS_DENIED: return kPermissionDenied;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return kOutOfMemory;
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_NAME: return kInvalidArgument;
    default: return 0;
    }
}

std::wstring withFunction(const wchar_t* function, std::wstring message)
{
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
    if (!function || !*function) return message;
    return message.empty() ? std::wstring(function) + L" failed" : std::wstring(function) + L": " + message;
}

} // namespace

const ErrorRecord& lastError()
{
    static const ErrorRecord none;
    const ErrorRecord* record = recordOfThread();
    return record ? *record : none;
}

void record(long number, const std::wstring& text) noexcept
{
    ErrorRecord* target = recordOfThread();
    if (!target) return;
    target->LastErrorNumber = number;
    try {
        target->LastErrorText = text;
    } catch (...) {
        target->LastErrorText.clear();
    }
}

void recordOwn(const std::wstring& text) noexcept { record(-1, text); }

void recordWin32(long code, const wchar_t*) noexcept
{
    DWORD error = code != 0 ? static_cast<DWORD>(code) : GetLastError();
    if (error == 0) error = ERROR_GEN_FAILURE;
    try {
        record(static_cast<long>(error), systemMessage(error));
    } catch (...) {
        record(static_cast<long>(error), std::wstring());
    }
}

void recordRuntime(const RuntimeError& error) noexcept
{
    record(error.number(), error.description());
}

std::wstring systemMessage(DWORD code)
{
    wchar_t buffer[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                   static_cast<DWORD>(sizeof(buffer) / sizeof(buffer[0]) - 1), nullptr);
    return buffer;
}

HRESULT win32Error(DWORD code) { return code == 0 ? E_FAIL : HRESULT_FROM_WIN32(code); }
HRESULT lastWin32Error() { return win32Error(GetLastError()); }

void raiseHResult(HRESULT hr, const wchar_t* function)
{
    if (SUCCEEDED(hr)) hr = E_FAIL;
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) throw RuntimeError(HRESULT_CODE(hr));
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (hr == E_INVALIDARG) throw RuntimeError(kInvalidArgument);
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) raiseWin32(HRESULT_CODE(hr), function);
    throw RuntimeError::fromHResult(hr, withFunction(function, systemMessage(static_cast<DWORD>(hr))));
}

void raiseWin32(DWORD code, const wchar_t* function)
{
    if (code == 0) code = ERROR_GEN_FAILURE;
    if (long number = runtimeNumber(code)) throw RuntimeError(number);
    throw RuntimeError::fromHResult(HRESULT_FROM_WIN32(code), withFunction(function, systemMessage(code)));
}

void raiseLastWin32(const wchar_t* function) { raiseWin32(GetLastError(), function); }

} // namespace quillon::failure

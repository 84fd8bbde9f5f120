// How library routines fail. Two styles, chosen by name where a forwarder or
// module routine runs its body:
//
//   trap style: every failure is recorded in the calling thread's last-error
//   record and the routine gives its neutral result; nothing is raised.
//       return failure::trap(false, [&] { return qfcLibRegistryB::REG_DeleteKey(root, path); });
//   raise style: a failure becomes a run-time error for the caller (the method
//   frame turns it into 0x800A0000 + n or the failed HRESULT, with error info).
//       failure::raiseIfFailed(SHGetFolderPathW(...), L"SHGetFolderPath");
//       if (!CreateProcessW(...)) failure::raiseLastWin32(L"CreateProcess");
//
// Inside a trapping routine, Win32 failures are recorded with
// failure::recordWin32(code, L"Function") and own failures with
// failure::recordOwn(text). lastWin32Error() is the one way to turn
// GetLastError() into an HRESULT: an error code of 0 never gives success.
#pragma once

#include <windows.h>
#include <new>
#include <string>

#include "RuntimeError.h"

namespace quillon::failure {

// The last recorded failure of the calling thread; overwritten by each
// failure, never cleared by a success.
struct ErrorRecord {
    long LastErrorNumber = 0;    // a Win32 code, an HRESULT, a run-time error number, or -1 for an own failure
    std::wstring LastErrorText;  // the system's message (its trailing line break kept) or the own text
};
const ErrorRecord& lastError();

// Recording never throws; when memory runs out the number is kept, the text dropped.
void record(long number, const std::wstring& text) noexcept;
void recordOwn(const std::wstring& text) noexcept;  // number -1
// code 0 reads GetLastError(); still 0 records ERROR_GEN_FAILURE, never "no error".
void recordWin32(long code, const wchar_t* function) noexcept;
void recordRuntime(const RuntimeError& error) noexcept;

// The system's message for a Win32 code or HRESULT ("" when it has none).
std::wstring systemMessage(DWORD code);

// HRESULT of a Win32 code; 0 (no code set) gives E_FAIL, never S_OK.
HRESULT win32Error(DWORD code);
HRESULT lastWin32Error();

// Raise style: throws the run-time error a failed HRESULT or Win32 call stands for.
[[noreturn]] void raiseHResult(HRESULT hr, const wchar_t* function);
[[noreturn]] void raiseWin32(DWORD code, const wchar_t* function);
[[noreturn]] void raiseLastWin32(const wchar_t* function);
inline void raiseIfFailed(HRESULT hr, const wchar_t* function)
{
    if (FAILED(hr)) raiseHResult(hr, function);
}

// Trap style: runs body; any failure (RuntimeError, out of memory, anything
// else) is recorded and gives neutral.
template <class T, class Body>
T trap(T neutral, Body&& body) noexcept
{
    try {
        return body();
    } catch (const RuntimeError& error) {
        recordRuntime(error);
    } catch (const std::bad_alloc&) {
        record(kOutOfMemory, describeError(kOutOfMemory));
    } catch (...) {
        record(kInternalError, describeError(kInternalError));
    }
    return neutral;
}
template <class Body>
void trapAll(Body&& body) noexcept
{
    trap(0, [&] { body(); return 0; });
}

} // namespace quillon::failure

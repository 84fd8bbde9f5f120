// A failure that ends the launcher procedure it happens in: a failed library
// call (its HRESULT and error-info text) or a misuse of the launcher's own classes.
#pragma once

#include <windows.h>
#include <string>

#include "ErrorNumbers.h"

namespace vantorel {

class LauncherError {
public:
    LauncherError(HRESULT hr, std::wstring description, std::wstring procedure)
        : hr_(hr), description_(std::move(description)), procedure_(std::move(procedure)) {}
    // A run-time error of the launcher's own, with its standard description.
    LauncherError(automation::ErrorNumber number, std::wstring procedure)
        : LauncherError(automation::errorHResult(number), automation::describeError(number), std::move(procedure)) {}
    HRESULT hr() const { return hr_; }
    const std::wstring& description() const { return description_; }
    const std::wstring& procedure() const { return procedure_; }

private:
    HRESULT hr_;
    std::wstring description_;
    std::wstring procedure_;
};

// Automation codes the launcher raises for misuse of its collections.
constexpr HRESULT kInvalidArgument = automation::errorHResult(automation::kInvalidArgument);
constexpr HRESULT kFileNotFound = automation::errorHResult(automation::kFileNotFound);
constexpr HRESULT kDuplicateKey = automation::errorHResult(automation::kDuplicateKey);

// The HRESULT as "0x8000FFFF".
std::wstring hresultText(HRESULT hr);
// The system's text for an HRESULT (a Win32 one included), without its line break; "" when it has none.
std::wstring systemText(HRESULT hr);

// Throws LauncherError for a failed HRESULT, with the thread's error-info
// description (or the system's text for the code when there is none).
void check(HRESULT hr, const wchar_t* procedure);

// Throws LauncherError for the Win32 call that just failed, with its last
// error (E_FAIL when it left none, so the failure never reads as success).
[[noreturn]] void throwLastError(const std::wstring& description, const wchar_t* procedure);

} // namespace vantorel

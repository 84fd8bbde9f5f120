// Run-time errors as automation clients know them: the numbers with their
// standard descriptions, the error a routine throws, and the two ways it reaches
// a caller (Invoke's EXCEPINFO, the thread's error info). One family for the
// library's methods and the objects both programs hand to callers (forms, the
// common dialog).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace automation {

enum ErrorNumber : long {
    kInvalidArgument = 5,
    kOverflow = 6,
    kOutOfMemory = 7,
    kSubscriptOutOfRange = 9,
    kArrayLocked = 10,
    kTypeMismatch = 13,
    kInternalError = 51,
    kBadFileName = 52,
    kFileNotFound = 53,
    kPermissionDenied = 70,
    kDiskNotReady = 71,
    kPathNotFound = 76,
    kObjectNotSet = 91,
    kObjectUnloaded = 364,
    kInvalidPropertyValue = 380,
    kObjectRequired = 424,
    kNoSuchMember = 438,
    kNoNamedArguments = 446,
    kNamedArgumentNotFound = 448,
    kArgumentNotOptional = 449,
    kWrongArgumentCount = 450,
    kDuplicateKey = 457,
    kUnsupportedType = 458,
    kCancelled = 32755,  // a common dialog with CancelError set, closed without a choice
};

// The standard description of a run-time error number.
std::wstring describeError(long number);

// The run-time error a dispatch failure (DISP_E_..., E_INVALIDARG, E_OUTOFMEMORY)
// stands for, and its description; 0 and "" for other codes.
long dispatchErrorNumber(HRESULT hr);
const wchar_t* dispatchFailureText(HRESULT hr);

// 0x800A0000 + number: the failure code automation clients expect.
constexpr HRESULT errorHResult(long number)
{
    return static_cast<HRESULT>(0x800A0000UL | (static_cast<unsigned long>(number) & 0xFFFFUL));
}

// A run-time error thrown by a routine that does not handle a failure itself.
// Whoever answers the caller (the library's method frame, a form object, the
// common dialog) catches it and names itself as the error's source.
class RuntimeError {
public:
    // An empty description gives the number's standard one.
    explicit RuntimeError(long number, std::wstring description = {});
    // A failed HRESULT raised as it is; number() is its low word.
    static RuntimeError fromHResult(HRESULT hr, std::wstring description);
    long number() const { return number_; }
    HRESULT hresult() const { return hresult_; }
    const std::wstring& description() const { return description_; }

    // To a late-bound caller: fills Invoke's EXCEPINFO (when it passed one) and
    // returns DISP_E_EXCEPTION.
    HRESULT raise(EXCEPINFO* exception, const std::wstring& source) const noexcept;
    // To a vtable caller: sets the thread's error info and returns hresult().
    HRESULT raise(const std::wstring& source) const noexcept;

private:
    long number_;
    HRESULT hresult_;
    std::wstring description_;
};

// Sets the thread's error info (description, source) and returns hr; never throws.
HRESULT raiseError(const std::wstring& source, HRESULT hr, const std::wstring& description) noexcept;

} // namespace automation

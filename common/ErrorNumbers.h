// Run-time error numbers as automation clients know them, with their standard
// descriptions: one list for the library's methods and the objects both
// programs hand to callers (forms, the common dialog).
#pragma once

#include <string>

namespace automation {

enum ErrorNumber : long {
    kInvalidArgument = 5,
    kOverflow = 6,
    kOutOfMemory = 7,
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
    kArgumentNotOptional = 449,
    kCancelled = 32755,  // a common dialog with CancelError set, closed without a choice
};

// The standard description of a run-time error number.
std::wstring describeError(long number);

} // namespace automation

// Run-time failures of library routines and how they reach a COM caller.
//
// A routine that does not handle a failure itself throws RuntimeError (the
// shared automation error, ErrorNumbers.h) with an automation error number
// (5 invalid argument, 6 overflow, ...). The method frame turns it into HRESULT
// 0x800A0000 + number (or the failed HRESULT it was made from) and an error-info
// object carrying the description and the class's ProgID as its source.
#pragma once

#include <windows.h>
#include <new>

#include "ErrorNumbers.h"

namespace quillon {

using namespace automation;

// For a C++ exception caught at an entry point: E_OUTOFMEMORY or E_FAIL with error info
// ("Out of memory" / "Internal error", source "Quillon"); never throws.
HRESULT entryFailure(HRESULT hr) noexcept;

// Runs an entry point's body; an escaping exception becomes entryFailure().
template <class Body>
HRESULT guardEntry(Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return entryFailure(E_OUTOFMEMORY);
    } catch (...) {
        return entryFailure(E_FAIL);
    }
}

} // namespace quillon

// What a body throws, for tests of code that throws instead of returning its failure.
#pragma once

#include <utility>

#include "ErrorNumbers.h"

namespace testing_support {

// `read` of the Error the body throws; a value-initialised result when it throws nothing (other exceptions
// pass on): caught<LauncherError>(body, [](const LauncherError& e) { return e.hr(); }).
template <class Error, class Body, class Read>
auto caught(Body&& body, Read&& read) -> decltype(read(std::declval<const Error&>()))
{
    try {
        body();
    } catch (const Error& error) {
        return read(error);
    }
    return {};
}

// The run-time error number a body raises (0: it raised nothing).
template <class Body>
long raisedNumber(Body&& body)
{
    return caught<automation::RuntimeError>(body, [](const automation::RuntimeError& error) { return error.number(); });
}

} // namespace testing_support

// The run-time error number a body raises, for tests of code that raises (0: it raised nothing).
#pragma once

#include "server/RuntimeError.h"

namespace testing_support {

template <class Body>
long raisedNumber(Body&& body)
{
    try {
        body();
    } catch (const quillon::RuntimeError& error) {
        return error.number();
    }
    return 0;
}

} // namespace testing_support

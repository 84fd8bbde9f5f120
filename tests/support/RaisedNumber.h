// The run-time error number a body raises, for code that throws instead of returning its failure.
#pragma once

#include "ErrorNumbers.h"

namespace testing_support {

// 0 when the body raises nothing; other exceptions pass on.
template <class Body>
long raisedNumber(Body&& body)
{
    try {
        body();
    } catch (const automation::RuntimeError& error) {
        return error.number();
    }
    return 0;
}

} // namespace testing_support

#include "RuntimeError.h"

namespace quillon {

HRESULT entryFailure(HRESULT hr) noexcept
{
    try {
        return raiseError(L"Quillon", hr, describeError(hr == E_OUTOFMEMORY ? kOutOfMemory : kInternalError));
    } catch (...) {
        return hr;
    }
}

} // namespace quillon

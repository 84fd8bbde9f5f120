#include "RuntimeError.h"

#include <oleauto.h>

#include "Raii.h"

namespace quillon {

RuntimeError::RuntimeError(long number, std::wstring description)
    : number_(number), hresult_(errorHResult(number)),
      description_(description.empty() ? describeError(number) : std::move(description))
{
}

RuntimeError RuntimeError::fromHResult(HRESULT hr, std::wstring description)
{
    RuntimeError error(HRESULT_CODE(hr), std::move(description));
    error.hresult_ = hr;
    return error;
}

HRESULT errorHResult(long number)
{
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, static_cast<unsigned short>(number));
}

HRESULT raiseError(const std::wstring& source, HRESULT hr, const std::wstring& description)
{
    raii::ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.put()))) {
        create->SetSource(const_cast<LPOLESTR>(source.c_str()));
        create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
        raii::ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.as(info, IID_IErrorInfo))) SetErrorInfo(0, info.get());
    }
    return hr;
}

HRESULT entryFailure(HRESULT hr) noexcept
{
    try {
        return raiseError(L"Quillon", hr, describeError(hr == E_OUTOFMEMORY ? kOutOfMemory : kInternalError));
    } catch (...) {
        return hr;
    }
}

} // namespace quillon

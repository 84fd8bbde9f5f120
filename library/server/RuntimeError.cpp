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

std::wstring describeError(long number)
{
    struct Entry { long number; const wchar_t* text; };
    static const Entry table[] = {
        {5, L"Invalid procedure call or argument"},
        {6, L"Overflow"},
        {7, L"Out of memory"},
        {9, L"Subscript out of range"},
        {10, L"This array is fixed or temporarily locked"},
        {11, L"Division by zero"},
        {13, L"Type mismatch"},
        {51, L"Internal error"},
        {52, L"Bad file name or number"},
        {53, L"File not found"},
        {57, L"Device I/O error"},
        {61, L"Disk full"},
        {68, L"Device unavailable"},
        {70, L"Permission denied"},
        {71, L"Disk not ready"},
        {75, L"Path/File access error"},
        {76, L"Path not found"},
        {91, L"Object variable or With block variable not set"},
        {424, L"Object required"},
        {438, L"Object doesn't support this property or method"},
    };
    for (const Entry& entry : table)
        if (entry.number == number) return entry.text;
    return L"Application-defined or object-defined error";
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

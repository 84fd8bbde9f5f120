#include "ErrorNumbers.h"

#include "Raii.h"

namespace automation {
namespace {

// The standard description of a number; null for numbers without one.
const wchar_t* standardText(long number)
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
        {364, L"Object was unloaded"},
        {380, L"Invalid property value"},
        {424, L"Object required"},
        {438, L"Object doesn't support this property or method"},
        {446, L"Object doesn't support named arguments"},
        {448, L"Named argument not found"},
        {449, L"Argument not optional"},
        {450, L"Wrong number of arguments or invalid property assignment"},
        {457, L"This key is already associated with an element of this collection"},
        {458, L"Variable uses an Automation type not supported"},
        {32755, L"Cancel was selected."},
    };
    for (const Entry& entry : table)
        if (entry.number == number) return entry.text;
    return nullptr;
}

} // namespace

std::wstring describeError(long number)
{
    const wchar_t* text = standardText(number);
    return text ? text : L"Application-defined or object-defined error";
}

long dispatchErrorNumber(HRESULT hr)
{
    switch (hr) {
    case DISP_E_PARAMNOTOPTIONAL: return kArgumentNotOptional;
    case DISP_E_BADPARAMCOUNT: return kWrongArgumentCount;
    case DISP_E_TYPEMISMATCH: return kTypeMismatch;
    case DISP_E_PARAMNOTFOUND: return kNamedArgumentNotFound;
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME: return kNoSuchMember;
    case DISP_E_OVERFLOW: return kOverflow;
    case DISP_E_BADVARTYPE: return kUnsupportedType;
    case DISP_E_NONAMEDARGS: return kNoNamedArguments;
    case DISP_E_BADINDEX: return kSubscriptOutOfRange;
    case E_INVALIDARG: return kInvalidArgument;
    case E_OUTOFMEMORY: return kOutOfMemory;
    default: return 0;
    }
}

const wchar_t* dispatchFailureText(HRESULT hr)
{
    const wchar_t* text = standardText(dispatchErrorNumber(hr));
    return text ? text : L"";
}

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

HRESULT RuntimeError::raise(EXCEPINFO* exception, const std::wstring& source) const noexcept
{
    if (exception) {
        *exception = EXCEPINFO{};
        exception->scode = hresult_;
        exception->bstrSource = SysAllocString(source.c_str());
        exception->bstrDescription = SysAllocString(description_.c_str());
    }
    return DISP_E_EXCEPTION;
}

HRESULT RuntimeError::raise(const std::wstring& source) const noexcept
{
    return raiseError(source, hresult_, description_);
}

HRESULT raiseError(const std::wstring& source, HRESULT hr, const std::wstring& description) noexcept
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

} // namespace automation

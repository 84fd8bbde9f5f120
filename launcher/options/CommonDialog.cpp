#include "CommonDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <new>
#include <vector>

#include "ErrorNumbers.h"
#include "NamedObject.h"
#include "Raii.h"

namespace vantorel {
namespace {

enum Member : DISPID { kInitDir = 1, kDefaultExt, kFilter, kFileName, kDialogTitle, kFlags, kCancelError, kFileTitle,
                       kShowOpen, kShowSave };

const latebound::MemberName kMembers[] = {
    {L"InitDir", kInitDir}, {L"DefaultExt", kDefaultExt}, {L"Filter", kFilter}, {L"FileName", kFileName},
    {L"DialogTitle", kDialogTitle}, {L"Flags", kFlags}, {L"CancelError", kCancelError},
    {L"FileTitle", kFileTitle}, {L"ShowOpen", kShowOpen}, {L"ShowSave", kShowSave},
};

// Room for a long path; the dialog reports a longer choice as an error.
constexpr DWORD kFileBuffer = 32768;

using automation::RuntimeError;

// The extension the dialog appends: "*.ogf", ".ogf" and "ogf" all give "ogf".
std::wstring bareExtension(std::wstring extension)
{
    if (!extension.empty() && extension[0] == L'*') extension.erase(0, 1);
    if (!extension.empty() && extension[0] == L'.') extension.erase(0, 1);
    return extension;
}

class CommonDialog final : public latebound::NamedObject {
public:
    explicit CommonDialog(HWND owner) : NamedObject(kMembers), owner_(owner) {}

    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

private:
    std::wstring* text(DISPID id);
    HRESULT get(DISPID id, VARIANT* result);
    HRESULT put(DISPID id, const VARIANT& value);
    HRESULT show(bool save);

    HWND owner_;
    std::wstring initDir_, defaultExt_, filter_, fileName_, dialogTitle_, fileTitle_;
    long flags_ = 0;
    bool cancelError_ = false;
};

std::wstring* CommonDialog::text(DISPID id)
{
    switch (id) {
    case kInitDir: return &initDir_;
    case kDefaultExt: return &defaultExt_;
    case kFilter: return &filter_;
    case kFileName: return &fileName_;
    case kDialogTitle: return &dialogTitle_;
    case kFileTitle: return &fileTitle_;
    default: return nullptr;
    }
}

HRESULT CommonDialog::get(DISPID id, VARIANT* result)
{
    if (!result) return S_OK;
    VariantInit(result);
    if (std::wstring* value = text(id)) {
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocStringLen(value->data(), static_cast<UINT>(value->size()));
        return V_BSTR(result) ? S_OK : E_OUTOFMEMORY;
    }
    if (id == kFlags) {
        V_VT(result) = VT_I4;
        V_I4(result) = flags_;
    } else {
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = cancelError_ ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return S_OK;
}

HRESULT CommonDialog::put(DISPID id, const VARIANT& value)
{
    const VARTYPE wanted = id == kFlags ? VT_I4 : id == kCancelError ? VT_BOOL : VT_BSTR;
    raii::UniqueVariant converted;
    HRESULT hr = VariantChangeType(converted.get(), const_cast<VARIANT*>(&value), 0, wanted);
    if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    const VARIANT& v = *converted.get();
    if (id == kFlags) {
        flags_ = V_I4(&v);
    } else if (id == kCancelError) {
        cancelError_ = V_BOOL(&v) != VARIANT_FALSE;
    } else {
        std::wstring newText(V_BSTR(&v) ? V_BSTR(&v) : L"", SysStringLen(V_BSTR(&v)));
        // Each text becomes a file name, folder, pattern or title of the dialog.
        if (newText.find(L'\0') != std::wstring::npos) throw RuntimeError(automation::kInvalidPropertyValue);
        *text(id) = std::move(newText);
    }
    return S_OK;
}

HRESULT CommonDialog::show(bool save)
{
    std::vector<wchar_t> file(kFileBuffer, L'\0');
    fileName_.copy(file.data(), std::min<size_t>(fileName_.size(), kFileBuffer - 1));
    std::vector<wchar_t> title(MAX_PATH, L'\0');
    const std::wstring filter = dialogFilter(filter_);
    const std::wstring extension = bareExtension(defaultExt_);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_ && IsWindow(owner_) ? owner_ : nullptr;
    dialog.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kFileBuffer;
    dialog.lpstrFileTitle = title.data();
    dialog.nMaxFileTitle = MAX_PATH;
    dialog.lpstrInitialDir = initDir_.empty() ? nullptr : initDir_.c_str();
    dialog.lpstrTitle = dialogTitle_.empty() ? nullptr : dialogTitle_.c_str();
    dialog.Flags = static_cast<DWORD>(flags_);
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();

    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (chosen) {
        fileName_ = file.data();
        fileTitle_ = title.data();
        return S_OK;
    }
    const DWORD failure = CommDlgExtendedError();
    if (failure)
        throw RuntimeError(automation::kInvalidPropertyValue,
                           L"The file dialog could not be shown (error " + std::to_wstring(failure) + L")");
    if (!cancelError_) return S_OK;
    throw RuntimeError(automation::kCancelled);
}

STDMETHODIMP CommonDialog::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* exception, UINT* argumentError)
{
    if (argumentError) *argumentError = 0;
    if (id < kInitDir || id > kShowSave) return DISP_E_MEMBERNOTFOUND;
    const UINT count = params ? params->cArgs : 0;
    return latebound::answerInvoke(exception, L"CommonDialog", [&]() -> HRESULT {
        if (id == kShowOpen || id == kShowSave) {
            if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
            if (count) return DISP_E_BADPARAMCOUNT;
            if (result) VariantInit(result);
            return show(id == kShowSave);
        }
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (count != 1) return DISP_E_BADPARAMCOUNT;
            return put(id, params->rgvarg[0]);
        }
        if (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) {
            if (count) return DISP_E_BADPARAMCOUNT;
            return get(id, result);
        }
        throw RuntimeError(automation::kNoSuchMember);
    });
}

} // namespace

std::wstring dialogFilter(const std::wstring& filter)
{
    std::wstring pieces = filter;
    for (wchar_t& c : pieces)
        if (c == L'|') c = L'\0';
    pieces.push_back(L'\0');
    pieces.push_back(L'\0');
    return pieces;
}

IDispatch* createCommonDialog(HWND owner) { return new (std::nothrow) CommonDialog(owner); }

} // namespace vantorel

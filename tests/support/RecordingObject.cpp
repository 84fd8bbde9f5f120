#include "RecordingObject.h"

#include "Raii.h"

namespace testing_support {
namespace {

const wchar_t kSource[] = L"Recording";

std::wstring& deferredDescription()
{
    static std::wstring text;
    return text;
}

HRESULT WINAPI fillDeferred(EXCEPINFO* exception)
{
    exception->bstrDescription = SysAllocString(deferredDescription().c_str());
    exception->bstrSource = SysAllocString(kSource);
    return S_OK;
}

// A VARIANT as the log writes it: numbers plainly, texts quoted, booleans True/False.
std::wstring describe(const VARIANT& value)
{
    if (V_VT(&value) == VT_BSTR) return L"\"" + raii::toWString(V_BSTR(&value)) + L"\"";
    if (V_VT(&value) == VT_DISPATCH) return V_DISPATCH(&value) ? L"<object>" : L"Nothing";
    if (V_VT(&value) == VT_ERROR) return L"<missing>";
    raii::UniqueVariant text;
    if (FAILED(VariantChangeType(text.get(), const_cast<VARIANT*>(&value), VARIANT_ALPHABOOL, VT_BSTR))) return L"<?>";
    return raii::toWString(V_BSTR(text.get()));
}

} // namespace

RecordingObject* RecordingObject::create(const std::vector<std::wstring>& members)
{
    auto table = std::make_unique<Members>(Members{std::vector<Member>(members.size()), {}});
    for (size_t i = 0; i < members.size(); ++i) {
        table->items[i].name = members[i];
        table->names.push_back({table->items[i].name.c_str(), DISPID(i + 1)});
    }
    return new RecordingObject(std::move(table));
}

RecordingObject::RecordingObject(std::unique_ptr<Members> members)
    : NamedObject(members->names.data(), members->names.size()), table_(std::move(members))
{
}

RecordingObject::Member* RecordingObject::find(const std::wstring& name)
{
    for (Member& member : table_->items)
        if (lstrcmpiW(member.name.c_str(), name.c_str()) == 0) return &member;
    return nullptr;
}

void RecordingObject::method(const std::wstring& name, Method body)
{
    if (Member* member = find(name)) member->body = std::move(body);
}

void RecordingObject::raise(const std::wstring& name, SCODE scode, const std::wstring& description, bool deferred)
{
    if (Member* member = find(name))
        member->raised.emplace(automation::RuntimeError::fromHResult(scode, description), deferred);
}

void RecordingObject::set(const std::wstring& name, const VARIANT& value)
{
    if (Member* member = find(name)) VariantCopy(member->value.get(), const_cast<VARIANT*>(&value));
}

void RecordingObject::set(const std::wstring& name, long value)
{
    VARIANT number;
    V_VT(&number) = VT_I4;
    V_I4(&number) = value;
    set(name, number);
}

STDMETHODIMP RecordingObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*)
{
    if (id < 1 || size_t(id) > table_->items.size()) return DISP_E_MEMBERNOTFOUND;
    Member& member = table_->items[id - 1];
    return latebound::answerInvoke(exception, kSource, [&]() -> HRESULT {
        if (!member.raised) return answer(member, flags, params, result);
        const auto [error, deferred] = *std::exchange(member.raised, std::nullopt);
        if (!deferred || !exception) throw error;
        *exception = EXCEPINFO{};
        exception->scode = error.hresult();
        deferredDescription() = error.description();
        exception->pfnDeferredFillIn = fillDeferred;
        return DISP_E_EXCEPTION;
    });
}

HRESULT RecordingObject::answer(Member& member, WORD flags, const DISPPARAMS* params, VARIANT* result)
{
    std::vector<VARIANT> args;
    for (UINT i = params ? params->cArgs : 0; i-- > 0;) args.push_back(params->rgvarg[i]);
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (args.size() != 1 || params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTOPTIONAL;
        VariantCopy(member.value.get(), &args[0]);
        log_.push_back(member.name + L"=" + describe(args[0]));
        return S_OK;
    }
    if (!member.body) {
        log_.push_back(member.name + L"?");
        return result ? VariantCopy(result, member.value.get()) : S_OK;
    }
    std::wstring entry = member.name + L"(";
    for (size_t i = 0; i < args.size(); ++i) entry += (i ? L"," : L"") + describe(args[i]);
    log_.push_back(entry + L")");
    raii::UniqueVariant ignored;
    return member.body(*this, args, result ? result : ignored.get());
}

} // namespace testing_support

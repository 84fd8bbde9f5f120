#include "RecordingObject.h"

#include <new>

#include "Raii.h"

namespace testing_support {
namespace {

std::wstring& deferredText()
{
    static std::wstring text;
    return text;
}

HRESULT WINAPI fillDeferred(EXCEPINFO* exception)
{
    exception->bstrDescription = SysAllocString(deferredText().c_str());
    exception->bstrSource = SysAllocString(L"Recording");
    return S_OK;
}

bool sameName(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

} // namespace

std::wstring describe(const VARIANT& value)
{
    switch (V_VT(&value)) {
    case VT_BSTR: return L"\"" + raii::toWString(V_BSTR(&value)) + L"\"";
    case VT_BOOL: return V_BOOL(&value) ? L"True" : L"False";
    case VT_DISPATCH: return V_DISPATCH(&value) ? L"<object>" : L"Nothing";
    case VT_ERROR: return L"<missing>";
    case VT_EMPTY: return L"<empty>";
    default: break;
    }
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&value), 0, VT_BSTR))) return L"<?>";
    std::wstring result = raii::toWString(V_BSTR(&text));
    VariantClear(&text);
    return result;
}

RecordingObject* RecordingObject::create(const std::vector<std::wstring>& members)
{
    auto table = std::make_unique<Members>();
    for (const auto& name : members) {
        table->items.push_back({name, nullptr, {}});
        VariantInit(&table->items.back().value);
    }
    for (size_t i = 0; i < table->items.size(); ++i)
        table->names.push_back({table->items[i].name.c_str(), DISPID(i + 1)});
    return new RecordingObject(std::move(table));
}

RecordingObject::RecordingObject(std::unique_ptr<Members> members)
    : NamedObject(members->names.data(), members->names.size()), table_(std::move(members))
{
}

RecordingObject::~RecordingObject()
{
    for (Member& member : table_->items) VariantClear(&member.value);
}

RecordingObject::Member* RecordingObject::find(const std::wstring& name)
{
    for (Member& member : table_->items)
        if (sameName(member.name, name)) return &member;
    return nullptr;
}

const RecordingObject::Member* RecordingObject::find(const std::wstring& name) const
{
    return const_cast<RecordingObject*>(this)->find(name);
}

void RecordingObject::method(const std::wstring& name, Method body)
{
    if (Member* member = find(name)) member->body = std::move(body);
}

void RecordingObject::raise(const std::wstring& name, SCODE scode, const std::wstring& description, bool deferred)
{
    for (size_t i = 0; i < table_->items.size(); ++i)
        if (sameName(table_->items[i].name, name)) raised_[DISPID(i + 1)] = {scode, description, deferred};
}

void RecordingObject::set(const std::wstring& name, const VARIANT& value)
{
    if (Member* member = find(name)) VariantCopy(&member->value, const_cast<VARIANT*>(&value));
}

void RecordingObject::set(const std::wstring& name, long value)
{
    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    set(name, v);
}

long RecordingObject::number(const std::wstring& name) const
{
    const Member* member = find(name);
    VARIANT v;
    VariantInit(&v);
    if (!member || FAILED(VariantChangeType(&v, const_cast<VARIANT*>(&member->value), 0, VT_I4))) return 0;
    return V_I4(&v);
}

std::vector<std::wstring> RecordingObject::take()
{
    std::vector<std::wstring> result;
    result.swap(log_);
    return result;
}

STDMETHODIMP RecordingObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids)
{
    ++lookups_;
    return NamedObject::GetIDsOfNames(iid, names, count, lcid, ids);
}

STDMETHODIMP RecordingObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*)
{
    if (id < 1 || size_t(id) > table_->items.size()) return DISP_E_MEMBERNOTFOUND;
    Member& member = table_->items[id - 1];
    auto raised = raised_.find(id);
    if (raised != raised_.end()) {
        if (exception) {
            *exception = EXCEPINFO{};
            exception->scode = raised->second.scode;
            if (raised->second.deferred) {
                deferredText() = raised->second.description;
                exception->pfnDeferredFillIn = fillDeferred;
            } else {
                exception->bstrDescription = SysAllocString(raised->second.description.c_str());
                exception->bstrSource = SysAllocString(L"Recording");
            }
        }
        raised_.erase(raised);
        return DISP_E_EXCEPTION;
    }
    std::vector<VARIANT> args;
    for (UINT i = params ? params->cArgs : 0; i-- > 0;) args.push_back(params->rgvarg[i]);
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (args.size() != 1 || params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTOPTIONAL;
        VariantCopy(&member.value, &args[0]);
        log_.push_back(member.name + L"=" + describe(args[0]));
        return S_OK;
    }
    if (member.body) {
        std::wstring entry = member.name + L"(";
        for (size_t i = 0; i < args.size(); ++i) entry += (i ? L"," : L"") + describe(args[i]);
        log_.push_back(entry + L")");
        VARIANT ignored;
        VariantInit(&ignored);
        HRESULT hr = member.body(*this, args, result ? result : &ignored);
        VariantClear(&ignored);
        return hr;
    }
    log_.push_back(member.name + L"?");
    return result ? VariantCopy(result, &member.value) : S_OK;
}

} // namespace testing_support

// A cheap method late-bound with a DISPID looked up once: through Quillon's
// own IDispatch against the system's dispatcher (CreateStdDispatch) over the
// same type information and the same object's vtable interface.
#include "Bench.h"

namespace {

HRESULT properCase(IDispatch* dispatch, DISPID id)
{
    raii::UniqueVariant text, result;
    V_VT(text.get()) = VT_BSTR;
    V_BSTR(text.get()) = raii::makeBstr(L"the quick brown fox").release();
    if (!V_BSTR(text.get())) return E_OUTOFMEMORY;
    DISPPARAMS params = {text.get(), nullptr, 1, 0};
    return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.get(), nullptr,
                            nullptr);
}

void run()
{
    auto strings = bench::createObject<_qfcLibStrings>(CLSID_qfcLibStrings, IID__qfcLibStrings);
    raii::ComPtr<IDispatch> quillon;
    raii::ComPtr<ITypeInfo> info;
    raii::ComPtr<IUnknown> standard;
    raii::ComPtr<IDispatch> system;
    if (!strings || !bench::check(strings.as(quillon, IID_IDispatch), "qfcLibStrings as IDispatch") ||
        !bench::check(quillon->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()), "GetTypeInfo") ||
        !bench::check(CreateStdDispatch(nullptr, strings.get(), info.get(), standard.put()), "CreateStdDispatch") ||
        !bench::check(standard.as(system, IID_IDispatch), "the standard dispatcher as IDispatch"))
        return;
    wchar_t name[] = L"ProperCase";
    LPOLESTR names[] = {name};
    DISPID id = DISPID_UNKNOWN;
    if (!bench::check(quillon->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), "GetIDsOfNames"))
        return;
    const bench::Comparison timings = bench::nsPerCallInTurns([&] { return properCase(quillon.get(), id); },
                                                              [&] { return properCase(system.get(), id); });
    bench::report("ProperCase via Quillon's IDispatch vs CreateStdDispatch", timings.candidate, timings.baseline);
}

const bench::Group group("dispatch", &run);

} // namespace

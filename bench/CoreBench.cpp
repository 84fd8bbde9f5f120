// GetAppVersion through the vtable and through IDispatch by name, against
// calling the module routine directly.
#include "Bench.h"
#include "LateBound.h"
#include "core/qfcLibCoreA.h"

namespace {

void run()
{
    using namespace quillon;
    auto core = bench::createObject<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
    raii::ComPtr<IDispatch> dispatch;
    if (!core || !bench::check(core.as(dispatch, IID_IDispatch), "qfcLibCore as IDispatch") ||
        !bench::check(core->InitCore(raii::makeBstr(L"Vantorel").get(), raii::makeBstr(L"Vantorel").get(),
                                     raii::makeBstr(L"C:\\").get(), 1, 1, 32),
                      "InitCore"))
        return;
    qfcLibCoreA::InitCore(L"Vantorel", L"Vantorel", L"C:\\", 1, 1, 32);

    const auto direct = bench::nsPerCall([] {
        raii::UniqueBstr text = raii::makeBstr(qfcLibCoreA::GetAppVersion(true));
        return text ? S_OK : E_OUTOFMEMORY;
    });
    const auto vtable = bench::nsPerCall([&] {
        raii::UniqueBstr text;
        return core->GetAppVersion(VARIANT_TRUE, text.put());
    });
    latebound::Args formatted;
    formatted.boolean(true);
    const auto byName =
        bench::nsPerCall([&] { return latebound::call(dispatch.get(), L"GetAppVersion", formatted).hr; });
    bench::report("GetAppVersion via vtable vs module routine", vtable, direct);
    bench::report("GetAppVersion via IDispatch by name vs module routine", byName, direct);
}

const bench::Group group("core", &run);

} // namespace

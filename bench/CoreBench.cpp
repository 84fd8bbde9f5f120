// GetAppVersion through the vtable and through IDispatch by name, against
// calling the module routine directly.
#include <cstdio>

#include "Bench.h"
#include "LateBound.h"
#include "core/qfcLibCoreA.h"

namespace {

void run()
{
    using namespace quillon;
    auto core = bench::createObject<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
    if (!core) {
        std::printf("  cannot create qfcLibCore\n");
        return;
    }
    core->InitCore(raii::makeBstr(L"Vantorel").get(), raii::makeBstr(L"Vantorel").get(),
                   raii::makeBstr(L"C:\\").get(), 1, 1, 32);
    qfcLibCoreA::InitCore(L"Vantorel", L"Vantorel", L"C:\\", 1, 1, 32);

    double direct = bench::nsPerCall([] {
        raii::UniqueBstr text = raii::makeBstr(qfcLibCoreA::GetAppVersion(true));
    });
    double vtable = bench::nsPerCall([&] {
        raii::UniqueBstr text;
        core->GetAppVersion(VARIANT_TRUE, text.put());
    });
    raii::ComPtr<IDispatch> dispatch;
    core.as(dispatch, IID_IDispatch);
    latebound::Args formatted;
    formatted.boolean(true);
    double byName = bench::nsPerCall([&] { latebound::call(dispatch.get(), L"GetAppVersion", formatted); });
    bench::report("GetAppVersion via vtable vs module routine", vtable, direct);
    bench::report("GetAppVersion via IDispatch by name vs module routine", byName, direct);
}

const bench::Group group("core", &run);

} // namespace

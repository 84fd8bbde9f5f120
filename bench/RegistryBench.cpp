// KeyGet and KeySet through the vtable and by name, against the plain registry
// calls doing the same work (open or create the key, query or set, close).
#include <cstdio>

#include "Bench.h"
#include "LateBound.h"

namespace {

const wchar_t kTitle[] = L"QuillonBench";
const wchar_t kAppKey[] = L"Software\\Brannock\\Apps\\QuillonBench";
const wchar_t kValue[] = L"EXEPath";
const wchar_t kData[] = L"C:\\Games\\Descent3\\main.exe";
const int kIterations = 5000;

void plainGet()
{
    raii::UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kAppKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return;
    wchar_t buffer[260] = {};
    DWORD type = 0, bytes = sizeof(buffer) - sizeof(wchar_t);
    RegQueryValueExW(key.get(), kValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    raii::UniqueBstr text(SysAllocString(buffer));
}

void plainSet()
{
    raii::UniqueHKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kAppKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key.get(), kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(kData), sizeof(kData));
}

void run()
{
    auto core = bench::createObject<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
    auto registry = bench::createObject<_qfcLibRegistry>(CLSID_qfcLibRegistry, IID__qfcLibRegistry);
    raii::ComPtr<IDispatch> dispatch;
    if (!core || !registry || FAILED(registry.as(dispatch, IID_IDispatch))) {
        std::printf("  cannot create qfcLibCore/qfcLibRegistry\n");
        return;
    }
    core->InitCore(raii::makeBstr(L"Vantorel").get(), raii::makeBstr(kTitle).get(), raii::makeBstr(L"C:\\").get(),
                   1, 0, 0);
    raii::UniqueBstr value = raii::makeBstr(kValue), data = raii::makeBstr(kData), empty = raii::makeBstr(L"");
    const auto appKey = static_cast<qcRegBaseKeys>(1);
    VARIANT_BOOL ok = VARIANT_FALSE;
    registry->KeySet(value.get(), data.get(), empty.get(), appKey, &ok);
    if (ok != VARIANT_TRUE) std::printf("  KeySet failed; figures below are not meaningful\n");

    double getPlain = bench::nsPerCall(plainGet, kIterations);
    double getVtable = bench::nsPerCall([&] {
        raii::UniqueBstr result;
        registry->KeyGet(value.get(), empty.get(), empty.get(), appKey, result.put());
    }, kIterations);
    latebound::Args name;
    name.text(kValue);
    double getByName = bench::nsPerCall([&] { latebound::call(dispatch.get(), L"KeyGet", name); }, kIterations);
    double setPlain = bench::nsPerCall(plainSet, kIterations);
    double setVtable = bench::nsPerCall([&] {
        VARIANT_BOOL result = VARIANT_FALSE;
        registry->KeySet(value.get(), data.get(), empty.get(), appKey, &result);
    }, kIterations);

    RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey);
    bench::report("KeyGet via vtable vs open/query/close", getVtable, getPlain);
    bench::report("KeyGet via IDispatch by name vs open/query/close", getByName, getPlain);
    bench::report("KeySet via vtable vs create/set/close", setVtable, setPlain);
}

const bench::Group group("registry", &run);

} // namespace

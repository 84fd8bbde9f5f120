// KeyGet and KeySet through the vtable and by name, against the plain registry
// calls doing the same work (open or create the key, query or set, close).
#include "Bench.h"
#include "LateBound.h"

namespace {

const wchar_t kTitle[] = L"QuillonBench";
const wchar_t kAppKey[] = L"Software\\Brannock\\Apps\\QuillonBench";
const wchar_t kValue[] = L"EXEPath";
const wchar_t kData[] = L"C:\\Games\\Descent3\\main.exe";
const int kIterations = 5000;

// A read that does not bring the stored data back failed, whatever it reported.
HRESULT sameData(const wchar_t* text) { return text && lstrcmpW(text, kData) == 0 ? S_OK : E_FAIL; }

// A library call that reports success but answers "not done" failed all the same.
HRESULT done(HRESULT hr, VARIANT_BOOL result) { return FAILED(hr) || result == VARIANT_TRUE ? hr : E_FAIL; }

HRESULT plainGet()
{
    raii::UniqueHKey key;
    LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, kAppKey, 0, KEY_QUERY_VALUE, key.put());
    if (status != ERROR_SUCCESS) return bench::fromStatus(status);
    wchar_t buffer[260] = {};
    DWORD type = 0, bytes = sizeof(buffer) - sizeof(wchar_t);
    status = RegQueryValueExW(key.get(), kValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    raii::UniqueBstr text(SysAllocString(buffer));
    return status != ERROR_SUCCESS ? bench::fromStatus(status) : sameData(text.get());
}

HRESULT plainSet()
{
    raii::UniqueHKey key;
    LONG status =
        RegCreateKeyExW(HKEY_CURRENT_USER, kAppKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return bench::fromStatus(status);
    return bench::fromStatus(
        RegSetValueExW(key.get(), kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(kData), sizeof(kData)));
}

void run()
{
    auto core = bench::createObject<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
    auto registry = bench::createObject<_qfcLibRegistry>(CLSID_qfcLibRegistry, IID__qfcLibRegistry);
    raii::ComPtr<IDispatch> dispatch;
    if (!core || !registry || !bench::check(registry.as(dispatch, IID_IDispatch), "qfcLibRegistry as IDispatch") ||
        !bench::check(core->InitCore(raii::makeBstr(L"Vantorel").get(), raii::makeBstr(kTitle).get(),
                                     raii::makeBstr(L"C:\\").get(), 1, 0, 0),
                      "InitCore"))
        return;
    raii::UniqueBstr value = raii::makeBstr(kValue), data = raii::makeBstr(kData), empty = raii::makeBstr(L"");
    const auto appKey = qcApps;
    const auto keySet = [&] {
        VARIANT_BOOL result = VARIANT_FALSE;
        const HRESULT hr = registry->KeySet(value.get(), data.get(), empty.get(), appKey, &result);
        return done(hr, result);
    };
    if (!bench::check(keySet(), "KeySet")) return;

    const auto getPlain = bench::nsPerCall(plainGet, kIterations);
    const auto getVtable = bench::nsPerCall([&] {
        raii::UniqueBstr result;
        const HRESULT hr = registry->KeyGet(value.get(), empty.get(), empty.get(), appKey, result.put());
        return FAILED(hr) ? hr : sameData(result.get());
    }, kIterations);
    latebound::Args name;
    name.text(kValue);
    const auto getByName = bench::nsPerCall([&] {
        const latebound::Result result = latebound::call(dispatch.get(), L"KeyGet", name);
        return result.ok() ? sameData(result.text().c_str()) : result.hr;
    }, kIterations);
    const auto setPlain = bench::nsPerCall(plainSet, kIterations);
    const auto setVtable = bench::nsPerCall(keySet, kIterations);

    RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey);
    bench::report("KeyGet via vtable vs open/query/close", getVtable, getPlain);
    bench::report("KeyGet via IDispatch by name vs open/query/close", getByName, getPlain);
    bench::report("KeySet via vtable vs create/set/close", setVtable, setPlain);
}

const bench::Group group("registry", &run);

} // namespace

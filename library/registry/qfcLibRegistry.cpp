#include "qfcLibRegistry.h"

#include "qfcLibRegistryA.h"

namespace quillon {
namespace {

// The root is passed by reference only for the calling convention; it is read, never changed.
long rootArg(const qcRegistryKeys* vKeyRoot)
{
    if (!vKeyRoot) throw RuntimeError(kInvalidArgument);
    return *vKeyRoot;
}

} // namespace

STDMETHODIMP qfcLibRegistry::KeyDelete(BSTR vSubKey, qcRegBaseKeys vBaseKey, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibRegistryA::KeyDelete(arg(vSubKey), vBaseKey); });
}

STDMETHODIMP qfcLibRegistry::KeyDeleteValue(BSTR vValue, BSTR vSubKey, qcRegBaseKeys vBaseKey, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibRegistryA::KeyDeleteValue(arg(vValue), arg(vSubKey), vBaseKey); });
}

STDMETHODIMP qfcLibRegistry::RegFileAssociate(BSTR, BSTR, BSTR, BSTR, BSTR, short, VARIANT_BOOL, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibRegistry::RegDeleteValue(qcRegistryKeys* vKeyRoot, BSTR vSubKey, BSTR vValue, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibRegistryA::RegDeleteValue(rootArg(vKeyRoot), arg(vSubKey), arg(vValue)); });
}

STDMETHODIMP qfcLibRegistry::KeyGet(BSTR vValue, BSTR vDefaultData, BSTR vSubKey, qcRegBaseKeys vBaseKey, BSTR* result)
{
    return call(result, [&] {
        return qfcLibRegistryA::KeyGet(arg(vValue), arg(vDefaultData), arg(vSubKey), vBaseKey);
    });
}

STDMETHODIMP qfcLibRegistry::KeySet(BSTR vValue, BSTR vData, BSTR vSubKey, qcRegBaseKeys vBaseKey, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibRegistryA::KeySet(arg(vValue), arg(vData), arg(vSubKey), vBaseKey); });
}

STDMETHODIMP qfcLibRegistry::RegDeleteKey(qcRegistryKeys vKeyRoot, BSTR vSubKey, VARIANT_BOOL* result)
{
    return call(result, [&] { return qfcLibRegistryA::RegDeleteKey(vKeyRoot, arg(vSubKey)); });
}

STDMETHODIMP qfcLibRegistry::RegKeySetString(qcRegistryKeys vKeyRoot, BSTR vSubKey, BSTR vValue, BSTR vData,
                                             VARIANT_BOOL* result)
{
    return call(result, [&] {
        return qfcLibRegistryA::RegKeySetString(vKeyRoot, arg(vSubKey), arg(vValue), arg(vData));
    });
}

STDMETHODIMP qfcLibRegistry::RegSetRunKey(BSTR, BSTR, qcRegistryKeys, qcRegRunTypes, VARIANT_BOOL, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibRegistry::RegKeyGetString(qcRegistryKeys vKeyRoot, BSTR vSubKey, BSTR vValue, BSTR vDefaultData,
                                             BSTR* result)
{
    return call(result, [&] {
        return qfcLibRegistryA::RegKeyGetString(vKeyRoot, arg(vSubKey), arg(vValue), arg(vDefaultData));
    });
}

} // namespace quillon

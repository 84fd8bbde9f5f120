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

// Every method traps its failures: false (or the default data) and the thread's last-error record.

} // namespace

STDMETHODIMP qfcLibRegistry::KeyDelete(BSTR vSubKey, qcRegBaseKeys vBaseKey, VARIANT_BOOL* result)
{
    return trap(result, false, [&] { return qfcLibRegistryA::KeyDelete(nameArg(vSubKey), vBaseKey); });
}

STDMETHODIMP qfcLibRegistry::KeyDeleteValue(BSTR vValue, BSTR vSubKey, qcRegBaseKeys vBaseKey, VARIANT_BOOL* result)
{
    return trap(result, false, [&] {
        return qfcLibRegistryA::KeyDeleteValue(nameArg(vValue), nameArg(vSubKey), vBaseKey);
    });
}

STDMETHODIMP qfcLibRegistry::RegFileAssociate(BSTR vExtension, BSTR vDescription, BSTR vOpenWithExe,
                                              BSTR vCommandLineParam, BSTR vIconPath, short vIconIndex,
                                              VARIANT_BOOL vRemove, VARIANT_BOOL* result)
{
    return trap(result, false, [&] {
        return qfcLibRegistryA::RegFileAssociate(nameArg(vExtension), arg(vDescription), pathArg(vOpenWithExe),
                                                 commandLineArg(vCommandLineParam), pathArg(vIconPath), vIconIndex,
                                                 isTrue(vRemove));
    });
}

STDMETHODIMP qfcLibRegistry::RegDeleteValue(qcRegistryKeys* vKeyRoot, BSTR vSubKey, BSTR vValue, VARIANT_BOOL* result)
{
    return trap(result, false, [&] {
        return qfcLibRegistryA::RegDeleteValue(rootArg(vKeyRoot), nameArg(vSubKey), nameArg(vValue));
    });
}

STDMETHODIMP qfcLibRegistry::KeyGet(BSTR vValue, BSTR vDefaultData, BSTR vSubKey, qcRegBaseKeys vBaseKey, BSTR* result)
{
    return trap(result, arg(vDefaultData), [&] {
        return qfcLibRegistryA::KeyGet(nameArg(vValue), arg(vDefaultData), nameArg(vSubKey), vBaseKey);
    });
}

STDMETHODIMP qfcLibRegistry::KeySet(BSTR vValue, BSTR vData, BSTR vSubKey, qcRegBaseKeys vBaseKey, VARIANT_BOOL* result)
{
    return trap(result, false, [&] {
        return qfcLibRegistryA::KeySet(nameArg(vValue), arg(vData), nameArg(vSubKey), vBaseKey);
    });
}

STDMETHODIMP qfcLibRegistry::RegDeleteKey(qcRegistryKeys vKeyRoot, BSTR vSubKey, VARIANT_BOOL* result)
{
    return trap(result, false, [&] { return qfcLibRegistryA::RegDeleteKey(vKeyRoot, nameArg(vSubKey)); });
}

STDMETHODIMP qfcLibRegistry::RegKeySetString(qcRegistryKeys vKeyRoot, BSTR vSubKey, BSTR vValue, BSTR vData,
                                             VARIANT_BOOL* result)
{
    return trap(result, false, [&] {
        return qfcLibRegistryA::RegKeySetString(vKeyRoot, nameArg(vSubKey), nameArg(vValue), arg(vData));
    });
}

STDMETHODIMP qfcLibRegistry::RegSetRunKey(BSTR vValue, BSTR vData, qcRegistryKeys vKeyRoot, qcRegRunTypes vMode,
                                          VARIANT_BOOL vRemove, VARIANT_BOOL* result)
{
    return trap(result, false, [&] {
        return qfcLibRegistryA::RegSetRunKey(nameArg(vValue), commandLineArg(vData), vKeyRoot, vMode, isTrue(vRemove));
    });
}

STDMETHODIMP qfcLibRegistry::RegKeyGetString(qcRegistryKeys vKeyRoot, BSTR vSubKey, BSTR vValue, BSTR vDefaultData,
                                             BSTR* result)
{
    return trap(result, arg(vDefaultData), [&] {
        return qfcLibRegistryA::RegKeyGetString(vKeyRoot, nameArg(vSubKey), nameArg(vValue), arg(vDefaultData));
    });
}

} // namespace quillon

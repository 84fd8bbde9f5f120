#include "qfcLibRegistry.h"

namespace quillon {

STDMETHODIMP qfcLibRegistry::KeyDelete(BSTR, qcRegBaseKeys, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibRegistry::KeyDeleteValue(BSTR, BSTR, qcRegBaseKeys, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibRegistry::RegFileAssociate(BSTR, BSTR, BSTR, BSTR, BSTR, short, VARIANT_BOOL, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibRegistry::RegDeleteValue(qcRegistryKeys*, BSTR, BSTR, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibRegistry::KeyGet(BSTR, BSTR, BSTR, qcRegBaseKeys, BSTR*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibRegistry::KeySet(BSTR, BSTR, BSTR, qcRegBaseKeys, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibRegistry::RegDeleteKey(qcRegistryKeys, BSTR, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibRegistry::RegKeySetString(qcRegistryKeys, BSTR, BSTR, BSTR, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibRegistry::RegSetRunKey(BSTR, BSTR, qcRegistryKeys, qcRegRunTypes, VARIANT_BOOL, VARIANT_BOOL*)
{
    return notImplemented();
}

STDMETHODIMP qfcLibRegistry::RegKeyGetString(qcRegistryKeys, BSTR, BSTR, BSTR, BSTR*)
{
    return notImplemented();
}

} // namespace quillon

// qfcLibRegistry: string values and keys in the registry.
#pragma once

#include "server/DispatchObject.h"

namespace quillon {

class qfcLibRegistry final : public DispatchObject<qfcLibRegistry, _qfcLibRegistry> {
public:
    static constexpr const wchar_t* kName = L"qfcLibRegistry";
    static const IID& iid() { return IID__qfcLibRegistry; }

    STDMETHODIMP KeyDelete(BSTR vSubKey, qcRegBaseKeys vBaseKey, VARIANT_BOOL* result) override;
    STDMETHODIMP KeyDeleteValue(BSTR vValue, BSTR vSubKey, qcRegBaseKeys vBaseKey, VARIANT_BOOL* result) override;
    STDMETHODIMP RegFileAssociate(BSTR vExtension, BSTR vDescription, BSTR vOpenWithExe, BSTR vCommandLineParam, BSTR vIconPath, short vIconIndex, VARIANT_BOOL vRemove, VARIANT_BOOL* result) override;
    STDMETHODIMP RegDeleteValue(qcRegistryKeys* vKeyRoot, BSTR vSubKey, BSTR vValue, VARIANT_BOOL* result) override;
    STDMETHODIMP KeyGet(BSTR vValue, BSTR vDefaultData, BSTR vSubKey, qcRegBaseKeys vBaseKey, BSTR* result) override;
    STDMETHODIMP KeySet(BSTR vValue, BSTR vData, BSTR vSubKey, qcRegBaseKeys vBaseKey, VARIANT_BOOL* result) override;
    STDMETHODIMP RegDeleteKey(qcRegistryKeys vKeyRoot, BSTR vSubKey, VARIANT_BOOL* result) override;
    STDMETHODIMP RegKeySetString(qcRegistryKeys vKeyRoot, BSTR vSubKey, BSTR vValue, BSTR vData, VARIANT_BOOL* result) override;
    STDMETHODIMP RegSetRunKey(BSTR vValue, BSTR vData, qcRegistryKeys vKeyRoot, qcRegRunTypes vMode, VARIANT_BOOL vRemove, VARIANT_BOOL* result) override;
    STDMETHODIMP RegKeyGetString(qcRegistryKeys vKeyRoot, BSTR vSubKey, BSTR vValue, BSTR vDefaultData, BSTR* result) override;
};

} // namespace quillon

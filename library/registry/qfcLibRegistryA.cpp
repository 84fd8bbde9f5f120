#include "qfcLibRegistryA.h"

#include "AssociationRules.h"
#include "core/qfcLibCoreA.h"
#include "qfcLibRegistryB.h"
#include "server/Failure.h"

namespace quillon::qfcLibRegistryA {

const wchar_t* const kNoApplicationText = L"No application key to delete from: InitCore has not set a title that names one key.";

namespace {

CheckedName appKeyPath(long vBaseKey, const CheckedName& vSubKey)
{
    return checkedName(KeyPath(vBaseKey, vSubKey.text(), qfcLibCoreA::Context().AppTitle));
}

// Records why a delete is refused before it reaches the registry; a sub key naming the base key is refused quietly.
bool deletable(long vBaseKey, const CheckedName& vSubKey)
{
    const DeleteRefusal refusal = RefuseDelete(vBaseKey, vSubKey.text(), qfcLibCoreA::Context().AppTitle);
    if (refusal == DeleteRefusal::NoApplication) failure::recordOwn(kNoApplicationText);
    return refusal == DeleteRefusal::None;
}

CheckedName valueName(const CheckedName& vValue) { return checkedName(ValueName(vValue.text())); }

} // namespace

HKEY RootKey(long vKeyRoot)
{
    static const std::pair<qcRegistryKeys, HKEY> roots[] = {
        {qc::kClassesRoot, HKEY_CLASSES_ROOT},         {qc::kCurrentUser, HKEY_CURRENT_USER},
        {qc::kLocalMachine, HKEY_LOCAL_MACHINE},       {qc::kUsers, HKEY_USERS},
        {qc::kPerformanceData, HKEY_PERFORMANCE_DATA}, {qc::kCurrentConfig, HKEY_CURRENT_CONFIG},
        {qc::kDynData, HKEY_DYN_DATA}};
    for (const auto& [value, root] : roots)
        if (static_cast<long>(value) == vKeyRoot) return root;
    return nullptr;
}

bool KeyDelete(const CheckedName& vSubKey, long vBaseKey)
{
    if (!deletable(vBaseKey, vSubKey)) return false;
    return qfcLibRegistryB::REG_DeleteKey(HKEY_CURRENT_USER, appKeyPath(vBaseKey, vSubKey));
}

bool KeyDeleteValue(const CheckedName& vValue, const CheckedName& vSubKey, long vBaseKey)
{
    if (vValue.empty() || !deletable(vBaseKey, vSubKey)) return false;
    return qfcLibRegistryB::REG_DeleteValue(HKEY_CURRENT_USER, appKeyPath(vBaseKey, vSubKey), vValue);
}

bool RegDeleteValue(long vKeyRoot, const CheckedName& vSubKey, const CheckedName& vValue)
{
    return qfcLibRegistryB::REG_DeleteValue(RootKey(vKeyRoot), vSubKey, vValue);
}

std::wstring KeyGet(const CheckedName& vValue, const std::wstring& vDefaultData, const CheckedName& vSubKey,
                    long vBaseKey)
{
    std::wstring text;
    if (!qfcLibRegistryB::REG_GetString(HKEY_CURRENT_USER, appKeyPath(vBaseKey, vSubKey), vValue, text))
        return vDefaultData;
    return text;
}

bool KeySet(const CheckedName& vValue, const std::wstring& vData, const CheckedName& vSubKey, long vBaseKey)
{
    return qfcLibRegistryB::REG_SaveString(HKEY_CURRENT_USER, appKeyPath(vBaseKey, vSubKey), vValue, vData);
}

bool RegDeleteKey(long vKeyRoot, const CheckedName& vSubKey)
{
    return qfcLibRegistryB::REG_DeleteKey(RootKey(vKeyRoot), vSubKey);
}

bool RegKeySetString(long vKeyRoot, const CheckedName& vSubKey, const CheckedName& vValue, const std::wstring& vData)
{
    return qfcLibRegistryB::REG_SaveString(RootKey(vKeyRoot), vSubKey, valueName(vValue), vData);
}

std::wstring RegKeyGetString(long vKeyRoot, const CheckedName& vSubKey, const CheckedName& vValue,
                             const std::wstring& vDefaultData)
{
    std::wstring text;
    if (!qfcLibRegistryB::REG_GetString(RootKey(vKeyRoot), vSubKey, valueName(vValue), text)) return vDefaultData;
    return text;
}

bool RegFileAssociate(const CheckedName& vExtension, const std::wstring& vDescription, const CheckedName& vOpenWithExe,
                      const CheckedName& vCommandLineParam, const CheckedName& vIconPath, short vIconIndex,
                      bool vRemove)
{
    const std::wstring extension = associationrules::NormalisedExtension(vExtension.text());
    if (extension.empty()) return false;
    if (vRemove) {
        const bool extensionGone = qfcLibRegistryB::REG_DeleteKey(HKEY_CLASSES_ROOT, checkedName(extension));
        const bool typeGone =
            qfcLibRegistryB::REG_DeleteKey(HKEY_CLASSES_ROOT, checkedName(associationrules::TypeName(extension)));
        return extensionGone || typeGone;
    }
    const associationrules::FileAssociation values = associationrules::AssociationValues(
        extension, vDescription, vOpenWithExe.text(), vCommandLineParam.text(), vIconPath.text(), vIconIndex,
        qfcLibCoreA::Context().AppName);
    const std::pair<std::wstring, const std::wstring*> writes[] = {
        {values.extension, &values.typeName},
        {values.typeName, &values.description},
        {values.typeName + L"\\Shell\\Open\\Command", &values.command},
        {values.typeName + L"\\DefaultIcon", &values.icon},
    };
    bool anyWritten = false;
    for (const auto& write : writes) {
        const bool written =
            qfcLibRegistryB::REG_SaveString(HKEY_CLASSES_ROOT, checkedName(write.first), CheckedName(), *write.second);
        anyWritten = anyWritten || written;
    }
    return anyWritten;
}

bool RegSetRunKey(const CheckedName& vValue, const CheckedName& vData, long vKeyRoot, long vMode, bool vRemove)
{
    const std::wstring runKey = associationrules::RunKeyPath(vMode);
    if (vValue.empty() || runKey.empty()) return false;
    if (vRemove) return qfcLibRegistryB::REG_DeleteValue(RootKey(vKeyRoot), checkedName(runKey), vValue);
    return qfcLibRegistryB::REG_SaveString(RootKey(vKeyRoot), checkedName(runKey), vValue, vData.text());
}

} // namespace quillon::qfcLibRegistryA

#include "qfcLibRegistryA.h"

#include "AssociationRules.h"
#include "core/qfcLibCoreA.h"
#include "qfcLibRegistryB.h"
#include "server/Failure.h"

namespace quillon::qfcLibRegistryA {

const wchar_t* const kNoApplicationText = L"No application key to delete from: InitCore has not set a title that names one key.";

namespace {

std::wstring appKeyPath(long vBaseKey, const std::wstring& vSubKey)
{
    return KeyPath(vBaseKey, vSubKey, qfcLibCoreA::Context().AppTitle);
}

// Records why a delete is refused before it reaches the registry; a sub key naming the base key is refused quietly.
bool deletable(long vBaseKey, const std::wstring& vSubKey)
{
    const DeleteRefusal refusal = RefuseDelete(vBaseKey, vSubKey, qfcLibCoreA::Context().AppTitle);
    if (refusal == DeleteRefusal::NoApplication) failure::recordOwn(kNoApplicationText);
    if (refusal == DeleteRefusal::HoldsNul) failure::recordOwn(qfcLibRegistryB::kNulInNameText);
    return refusal == DeleteRefusal::None;
}

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

bool KeyDelete(const std::wstring& vSubKey, long vBaseKey)
{
    if (!deletable(vBaseKey, vSubKey)) return false;
    return qfcLibRegistryB::REG_DeleteKey(HKEY_CURRENT_USER, appKeyPath(vBaseKey, vSubKey));
}

bool KeyDeleteValue(const std::wstring& vValue, const std::wstring& vSubKey, long vBaseKey)
{
    if (vValue.empty() || !deletable(vBaseKey, vSubKey)) return false;
    return qfcLibRegistryB::REG_DeleteValue(HKEY_CURRENT_USER, appKeyPath(vBaseKey, vSubKey), vValue);
}

bool RegDeleteValue(long vKeyRoot, const std::wstring& vSubKey, const std::wstring& vValue)
{
    return qfcLibRegistryB::REG_DeleteValue(RootKey(vKeyRoot), vSubKey, vValue);
}

std::wstring KeyGet(const std::wstring& vValue, const std::wstring& vDefaultData, const std::wstring& vSubKey,
                    long vBaseKey)
{
    std::wstring text;
    if (!qfcLibRegistryB::REG_GetString(HKEY_CURRENT_USER, appKeyPath(vBaseKey, vSubKey), vValue, text))
        return vDefaultData;
    return text;
}

bool KeySet(const std::wstring& vValue, const std::wstring& vData, const std::wstring& vSubKey, long vBaseKey)
{
    return qfcLibRegistryB::REG_SaveString(HKEY_CURRENT_USER, appKeyPath(vBaseKey, vSubKey), vValue, vData);
}

bool RegDeleteKey(long vKeyRoot, const std::wstring& vSubKey)
{
    return qfcLibRegistryB::REG_DeleteKey(RootKey(vKeyRoot), vSubKey);
}

bool RegKeySetString(long vKeyRoot, const std::wstring& vSubKey, const std::wstring& vValue,
                     const std::wstring& vData)
{
    return qfcLibRegistryB::REG_SaveString(RootKey(vKeyRoot), vSubKey, ValueName(vValue), vData);
}

std::wstring RegKeyGetString(long vKeyRoot, const std::wstring& vSubKey, const std::wstring& vValue,
                             const std::wstring& vDefaultData)
{
    std::wstring text;
    if (!qfcLibRegistryB::REG_GetString(RootKey(vKeyRoot), vSubKey, ValueName(vValue), text)) return vDefaultData;
    return text;
}

bool RegFileAssociate(const std::wstring& vExtension, const std::wstring& vDescription,
                      const std::wstring& vOpenWithExe, const std::wstring& vCommandLineParam,
                      const std::wstring& vIconPath, short vIconIndex, bool vRemove)
{
    const std::wstring extension = associationrules::NormalisedExtension(vExtension);
    if (extension.empty()) return false;
    if (vRemove) {
        const bool extensionGone = qfcLibRegistryB::REG_DeleteKey(HKEY_CLASSES_ROOT, extension);
        const bool typeGone =
            qfcLibRegistryB::REG_DeleteKey(HKEY_CLASSES_ROOT, associationrules::TypeName(extension));
        return extensionGone || typeGone;
    }
    const associationrules::FileAssociation values = associationrules::AssociationValues(
        extension, vDescription, vOpenWithExe, vCommandLineParam, vIconPath, vIconIndex,
        qfcLibCoreA::Context().AppName);
    const std::pair<std::wstring, const std::wstring*> writes[] = {
        {values.extension, &values.typeName},
        {values.typeName, &values.description},
        {values.typeName + L"\\Shell\\Open\\Command", &values.command},
        {values.typeName + L"\\DefaultIcon", &values.icon},
    };
    bool anyWritten = false;
    for (const auto& write : writes)
        anyWritten = qfcLibRegistryB::REG_SaveString(HKEY_CLASSES_ROOT, write.first, L"", *write.second) || anyWritten;
    return anyWritten;
}

bool RegSetRunKey(const std::wstring& vValue, const std::wstring& vData, long vKeyRoot, long vMode, bool vRemove)
{
    const std::wstring runKey = associationrules::RunKeyPath(vMode);
    if (vValue.empty() || runKey.empty()) return false;
    if (vRemove) return qfcLibRegistryB::REG_DeleteValue(RootKey(vKeyRoot), runKey, vValue);
    return qfcLibRegistryB::REG_SaveString(RootKey(vKeyRoot), runKey, vValue, vData);
}

} // namespace quillon::qfcLibRegistryA

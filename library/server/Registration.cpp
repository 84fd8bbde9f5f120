#include "Registration.h"

#include "ClassTable.h"
#include "QuillonTypes.h"
#include "Raii.h"
#include "Failure.h"
#include "Server.h"

namespace quillon::server {
namespace {

const wchar_t kDispatchProxy[] = L"{00020424-0000-0000-C000-000000000046}";
const wchar_t kLibraryHelp[] = L"Brannock Core Procedural Library";
const wchar_t kLibraryVersion[] = L"1.0";

std::wstring guidText(REFGUID guid)
{
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, ARRAYSIZE(text));
    return text;
}

std::wstring folderOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring interfaceName(const ClassEntry& entry) { return std::wstring(L"_") + entry.name; }
std::wstring progId(const ClassEntry& entry) { return std::wstring(L"Quillon.") + entry.name; }

HKEY rootKey(Scope scope) { return scope == Scope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

HRESULT writeRow(HKEY classes, const RegistryRow& row)
{
    raii::UniqueHKey key;
    LONG status = RegCreateKeyExW(classes, row.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    auto bytes = static_cast<DWORD>((row.data.size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(key.get(), row.name.empty() ? nullptr : row.name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(row.data.c_str()), bytes);
    return HRESULT_FROM_WIN32(status);
}

HRESULT openClasses(Scope scope, REGSAM access, raii::UniqueHKey& classes)
{
    LONG status = RegCreateKeyExW(rootKey(scope), L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  access, nullptr, classes.put(), nullptr);
    return HRESULT_FROM_WIN32(status);
}

} // namespace

std::vector<RegistryRow> registrationRows(const std::wstring& dllPath, bool win64)
{
    const std::wstring libid = guidText(LIBID_Quillon);
    const std::wstring library = L"TypeLib\\" + libid + L"\\" + kLibraryVersion;
    std::vector<RegistryRow> rows = {
        {library, L"", kLibraryHelp},
        {library + L"\\0\\" + (win64 ? L"win64" : L"win32"), L"", dllPath},
        {library + L"\\FLAGS", L"", L"0"},
        {library + L"\\HELPDIR", L"", folderOf(dllPath)},
    };
    for (auto entry = classTableBegin(); entry != classTableEnd(); ++entry) {
        const std::wstring clsidKey = L"CLSID\\" + guidText(*entry->clsid);
        const std::wstring interfaceKey = L"Interface\\" + guidText(*entry->iid);
        rows.insert(rows.end(), {
            {clsidKey, L"", progId(*entry)},
            {clsidKey + L"\\InprocServer32", L"", dllPath},
            {clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
            {clsidKey + L"\\ProgID", L"", progId(*entry)},
            {clsidKey + L"\\TypeLib", L"", libid},
            {clsidKey + L"\\VERSION", L"", kLibraryVersion},
            {progId(*entry), L"", progId(*entry)},
            {progId(*entry) + L"\\CLSID", L"", guidText(*entry->clsid)},
            {interfaceKey, L"", interfaceName(*entry)},
            {interfaceKey + L"\\ProxyStubClsid", L"", kDispatchProxy},
            {interfaceKey + L"\\ProxyStubClsid32", L"", kDispatchProxy},
            {interfaceKey + L"\\TypeLib", L"", libid},
            {interfaceKey + L"\\TypeLib", L"Version", kLibraryVersion},
        });
    }
    return rows;
}

std::vector<std::wstring> registrationTrees()
{
    std::vector<std::wstring> trees = {L"TypeLib\\" + guidText(LIBID_Quillon) + L"\\" + kLibraryVersion};
    for (auto entry = classTableBegin(); entry != classTableEnd(); ++entry) {
        trees.push_back(L"CLSID\\" + guidText(*entry->clsid));
        trees.push_back(progId(*entry));
        trees.push_back(L"Interface\\" + guidText(*entry->iid));
    }
    return trees;
}

HRESULT registerServer(Scope scope)
{
    raii::UniqueHKey classes;
    HRESULT hr = openClasses(scope, KEY_CREATE_SUB_KEY | KEY_SET_VALUE, classes);
    if (FAILED(hr)) return hr;
    const std::wstring path = modulePath();
    if (path.empty()) return failure::lastWin32Error();
    for (const RegistryRow& row : registrationRows(path, sizeof(void*) == 8)) {
        hr = writeRow(classes.get(), row);
        if (FAILED(hr)) {
            unregisterServer(scope);
            return hr;
        }
    }
    return S_OK;
}

HRESULT unregisterServer(Scope scope)
{
    raii::UniqueHKey classes;
    LONG status = RegOpenKeyExW(rootKey(scope), L"Software\\Classes", 0, KEY_ALL_ACCESS, classes.put());
    if (status == ERROR_FILE_NOT_FOUND) return S_OK;
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    HRESULT result = S_OK;
    for (const std::wstring& tree : registrationTrees()) {
        status = RegDeleteTreeW(classes.get(), tree.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) result = HRESULT_FROM_WIN32(status);
    }
    // The library's own key goes only when no other version is registered under it.
    RegDeleteKeyW(classes.get(), (L"TypeLib\\" + guidText(LIBID_Quillon)).c_str());
    return result;
}

} // namespace quillon::server

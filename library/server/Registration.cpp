#include "Registration.h"

#include "Quillon_registration.h"
#include "Raii.h"
#include "Failure.h"
#include "Server.h"

namespace quillon::server {
namespace {

constexpr bool kWin64 = sizeof(void*) == 8;

std::wstring folderOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

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

// The type library's key is shared by the 32-bit and 64-bit registry views: only this
// platform's entry goes, and the version's tree once no other platform's entry is left.
HRESULT unregisterLibrary(HKEY classes)
{
    const std::wstring entries = std::wstring(registration::kLibraryVersionKey) + L"\\0";
    LONG status = RegDeleteTreeW(classes, (entries + (kWin64 ? L"\\win64" : L"\\win32")).c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(status);
    DWORD others = 0;
    raii::UniqueHKey key;
    if (RegOpenKeyExW(classes, entries.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS)
        RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &others, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
    if (others > 0) return S_OK;
    key.reset();
    status = RegDeleteTreeW(classes, registration::kLibraryVersionKey);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(status);
    // The library's own key goes only when no other version is registered under it.
    RegDeleteKeyW(classes, registration::kLibraryKey);
    return S_OK;
}

} // namespace

std::vector<RegistryRow> registrationRows(const std::wstring& dllPath, bool win64)
{
    using registration::Data;
    std::vector<RegistryRow> rows;
    for (const registration::Row& row : registration::kRows) {
        std::wstring key = row.key;
        if (row.platform) key += win64 ? L"\\win64" : L"\\win32";
        rows.push_back({key, row.name, row.data == Data::File     ? dllPath
                                       : row.data == Data::Folder ? folderOf(dllPath)
                                                                  : std::wstring(row.text)});
    }
    return rows;
}

std::vector<std::wstring> registrationTrees()
{
    return {std::begin(registration::kTrees), std::end(registration::kTrees)};
}

HRESULT registerServer(Scope scope)
{
    raii::UniqueHKey classes;
    HRESULT hr = openClasses(scope, KEY_CREATE_SUB_KEY | KEY_SET_VALUE, classes);
    if (FAILED(hr)) return hr;
    const std::wstring path = modulePath();
    if (path.empty()) return failure::lastWin32Error();
    for (const RegistryRow& row : registrationRows(path, kWin64)) {
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
    const HRESULT library = unregisterLibrary(classes.get());
    return FAILED(result) ? result : library;
}

} // namespace quillon::server

#include "qfcLibRegistryB.h"

#include <shlwapi.h>

#include <algorithm>
#include <cwchar>
#include <new>
#include <vector>

#include "Raii.h"
#include "server/Failure.h"
#include "server/PerThread.h"

namespace quillon::qfcLibRegistryB {

static_assert(kPlatformWin32s == VER_PLATFORM_WIN32s && kPlatformWindows == VER_PLATFORM_WIN32_WINDOWS &&
              kPlatformNT == VER_PLATFORM_WIN32_NT);

const wchar_t* const kNotAStringText = L"Specified Key\\Value combination is not a 'String' value.";
const wchar_t* const kKeyTooLongText =
    L"Registry key specified to delete is more than the maximum 255 characters.";
const wchar_t* const kNoKeyToDeleteText = L"Registry key specified to delete names no key below the root.";

namespace {

OSState& os() { return perthread::get<OSState>(); }
ShlwapiState& shlwapi() { return perthread::get<ShlwapiState>(); }

constexpr DWORD kMaxKeyNameChars = 255;
constexpr size_t kFirstReadChars = 256;

// ---- failure recording ----

void report(long code, const wchar_t* function)
{
    long number = 0;
    std::wstring text;
    if (REG_ReportAPIError(code, function, number, text, false)) failure::record(number, text);
    else failure::recordWin32(ERROR_GEN_FAILURE, function);  // a failure is never recorded as "no error"
}

void recordOwn(const wchar_t* text) { failure::recordOwn(text); }

// Runs a routine body so that no failure escapes: an unexpected one is recorded and gives false.
template <class Body>
bool trapped(Body&& body) noexcept
{
    return failure::trap(false, body);
}

// ---- key handling ----

// A null root (an unknown root value) would make the registry read the path from the object namespace.
bool rootGiven(HKEY root, const wchar_t* function)
{
    if (!root) report(ERROR_INVALID_HANDLE, function);
    return root != nullptr;
}

bool openKey(HKEY root, const CheckedName& path, REGSAM access, raii::UniqueHKey& key)
{
    if (!rootGiven(root, L"RegOpenKeyEx")) return false;
    LSTATUS rc = RegOpenKeyExW(root, path.c_str(), 0, access, key.put());
    if (rc != ERROR_SUCCESS) report(rc, L"RegOpenKeyEx");
    return rc == ERROR_SUCCESS;
}

// Closes explicitly so that a failing close can be recorded.
bool closeKey(raii::UniqueHKey& key)
{
    LSTATUS rc = RegCloseKey(key.release());
    if (rc != ERROR_SUCCESS) report(rc, L"RegCloseKey");
    return rc == ERROR_SUCCESS;
}

// Deleting a path that names no key would empty the whole root: refused and recorded.
bool namesAKey(const std::wstring& path)
{
    if (NamesNoKey(path)) recordOwn(kNoKeyToDeleteText);
    return !NamesNoKey(path);
}

bool deleteSingleKey(HKEY root, const CheckedName& path)
{
    if (!rootGiven(root, L"RegDeleteKey")) return false;
    LSTATUS rc = RegDeleteKeyW(root, path.c_str());
    if (rc != ERROR_SUCCESS) report(rc, L"RegDeleteKey");
    return rc == ERROR_SUCCESS;
}

bool queryType(HKEY key, const CheckedName& name, DWORD& type, DWORD& size)
{
    LSTATUS rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS) report(rc, L"RegQueryValueEx");
    return rc == ERROR_SUCCESS;
}

// Reads a REG_SZ value of any length: a short value is read at once, a longer one
// again into a buffer sized from the stored size the first query reports.
bool readString(HKEY key, const CheckedName& name, std::wstring& value)
{
    // One spare character beyond what the registry may write always stays NUL.
    std::vector<wchar_t> buffer(kFirstReadChars + 1, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        LSTATUS rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                      &bytes);
        if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) {
            report(rc, L"RegQueryValueEx");
            return false;
        }
        if (type != REG_SZ) {
            recordOwn(kNotAStringText);
            return false;
        }
        if (rc == ERROR_SUCCESS) {
            // The whole stored text, NUL characters inside it included; only the terminating one goes.
            size_t length = std::min<size_t>(bytes / sizeof(wchar_t), buffer.size() - 1);
            if (length > 0 && buffer[length - 1] == L'\0') --length;
            value.assign(buffer.data(), length);
            return true;
        }
        buffer.assign((size_t(bytes) + 1) / sizeof(wchar_t) + 1, L'\0');
    }
    report(ERROR_MORE_DATA, L"RegQueryValueEx");  // the value kept growing while being read
    return false;
}

bool deleteChild(HKEY root, const CheckedName& child)
{
    raii::UniqueHKey key;
    if (!openKey(root, child, KEY_READ, key)) return false;
    long count = 0;
    if (!REG_CountSubKeys(root, child, count)) return false;
    bool deleted = count > 0 ? REG_DeleteSubKeys(root, key.get(), child) : deleteSingleKey(root, child);
    return deleted && closeKey(key);
}

bool deleteByShell(HKEY root, const CheckedName& path)
{
    DWORD rc = SHDeleteKeyW(root, path.c_str());
    if (rc != ERROR_SUCCESS) report(static_cast<long>(rc), L"SHDeleteKey");
    return rc == ERROR_SUCCESS;
}

void showAPIError(const std::wstring& functionName, DWORD code, const std::wstring& text)
{
    std::wstring message = L"An error occured while calling the " + functionName + L" Windows API function.\r" +
                           L"Below is the error information:\r\r" + L"Error Number = " + std::to_wstring(code) +
                           L"\r" + L"Error Description = " + text;
    MessageBoxW(nullptr, message.c_str(), L"  Windows API Error", MB_ICONEXCLAMATION);
}

std::wstring versionText(unsigned long major, unsigned long minor)
{
    return std::to_wstring(major) + L"." + std::to_wstring(minor);
}

} // namespace

const OSState& OSCache() { return os(); }
const ShlwapiState& ShlwapiCache() { return shlwapi(); }

// ---- registry routines ----

bool REG_GetString(HKEY root, const CheckedName& path, const CheckedName& name, std::wstring& text)
{
    text.clear();
    return trapped([&] {
        raii::UniqueHKey key;
        if (!openKey(root, path, KEY_QUERY_VALUE, key)) return false;
        std::wstring value;
        if (!readString(key.get(), name, value)) return false;
        closeKey(key);
        text = std::move(value);
        return true;
    });
}

bool REG_SaveString(HKEY root, const CheckedName& path, const CheckedName& name, const std::wstring& data)
{
    return trapped([&] {
        // The stored size counts the terminating NUL, as REG_SZ requires.
        const std::size_t bytes = (data.size() + 1) * sizeof(wchar_t);
        if (bytes > MAXDWORD) {
            report(ERROR_INVALID_PARAMETER, L"RegSetValueEx");
            return false;
        }
        if (!rootGiven(root, L"RegCreateKeyEx")) return false;
        raii::UniqueHKey key;
        wchar_t keyClass[] = L"0";
        LSTATUS rc = RegCreateKeyExW(root, path.c_str(), 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                     key.put(), nullptr);
        if (rc != ERROR_SUCCESS) {
            report(rc, L"RegCreateKeyEx");
            return false;
        }
        rc = RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>(bytes));
        if (rc != ERROR_SUCCESS) {
            report(rc, L"RegSetValueEx");
            return false;
        }
        closeKey(key);
        return true;
    });
}

bool REG_DeleteValue(HKEY root, const CheckedName& path, const CheckedName& name)
{
    return trapped([&] {
        raii::UniqueHKey key;
        if (!openKey(root, path, KEY_SET_VALUE, key)) return false;
        LSTATUS rc = RegDeleteValueW(key.get(), name.c_str());
        if (rc != ERROR_SUCCESS) {
            report(rc, L"RegDeleteValue");
            return false;
        }
        return closeKey(key);
    });
}

bool REG_GetValueType(HKEY root, const CheckedName& path, const CheckedName& name, unsigned long& type,
                      unsigned long& size)
{
    return trapped([&] {
        raii::UniqueHKey key;
        if (!openKey(root, path, KEY_QUERY_VALUE, key)) return false;
        DWORD foundType = 0, foundSize = 0;
        if (!queryType(key.get(), name, foundType, foundSize)) return false;
        type = foundType;
        size = foundSize;
        closeKey(key);
        return true;
    });
}

bool REG_CountSubKeys(HKEY root, const CheckedName& path, long& count)
{
    count = 0;
    return trapped([&] {
        raii::UniqueHKey key;
        if (!openKey(root, path, KEY_QUERY_VALUE, key)) return false;
        DWORD subKeys = 0;
        LSTATUS rc = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr);
        if (rc != ERROR_SUCCESS) {
            report(rc, L"RegQueryInfoKey");
            return false;
        }
        count = static_cast<long>(subKeys);
        closeKey(key);
        return true;
    });
}

bool REG_DeleteKey(HKEY root, const CheckedName& path)
{
    return trapped([&] {
        if (!namesAKey(path.text())) return false;
        if (!rootGiven(root, L"RegDeleteKey") || !REG_IsOSSupported()) return false;
        // The shell library matters only on the NT family; elsewhere it is not even looked for.
        const bool shlwapi471 = os().Platform == VER_PLATFORM_WIN32_NT && REG_IsShlwapi471();
        switch (ChooseDeleteStrategy(os().Platform, os().Major, os().Minor, shlwapi471, path.text().size())) {
        case DeleteStrategy::ShellTree:
            return deleteByShell(root, path);
        case DeleteStrategy::ChildByChild:
            return REG_DeleteKeyTree(root, path);
        case DeleteStrategy::SingleCall:
            return deleteSingleKey(root, path);
        case DeleteStrategy::PathTooLong:
            recordOwn(kKeyTooLongText);
            return false;
        case DeleteStrategy::Refuse:
            break;
        }
        return false;
    });
}

bool REG_DeleteKeyTree(HKEY root, const CheckedName& path)
{
    return trapped([&] {
        if (!namesAKey(path.text())) return false;
        raii::UniqueHKey key;
        if (!openKey(root, path, KEY_READ, key)) return false;
        long count = 0;
        if (!REG_CountSubKeys(root, path, count)) return false;
        if (count > 0) return REG_DeleteSubKeys(root, key.get(), path);
        key.reset();
        return deleteSingleKey(root, path);
    });
}

bool REG_DeleteSubKeys(HKEY root, HKEY key, const CheckedName& path)
{
    return trapped([&] {
        std::wstring base = path.text();
        if (!base.empty() && base.back() == L'\\') base.pop_back();
        if (NamesNoKey(base)) {
            recordOwn(kNoKeyToDeleteText);
            return false;
        }
        // Index 0 every time: each pass removes the subkey it found.
        for (;;) {
            wchar_t name[kMaxKeyNameChars + 1] = {};
            DWORD length = kMaxKeyNameChars + 1;
            if (RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            if (!deleteChild(root, checkedName(base + L"\\" + std::wstring(name, length)))) return false;
        }
        // Fails, and so makes the result false, when anything is left below the key.
        return deleteSingleKey(root, checkedName(base));
    });
}

bool REG_IsOSSupported()
{
    return trapped([] {
        if (os().OSDetectFailed) return false;
        if (os().OSVersionText.empty() && !REG_GetOSVersion()) {
            os().OSDetectFailed = true;
            return false;
        }
        return os().OSType != kOSWinNT351 && os().OSType != kOSWin32s;
    });
}

bool REG_GetOSVersion()
{
    return trapped([] {
        os() = OSState{};
        OSVERSIONINFOW info = {};
        info.dwOSVersionInfoSize = sizeof(info);
        if (!GetVersionExW(&info)) {
            report(0, L"GetVersionEx");
            return false;
        }
        os().Platform = info.dwPlatformId;
        os().Major = info.dwMajorVersion;
        os().Minor = info.dwMinorVersion;
        os().OSType = ClassifyOS(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
        os().OSVersionText = versionText(info.dwMajorVersion, info.dwMinorVersion);
        os().OSBuildText = std::to_wstring(info.dwBuildNumber);
        return true;
    });
}

bool REG_IsShlwapi471()
{
    return trapped([] {
        if (shlwapi().ShlwapiCheckFailed) return false;
        if (shlwapi().ShlwapiVersionText.empty() && !REG_GetShlwapiVersion()) {
            shlwapi().ShlwapiCheckFailed = true;
            return false;
        }
        return IsVersion471OrLater(shlwapi().Major, shlwapi().Minor);
    });
}

bool REG_GetShlwapiVersion()
{
    return trapped([] {
        shlwapi().ShlwapiVersionText.clear();
        // Only a library already loaded counts; its handle is not ours to free.
        HMODULE library = GetModuleHandleW(L"shlwapi.dll");
        if (!library) {
            report(0, L"GetModuleHandle");
            return false;
        }
        auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
            reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
        if (!getVersion) {
            report(0, L"GetProcAddress");
            return false;
        }
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof(info);
        HRESULT hr = getVersion(&info);
        if (hr != S_OK) {
            report(hr, L"DllGetVersion");
            return false;
        }
        shlwapi().Major = info.dwMajorVersion;
        shlwapi().Minor = info.dwMinorVersion;
        shlwapi().ShlwapiVersionText = versionText(info.dwMajorVersion, info.dwMinorVersion);
        return true;
    });
}

bool REG_ReportAPIError(long code, const std::wstring& functionName, long& number, std::wstring& text, bool show)
{
    number = 0;
    text.clear();
    const DWORD error = code != 0 ? static_cast<DWORD>(code) : GetLastError();
    if (error == 0) return false;
    try {
        std::wstring message = failure::systemMessage(error);
        if (show) showAPIError(functionName, error, message);
        text = std::move(message);
    } catch (...) {
        text.clear();  // the number alone still says what failed
    }
    number = static_cast<long>(error);
    SetLastError(0);
    return true;
}

} // namespace quillon::qfcLibRegistryB

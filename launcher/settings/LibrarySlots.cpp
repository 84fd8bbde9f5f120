#include "LibrarySlots.h"

#include <cstdio>

#include "LauncherError.h"
#include "Raii.h"
#include "StartupRules.h"
#include "VersionInfo.h"

namespace vantorel {

std::wstring hresultText(HRESULT hr)
{
    wchar_t text[16] = {};
    swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

namespace {

std::wstring errorInfoDescription()
{
    raii::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK || !info) return {};
    raii::UniqueBstr description;
    if (FAILED(info->GetDescription(description.put()))) return {};
    return raii::toWString(description.get());
}

} // namespace

std::wstring systemText(HRESULT hr)
{
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    raii::UniqueLocal owner(buffer);
    std::wstring text(buffer ? buffer : L"", buffer ? length : 0);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

void check(HRESULT hr, const wchar_t* procedure)
{
    if (SUCCEEDED(hr)) return;
    std::wstring description = errorInfoDescription();
    if (description.empty()) description = systemText(hr);
    if (description.empty()) description = L"Automation error " + hresultText(hr);
    throw LauncherError(hr, description, procedure);
}

void throwLastError(const std::wstring& description, const wchar_t* procedure)
{
    const DWORD code = GetLastError();
    throw LauncherError(code ? HRESULT_FROM_WIN32(code) : E_FAIL, description, procedure);
}

namespace {

// The system's text alone ("Access denied.") tells a player nothing about a missing library.
[[noreturn]] void throwCreationFailure(HRESULT hr, const wchar_t* className)
{
    std::wstring reason = systemText(hr);
    reason += (reason.empty() ? L"" : L" ") + hresultText(hr);
    const std::wstring folder = rules::folderOf(runningProgramPath());
    const std::wstring besideProgram = folder + (!folder.empty() && folder.back() == L'\\' ? L"" : L"\\") + rules::kLibraryFile;
    const bool missing = GetFileAttributesW(besideProgram.c_str()) == INVALID_FILE_ATTRIBUTES;
    throw LauncherError(hr, rules::libraryFailureText(className, folder, missing, reason),
                        std::wstring(L"Create ") + className);
}

} // namespace

namespace slots {
namespace {

template <class T>
struct Slot {
    raii::ComPtr<T> instance;

    T& get(REFCLSID clsid, REFIID iid, const wchar_t* className)
    {
        if (instance) return *instance.get();
        const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, instance.putVoid());
        if (FAILED(hr)) throwCreationFailure(hr, className);
        return *instance.get();
    }
};

Slot<_qfcLibCore> g_core;
Slot<_qfcLibRegistry> g_registry;
Slot<_qfcLibFiles> g_files;
Slot<_qfcLibForms> g_forms;
Slot<_qfcLibWindows> g_windows;

} // namespace

_qfcLibCore& core() { return g_core.get(CLSID_qfcLibCore, IID__qfcLibCore, L"qfcLibCore"); }
_qfcLibRegistry& registry()
{
    return g_registry.get(CLSID_qfcLibRegistry, IID__qfcLibRegistry, L"qfcLibRegistry");
}
_qfcLibFiles& files() { return g_files.get(CLSID_qfcLibFiles, IID__qfcLibFiles, L"qfcLibFiles"); }
_qfcLibForms& forms() { return g_forms.get(CLSID_qfcLibForms, IID__qfcLibForms, L"qfcLibForms"); }
_qfcLibWindows& windows() { return g_windows.get(CLSID_qfcLibWindows, IID__qfcLibWindows, L"qfcLibWindows"); }

void releaseLibraries()
{
    g_core.instance.reset();
    g_registry.instance.reset();
    g_files.instance.reset();
    g_forms.instance.reset();
    g_windows.instance.reset();
}

} // namespace slots
} // namespace vantorel

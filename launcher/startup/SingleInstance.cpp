#include "SingleInstance.h"

namespace vantorel {
namespace {

// In the session's namespace: another user's launcher is none of ours.
constexpr wchar_t kMutexName[] = L"Local\\Brannock.Vantorel.Instance";
constexpr wchar_t kProcessIdName[] = L"Local\\Brannock.Vantorel.ProcessId";

raii::UniqueHandle publishProcessId()
{
    raii::UniqueHandle mapping(
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD), kProcessIdName));
    if (!mapping) return mapping;
    raii::UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(DWORD)));
    if (view) *static_cast<volatile DWORD*>(view.get()) = GetCurrentProcessId();
    return mapping;
}

DWORD runningProcessId()
{
    raii::UniqueHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, kProcessIdName));
    if (!mapping) return 0;
    raii::UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof(DWORD)));
    return view ? *static_cast<const volatile DWORD*>(view.get()) : 0;
}

struct FrontSearch {
    DWORD processId;
    HWND found;
};

// Windows come in z-order; a modal box's owner is disabled, so the first
// enabled one is what the player can use.
BOOL CALLBACK findFront(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<FrontSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

SingleInstance::SingleInstance() : mutex_(CreateMutexW(nullptr, FALSE, kMutexName))
{
    // Without a mutex there is no way to know of another launcher: run as the only one.
    if (!mutex_) {
        first_ = true;
        return;
    }
    const DWORD taken = WaitForSingleObject(mutex_.get(), 0);
    first_ = taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED;
    if (first_) published_ = publishProcessId();
}

SingleInstance::~SingleInstance()
{
    if (first_ && mutex_) ReleaseMutex(mutex_.get());
}

bool bringRunningInstanceForward()
{
    FrontSearch search{runningProcessId(), nullptr};
    if (!search.processId) return false;
    EnumWindows(findFront, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return false;
    if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
    return SetForegroundWindow(search.found) != FALSE;
}

} // namespace vantorel

// One-line owners for the Win32 and COM resources used across the product.
// Each closes its resource exactly once, cannot be copied, and offers put()
// for APIs that return the resource through an out-parameter.
//
//     raii::UniqueHKey key;            RegOpenKeyExW(root, path, 0, KEY_READ, key.put());
//     raii::UniqueSafeArray array(SafeArrayCreateVector(VT_BSTR, 0, n));   ... array.release() to hand it out
//     raii::UniqueIdList pidl;         SHGetSpecialFolderLocation(nullptr, id, pidl.put());
//     raii::WindowDC dc(hwnd);         (GetDC/ReleaseDC)    raii::UniqueMemoryDC mem(CreateCompatibleDC(dc.get()));
//     raii::ProcessInfo process;       CreateProcessW(..., process.put());   process.get().hProcess
//     auto owned = raii::ComPtr<IFoo>::attach(raw);   // takes over a reference the caller owns
//     raii::ComPtr<IFoo> shared(raw);                 // explicit: adds its own reference
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <shtypes.h>
#include <uxtheme.h>
#include <string>
#include <utility>

namespace raii {

template <class T, class Traits>
class Unique {
public:
    Unique() = default;
    explicit Unique(T value) : value_(value) {}
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept { reset(other.release()); return *this; }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    T get() const { return value_; }
    T* put() { reset(); return &value_; }
    T release() { return std::exchange(value_, Traits::invalid()); }
    void reset(T value = Traits::invalid())
    {
        if (value_ != Traits::invalid()) Traits::close(value_);
        value_ = value;
    }
    explicit operator bool() const { return value_ != Traits::invalid(); }

private:
    T value_ = Traits::invalid();
};

struct HKeyTraits   { static HKEY invalid() { return nullptr; } static void close(HKEY k) { RegCloseKey(k); } };
struct HandleTraits { static HANDLE invalid() { return nullptr; } static void close(HANDLE h) { CloseHandle(h); } };
struct FileTraits   { static HANDLE invalid() { return INVALID_HANDLE_VALUE; } static void close(HANDLE h) { CloseHandle(h); } };
struct FindTraits   { static HANDLE invalid() { return INVALID_HANDLE_VALUE; } static void close(HANDLE h) { FindClose(h); } };
struct ModuleTraits { static HMODULE invalid() { return nullptr; } static void close(HMODULE m) { FreeLibrary(m); } };
struct BstrTraits   { static BSTR invalid() { return nullptr; } static void close(BSTR b) { SysFreeString(b); } };
struct LocalTraits  { static HLOCAL invalid() { return nullptr; } static void close(HLOCAL p) { LocalFree(p); } };
struct SafeArrayTraits { static SAFEARRAY* invalid() { return nullptr; } static void close(SAFEARRAY* a) { SafeArrayDestroy(a); } };
// Shell item-id lists come from the COM task allocator (ILFree is CoTaskMemFree).
struct IdListTraits { static LPITEMIDLIST invalid() { return nullptr; } static void close(LPITEMIDLIST p) { CoTaskMemFree(p); } };
struct TaskMemTraits { static void* invalid() { return nullptr; } static void close(void* p) { CoTaskMemFree(p); } };
struct MemoryDCTraits { static HDC invalid() { return nullptr; } static void close(HDC dc) { DeleteDC(dc); } };
struct ViewTraits { static void* invalid() { return nullptr; } static void close(void* p) { UnmapViewOfFile(p); } };

using UniqueHKey = Unique<HKEY, HKeyTraits>;
using UniqueHandle = Unique<HANDLE, HandleTraits>;
using UniqueFile = Unique<HANDLE, FileTraits>;
using UniqueFind = Unique<HANDLE, FindTraits>;
using UniqueModule = Unique<HMODULE, ModuleTraits>;
using UniqueBstr = Unique<BSTR, BstrTraits>;
template <class T> struct GdiTraits { static T invalid() { return nullptr; } static void close(T o) { DeleteObject(o); } };
using UniqueFont = Unique<HFONT, GdiTraits<HFONT>>;
using UniqueBrush = Unique<HBRUSH, GdiTraits<HBRUSH>>;
using UniqueBitmap = Unique<HBITMAP, GdiTraits<HBITMAP>>;
using UniquePen = Unique<HPEN, GdiTraits<HPEN>>;
// A region; SetWindowRgn takes it over, so hand it on with release().
using UniqueRegion = Unique<HRGN, GdiTraits<HRGN>>;
struct ThemeTraits { static HTHEME invalid() { return nullptr; } static void close(HTHEME t) { CloseThemeData(t); } };
using UniqueTheme = Unique<HTHEME, ThemeTraits>;
using UniqueLocal = Unique<HLOCAL, LocalTraits>;
using UniqueSafeArray = Unique<SAFEARRAY*, SafeArrayTraits>;
using UniqueIdList = Unique<LPITEMIDLIST, IdListTraits>;
using UniqueTaskMem = Unique<void*, TaskMemTraits>;
// A device context made by CreateDC / CreateCompatibleDC.
using UniqueMemoryDC = Unique<HDC, MemoryDCTraits>;
// A view of a file mapping from MapViewOfFile.
using UniqueView = Unique<void*, ViewTraits>;

// A window's device context from GetDC (nullptr: the screen), given back with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() { if (dc_) ReleaseDC(window_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for a scope; the one it replaced goes back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The two handles CreateProcess returns; both closed once.
class ProcessInfo {
public:
    ProcessInfo() = default;
    ~ProcessInfo() { reset(); }
    ProcessInfo(const ProcessInfo&) = delete;
    ProcessInfo& operator=(const ProcessInfo&) = delete;
    const PROCESS_INFORMATION& get() const { return info_; }
    PROCESS_INFORMATION* put() { reset(); return &info_; }
    void reset()
    {
        if (info_.hThread) CloseHandle(info_.hThread);
        if (info_.hProcess) CloseHandle(info_.hProcess);
        info_ = PROCESS_INFORMATION{};
    }

private:
    PROCESS_INFORMATION info_{};
};

inline UniqueBstr makeBstr(const std::wstring& text)
{
    return UniqueBstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

// A BSTR may be null, which COM treats as the empty string.
inline std::wstring toWString(BSTR text)
{
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&value_); }
    ~UniqueVariant() { VariantClear(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    VARIANT* get() { return &value_; }
    const VARIANT* get() const { return &value_; }
    VARIANT* put() { VariantClear(&value_); return &value_; }

private:
    VARIANT value_;
};

// Minimal counted COM pointer; AddRef on copy, Release on destruction.
// From a raw pointer: attach() takes over the caller's reference; the
// explicit constructor adds one of its own (the caller keeps its reference).
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(T* raw) : ptr_(raw) { if (ptr_) ptr_->AddRef(); }
    ComPtr(const ComPtr& other) : ComPtr(other.ptr_) {}
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept { std::swap(ptr_, other.ptr_); return *this; }
    ~ComPtr() { reset(); }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    T** put() { reset(); return &ptr_; }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    void reset() { if (ptr_) std::exchange(ptr_, nullptr)->Release(); }
    T* detach() { return std::exchange(ptr_, nullptr); }
    static ComPtr attach(T* raw) { ComPtr result; result.ptr_ = raw; return result; }

    template <class U>
    HRESULT as(ComPtr<U>& out, REFIID iid) const { return ptr_->QueryInterface(iid, out.putVoid()); }

private:
    T* ptr_ = nullptr;
};

// COM initialisation for the lifetime of a scope.
class ComScope {
public:
    explicit ComScope(DWORD model = COINIT_APARTMENTTHREADED) : hr_(CoInitializeEx(nullptr, model)) {}
    ~ComScope() { if (SUCCEEDED(hr_)) CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

// WinHTTP handles; present where <winhttp.h> was included before this header.
#if defined(__WINE_WINHTTP_H) || defined(_WINHTTPX_)
struct InternetTraits { static HINTERNET invalid() { return nullptr; } static void close(HINTERNET h) { WinHttpCloseHandle(h); } };
using UniqueInternet = Unique<HINTERNET, InternetTraits>;
#endif

} // namespace raii

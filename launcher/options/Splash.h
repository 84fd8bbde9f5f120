// The launcher's splash-screen component: a small COM class served to this
// process only, created by class identifier for the start-up splash and the
// about screen.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace vantorel {

extern const CLSID CLSID_VantorelSplash;
extern const IID IID_ISplashScreen;

// Operations in interface order: set-up, switch, number, show.
struct ISplashScreen : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Setup(BSTR appName, BSTR appTitle, BSTR appPath, short major, short minor,
                                            short revision, LONG port) = 0;
    // 1: the start-up splash that closes itself; 0: the about screen.
    virtual HRESULT STDMETHODCALLTYPE SplashSwitch(BYTE startup) = 0;
    // One of the five looks, 1 to 5.
    virtual HRESULT STDMETHODCALLTYPE Number(short look) = 0;
    virtual HRESULT STDMETHODCALLTYPE Show() = 0;
};

// Registers / revokes the class object for this process.
HRESULT registerSplashClass();
void revokeSplashClass();

constexpr UINT kSplashMilliseconds = 2000;
constexpr wchar_t kSplashWindowClass[] = L"VantorelSplash";

} // namespace vantorel

// A small benchmark harness: times a call many times and reports it as a
// ratio against a baseline measured in the same run, so the figures do not
// depend on the speed of the machine.
#pragma once

#include <cstring>
#include <functional>
#include <string>

#include "QuillonTypes.h"
#include "Raii.h"

namespace bench {

// A measurement: nanoseconds per call, or the HRESULT of the first failing call.
struct Timing {
    double ns = 0;
    HRESULT hr = S_OK;
    bool ok() const { return SUCCEEDED(hr); }
};

// The best of several rounds of `iterations` calls of body, which returns the
// call's HRESULT: a failing call ends the measurement, so it is never taken
// for a fast one.
Timing nsPerCall(const std::function<HRESULT()>& body, int iterations = 20000);

// Candidate and baseline timed in many short alternating rounds, the best round of each: a busy machine
// then slows both sides alike instead of whichever ran while it was busy.
struct Comparison {
    Timing candidate, baseline;
};
Comparison nsPerCallInTurns(const std::function<HRESULT()>& candidate, const std::function<HRESULT()>& baseline,
                            int iterations = 2000, int turns = 50);

// Prints one line: name, candidate and baseline times and their ratio; or,
// when either side failed, a failure line that makes the program exit with 1.
void report(const std::string& name, const Timing& candidate, const Timing& baseline);

// A failure outside the timed calls (creating or preparing objects): printed,
// and the program exits with 1. Returns whether hr succeeded.
bool check(HRESULT hr, const std::string& what);

// The folder of this program and the user's temporary folder, each ending in "\".
std::wstring programFolder();
std::wstring tempFolder();

// A registry or other Win32 status as an HRESULT (ERROR_SUCCESS is S_OK).
inline HRESULT fromStatus(LONG status) { return HRESULT_FROM_WIN32(static_cast<unsigned long>(status)); }

// An object of Quillon.dll (loaded from the benchmark's folder, no registration needed).
template <class T>
raii::ComPtr<T> createObject(REFCLSID clsid, REFIID iid);
HRESULT createObjectRaw(REFCLSID clsid, REFIID iid, void** result);

template <class T>
raii::ComPtr<T> createObject(REFCLSID clsid, REFIID iid)
{
    raii::ComPtr<T> object;
    check(createObjectRaw(clsid, iid, object.putVoid()), "creating an object of Quillon.dll");
    return object;
}

// A group of measurements; each group registers itself with a static Group object.
struct Group {
    Group(const char* name, void (*run)());
};

} // namespace bench

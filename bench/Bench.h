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

// Nanoseconds per call of body: the best of several rounds of `iterations` calls.
double nsPerCall(const std::function<void()>& body, int iterations = 20000);

// Prints one line: name, candidate and baseline times and their ratio.
void report(const std::string& name, double candidateNs, double baselineNs);

// An object of Quillon.dll (loaded from the benchmark's folder, no registration needed).
template <class T>
raii::ComPtr<T> createObject(REFCLSID clsid, REFIID iid);
HRESULT createObjectRaw(REFCLSID clsid, REFIID iid, void** result);

template <class T>
raii::ComPtr<T> createObject(REFCLSID clsid, REFIID iid)
{
    raii::ComPtr<T> object;
    createObjectRaw(clsid, iid, object.putVoid());
    return object;
}

// A group of measurements; each group registers itself with a static Group object.
struct Group {
    Group(const char* name, void (*run)());
};

} // namespace bench

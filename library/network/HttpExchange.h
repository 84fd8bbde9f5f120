// One HTTP request through the XML HTTP request object, carried out in a
// process of its own: the object's synchronous request cannot be interrupted,
// so a request that outlives its time-out is ended together with its process,
// which takes its connection, threads and objects with it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "Raii.h"

namespace quillon::HttpExchange {

struct Request {
    std::wstring url, method, userName, password;
    raii::UniqueVariant body; // a text or a byte array
    bool asXml = false;
};

struct Reply {
    HRESULT hr = E_FAIL;
    std::wstring text;      // the response, or its XML
    std::wstring errorText; // the failure's description
};

// Runs the request through the entry of hostLibrary (the library holding this
// code when empty) and waits at most timeoutMs for the whole exchange.
Reply Run(const Request& request, DWORD timeoutMs, const std::wstring& hostLibrary);

// The error's own description, else the system's text, else "Automation error".
std::wstring Describe(HRESULT hr);

} // namespace quillon::HttpExchange

// The entry rundll32 calls in the request's process; its argument is the pipe handle (hexadecimal).
extern "C" void CALLBACK QuillonHttpRequestW(HWND, HINSTANCE, LPWSTR commandLine, int);

// One HTTP exchange through WinHTTP, on the caller's thread. Every wait of a
// phase (name resolution, connection, sending, each wait for data) is bounded
// by the silence limit and by what is left of the total limit, whichever is
// less; a wait that runs out ends the exchange and closes its request handle,
// which closes its connection. A download that keeps arriving is never cut
// before the total limit.
#pragma once

#include <windows.h>

#include <string>

namespace quillon::HttpTransfer {

struct Limits {
    DWORD silenceMs; // longest wait without progress
    DWORD totalMs;   // longest whole exchange
};

struct Request {
    std::wstring url, method, userName, password; // credentials are sent only when a server asks
    std::string body;                              // the bytes sent; empty sends none
    std::wstring contentType;                      // "" sends no Content-Type
};

struct Response {
    DWORD status = 0;
    std::wstring contentType;
    std::string body; // whole: a body shorter than its Content-Length is a failure
};

// Every failure of an exchange: the HRESULT of the system's error and,
// where there is one better than the system's text, its description.
struct Failure {
    HRESULT hr;
    std::wstring text;
};

// Throws Failure, or std::bad_alloc.
Response Exchange(const Request& request, const Limits& limits);

// "The operation timed out" for a time-out, else the system's text for the
// error (WinHTTP's own messages included), else "Automation error".
std::wstring Describe(HRESULT hr);

} // namespace quillon::HttpTransfer

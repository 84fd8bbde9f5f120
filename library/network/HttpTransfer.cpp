#include "HttpTransfer.h"

// Before Raii.h, which offers its WinHTTP handle owner only after it.
#include <winhttp.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <mutex>
#include <vector>

#include "Raii.h"
#include "server/Failure.h"

namespace quillon::HttpTransfer {
namespace {

const HRESULT kTimedOut = HRESULT_FROM_WIN32(ERROR_WINHTTP_TIMEOUT);
// A negotiated scheme needs two rounds after the first answer; a third refusal is final.
constexpr int kMaxAuthRounds = 3;
// A failed automatic detection is not tried again for this long: on a network
// without one, every request would pay for the search.
constexpr ULONGLONG kAutoDetectPauseMs = 10 * 60 * 1000;
// A Content-Length above this is not trusted for the first allocation.
constexpr ULONGLONG kMaxPreallocation = 64ull * 1024 * 1024;

[[noreturn]] void fail(DWORD code)
{
    // Wine reports a receive that timed out with the socket's code.
    if (code == WSAETIMEDOUT) code = ERROR_WINHTTP_TIMEOUT;
    throw Failure{failure::win32Error(code), {}};
}

void check(BOOL succeeded)
{
    if (!succeeded) fail(GetLastError());
}

HINTERNET openSession(const std::wstring& proxy, const std::wstring& bypass)
{
    HINTERNET session =
        proxy.empty() ? WinHttpOpen(L"Quillon", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0)
                      : WinHttpOpen(L"Quillon", WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy.c_str(),
                                    bypass.empty() ? WINHTTP_NO_PROXY_BYPASS : bypass.c_str(), 0);
    if (!session) return nullptr;
    // Windows 7 leaves TLS 1.1 and 1.2 off unless asked; systems without TLS 1.3 refuse its flag.
    const DWORD tls = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_1 |
                      WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
    for (DWORD protocols : {tls | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3, tls})
        if (WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof(protocols))) break;
    return session;
}

// A session keeps the session cookies and the connection pool, and is shared by
// every thread. There is one for each way out (direct, or each proxy with its
// exceptions), since Wine takes a proxy only from the session; a machine has
// one or two. Each is opened on first use and never closed: the only moment
// left for that would be the library's unload, under the loader lock, and the
// process's end takes them.
struct Route {
    std::wstring proxy, bypass;
    HINTERNET session;
};
std::mutex g_routesLock;
std::vector<Route> g_routes;

HINTERNET sessionFor(const std::wstring& proxy = L"", const std::wstring& bypass = L"")
{
    std::lock_guard<std::mutex> lock(g_routesLock);
    for (const Route& route : g_routes)
        if (route.proxy == proxy && route.bypass == bypass) return route.session;
    g_routes.reserve(g_routes.size() + 1); // so that the push below cannot throw and lose the handle
    HINTERNET session = openSession(proxy, bypass);
    if (!session) fail(GetLastError());
    g_routes.push_back({proxy, bypass, session});
    return session;
}

struct Target {
    std::wstring host, path;
    INTERNET_PORT port = 0;
    bool secure = false;
};

// Only http and https addresses; anything else (file:, ftp:, a bare word) is refused before any request.
Target targetOf(const std::wstring& url)
{
    if (url.find(L'\0') != std::wstring::npos) fail(ERROR_WINHTTP_INVALID_URL);
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    check(WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts));
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        fail(ERROR_WINHTTP_UNRECOGNIZED_SCHEME);
    if (parts.dwHostNameLength == 0) fail(ERROR_WINHTTP_INVALID_URL);
    Target target;
    target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    target.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    target.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (target.path.empty()) target.path = L"/";
    target.port = parts.nPort;
    target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return target;
}

// The limits of one exchange: each wait gets the silence limit or what is left of the total.
class Clock {
public:
    explicit Clock(const Limits& limits)
        : silenceMs_(std::max<DWORD>(limits.silenceMs, 1)), end_(GetTickCount64() + limits.totalMs)
    {
    }

    void bound(HINTERNET request) const
    {
        ULONGLONG now = GetTickCount64();
        if (now >= end_) throw Failure{kTimedOut, {}};
        int wait = static_cast<int>(std::min<ULONGLONG>(silenceMs_, end_ - now));
        check(WinHttpSetTimeouts(request, wait, wait, wait, wait));
    }

private:
    DWORD silenceMs_;
    ULONGLONG end_;
};

// Strings WinHTTP hands out with GlobalAlloc.
class GlobalTexts {
public:
    GlobalTexts() = default;
    GlobalTexts(const GlobalTexts&) = delete;
    GlobalTexts& operator=(const GlobalTexts&) = delete;
    ~GlobalTexts()
    {
        for (wchar_t* text : texts_)
            if (text) GlobalFree(text);
    }
    void own(wchar_t* a, wchar_t* b, wchar_t* c = nullptr)
    {
        texts_[count_++] = a;
        texts_[count_++] = b;
        texts_[count_++] = c;
    }

private:
    wchar_t* texts_[6] = {};
    int count_ = 0;
};

std::atomic<ULONGLONG> g_autoDetectFailedAt{0};

bool autoDetectPaused()
{
    ULONGLONG failedAt = g_autoDetectFailedAt;
    return failedAt != 0 && GetTickCount64() - failedAt < kAutoDetectPauseMs;
}

// The proxy of automatic configuration (a script's address, or detection), if it gives one.
bool automaticProxy(const WINHTTP_CURRENT_USER_IE_PROXY_CONFIG& user, const std::wstring& url,
                    WINHTTP_PROXY_INFO& chosen, GlobalTexts& texts)
{
    WINHTTP_AUTOPROXY_OPTIONS options = {};
    if (user.fAutoDetect && !autoDetectPaused()) {
        options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
        options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    }
    if (user.lpszAutoConfigUrl) {
        options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
        options.lpszAutoConfigUrl = user.lpszAutoConfigUrl;
    }
    if (!options.dwFlags) return false;
    options.fAutoLogonIfChallenged = TRUE;
    if (WinHttpGetProxyForUrl(sessionFor(), url.c_str(), &options, &chosen)) {
        texts.own(chosen.lpszProxy, chosen.lpszProxyBypass);
        return true;
    }
    if (GetLastError() == ERROR_WINHTTP_AUTODETECTION_FAILED) g_autoDetectFailedAt = GetTickCount64();
    return false;
}

// The session for the user's proxy settings, read for each request so that a
// change applies at once: automatic configuration where it is set, falling back
// to the fixed proxy and its exceptions; none at all is a direct connection.
HINTERNET sessionForUsersProxy(const std::wstring& url)
{
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG user = {};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&user)) return sessionFor();
    GlobalTexts texts;
    texts.own(user.lpszAutoConfigUrl, user.lpszProxy, user.lpszProxyBypass);
    WINHTTP_PROXY_INFO chosen = {};
    if (!automaticProxy(user, url, chosen, texts)) {
        chosen.dwAccessType = user.lpszProxy ? WINHTTP_ACCESS_TYPE_NAMED_PROXY : WINHTTP_ACCESS_TYPE_NO_PROXY;
        chosen.lpszProxy = user.lpszProxy;
        chosen.lpszProxyBypass = user.lpszProxyBypass;
    }
    if (chosen.dwAccessType != WINHTTP_ACCESS_TYPE_NAMED_PROXY || !chosen.lpszProxy || !*chosen.lpszProxy)
        return sessionFor();
    return sessionFor(chosen.lpszProxy, chosen.lpszProxyBypass ? chosen.lpszProxyBypass : L"");
}

DWORD strongestScheme(DWORD supported)
{
    for (DWORD scheme : {WINHTTP_AUTH_SCHEME_NEGOTIATE, WINHTTP_AUTH_SCHEME_NTLM, WINHTTP_AUTH_SCHEME_DIGEST,
                         WINHTTP_AUTH_SCHEME_BASIC})
        if (supported & scheme) return scheme;
    return 0;
}

// Answers a 401 with the caller's credentials and a 407 with the user's own
// log-on (which only the system's schemes can carry); true when the request
// should go again.
bool answerChallenge(HINTERNET handle, DWORD status, const Request& request)
{
    DWORD supported = 0, first = 0, target = 0;
    if (!WinHttpQueryAuthSchemes(handle, &supported, &first, &target)) return false;
    DWORD scheme = strongestScheme(supported);
    if (status == HTTP_STATUS_DENIED) {
        if (!scheme || request.userName.empty()) return false;
        return WinHttpSetCredentials(handle, WINHTTP_AUTH_TARGET_SERVER, scheme, request.userName.c_str(),
                                     request.password.c_str(), nullptr) != FALSE;
    }
    if (!(scheme & (WINHTTP_AUTH_SCHEME_NEGOTIATE | WINHTTP_AUTH_SCHEME_NTLM))) return false;
    return WinHttpSetCredentials(handle, WINHTTP_AUTH_TARGET_PROXY, scheme, nullptr, nullptr, nullptr) != FALSE;
}

DWORD statusOf(HINTERNET handle)
{
    DWORD status = 0, size = sizeof(status);
    check(WinHttpQueryHeaders(handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                              WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX));
    return status;
}

// A header's text; false when the response has none.
bool headerOf(HINTERNET handle, DWORD info, std::wstring& text)
{
    DWORD size = 0;
    WinHttpQueryHeaders(handle, info, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size, WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    text.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    check(WinHttpQueryHeaders(handle, info, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size,
                              WINHTTP_NO_HEADER_INDEX));
    text.resize(size / sizeof(wchar_t));
    return true;
}

// The body's announced length; false when the server gave none (or one that is not a number).
bool announcedLength(HINTERNET handle, ULONGLONG& length)
{
    std::wstring text;
    if (!headerOf(handle, WINHTTP_QUERY_CONTENT_LENGTH, text) || text.empty()) return false;
    wchar_t* end = nullptr;
    length = std::wcstoull(text.c_str(), &end, 10);
    return end && *end == L'\0' && text[0] >= L'0' && text[0] <= L'9';
}

void sendOnce(HINTERNET handle, const Request& request, const Clock& clock)
{
    clock.bound(handle);
    void* body = request.body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(request.body.data());
    DWORD size = static_cast<DWORD>(request.body.size());
    check(WinHttpSendRequest(handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, body, size, size, 0));
    clock.bound(handle);
    check(WinHttpReceiveResponse(handle, nullptr));
}

// Reads into a buffer that at least doubles when it grows, so a large body costs linear time.
std::string readBody(HINTERNET handle, const Clock& clock, bool announced, ULONGLONG length)
{
    std::string body;
    if (announced) body.reserve(static_cast<size_t>(std::min(length, kMaxPreallocation)));
    for (;;) {
        clock.bound(handle);
        DWORD available = 0;
        check(WinHttpQueryDataAvailable(handle, &available));
        if (available == 0) return body;
        size_t at = body.size();
        if (body.capacity() - at < available) body.reserve(std::max<size_t>(body.capacity() * 2, at + available));
        body.resize(at + available);
        DWORD got = 0;
        check(WinHttpReadData(handle, &body[at], available, &got));
        body.resize(at + got);
        if (got == 0) return body;
    }
}

bool hasBody(const Request& request, DWORD status)
{
    return request.method != L"HEAD" && status >= 200 && status != HTTP_STATUS_NO_CONTENT &&
           status != HTTP_STATUS_NOT_MODIFIED;
}

Response receive(HINTERNET handle, const Request& request, const Clock& clock, DWORD status)
{
    Response response;
    response.status = status;
    headerOf(handle, WINHTTP_QUERY_CONTENT_TYPE, response.contentType);
    ULONGLONG length = 0;
    bool announced = hasBody(request, status) && announcedLength(handle, length);
    response.body = readBody(handle, clock, announced, length);
    // A connection that closes half way must not pass for the whole page.
    if (announced && response.body.size() != length) fail(ERROR_WINHTTP_CONNECTION_ERROR);
    return response;
}

void checkTexts(const Request& request)
{
    for (const std::wstring* text : {&request.method, &request.userName, &request.password, &request.contentType})
        if (text->find(L'\0') != std::wstring::npos) fail(ERROR_INVALID_PARAMETER);
#ifdef _WIN64 // WinHTTP counts a body in 32 bits
    if (request.body.size() > MAXDWORD) fail(ERROR_INVALID_PARAMETER);
#endif
}

} // namespace

Response Exchange(const Request& request, const Limits& limits)
{
    Clock clock(limits);
    checkTexts(request);
    const Target target = targetOf(request.url);
    raii::UniqueInternet connection(WinHttpConnect(sessionForUsersProxy(request.url), target.host.c_str(), target.port, 0));
    check(connection.get() != nullptr);
    const wchar_t* anyType[] = {L"*/*", nullptr};
    raii::UniqueInternet handle(WinHttpOpenRequest(connection.get(), request.method.c_str(), target.path.c_str(),
                                                   nullptr, WINHTTP_NO_REFERER, anyType,
                                                   target.secure ? WINHTTP_FLAG_SECURE : 0));
    check(handle.get() != nullptr);
    if (!request.contentType.empty())
        check(WinHttpAddRequestHeaders(handle.get(), (L"Content-Type: " + request.contentType).c_str(),
                                       static_cast<DWORD>(-1), WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE));
    for (int round = 0;; ++round) {
        sendOnce(handle.get(), request, clock);
        DWORD status = statusOf(handle.get());
        bool challenged = status == HTTP_STATUS_DENIED || status == HTTP_STATUS_PROXY_AUTH_REQ;
        if (!challenged || round == kMaxAuthRounds || !answerChallenge(handle.get(), status, request))
            return receive(handle.get(), request, clock, status);
    }
}

std::wstring Describe(HRESULT hr)
{
    if (hr == kTimedOut) return L"The operation timed out";
    DWORD code = HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
    if (code >= WINHTTP_ERROR_BASE && code <= WINHTTP_ERROR_LAST) {
        // WinHTTP's codes are WinINet's, and either library may hold their texts.
        for (const wchar_t* library : {L"winhttp.dll", L"wininet.dll"}) {
            raii::UniqueModule texts(LoadLibraryExW(library, nullptr, LOAD_LIBRARY_AS_DATAFILE));
            wchar_t buffer[512] = {};
            if (texts && FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, texts.get(), code,
                                        0, buffer, 511, nullptr))
                return buffer;
        }
    }
    std::wstring text = failure::systemMessage(static_cast<DWORD>(hr));
    return text.empty() ? L"Automation error" : text;
}

} // namespace quillon::HttpTransfer

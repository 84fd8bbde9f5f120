// qfcLibNetwork as a client sees it, under Wine: HTTP requests against small servers this program runs on
// 127.0.0.1, from C++ and from a script; drive connections that cannot succeed here.
#include <winsock2.h>
#include <windows.h>
#include <winnetwk.h>

#include <atomic>
#include <thread>

#include "LoopbackServer.h"
#include "TestSupport.h"
#include "network/qfcLibNetworkA.h"

using namespace testing_support;
using namespace quillon;
namespace net = qfcLibNetworkA;

namespace {

constexpr size_t kBigPage = 50 << 20;

// The pages of the tests' server, by path.
void servePage(LoopbackServer::Exchange& exchange)
{
    const std::string& path = exchange.target;
    if (path == "/text") exchange.respond("200 OK", "text/plain; charset=utf-8", "Hello \xc3\xa9t\xc3\xa9");
    else if (path == "/echo") exchange.respond("200 OK", "text/plain", exchange.method + "|" + exchange.body);
    else if (path == "/missing") exchange.respond("404 Not Found", "text/plain", "Not here");
    else if (path == "/xml")
        exchange.respond("200 OK", "text/xml", "<?xml version=\"1.0\"?><root><item id=\"1\">one</item></root>");
    else if (path == "/badxml") exchange.respond("200 OK", "text/xml", "<root><item></root>");
    else if (path == "/private") {
        if (exchange.header("authorization") == "basic dxnlcjpzzwnyzxq=") // "user:secret", lower-cased with the head
            exchange.respond("200 OK", "text/plain", "welcome");
        else
            exchange.respond("401 Unauthorized", "text/plain", "who are you", "WWW-Authenticate: Basic realm=\"q\"\r\n");
    } else if (path == "/login") exchange.respond("200 OK", "text/plain", "in", "Set-Cookie: session=s42; Path=/\r\n");
    else if (path == "/whoami") exchange.respond("200 OK", "text/plain", "cookie=" + exchange.header("cookie"));
    else if (path == "/half") exchange.send("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 1000\r\n\r\nonly this");
    else if (path == "/garbage") exchange.send("this is no answer\r\n\r\n\x01\x02");
    else if (path == "/big") exchange.respond("200 OK", "text/plain", std::string(kBigPage, 'q'));
    else exchange.respond("400 Bad Request", "text/plain", "?");
}

struct Fetched {
    bool ok = false;
    std::wstring text;
    long errorNumber = 12345;
    std::wstring errorText = L"untouched";
};

Fetched fetch(const std::wstring& url, const net::HttpLimits& limits = {}, const std::wstring& method = L"GET",
              const net::HttpBody& body = {}, bool xml = false, const std::wstring& user = L"")
{
    Fetched out;
    out.ok = net::GetHTTPSource(url, out.text, method, body, user, user.empty() ? L"" : L"secret", xml,
                                out.errorNumber, out.errorText, limits);
    return out;
}

using NetworkClient = ClientTest<_qfcLibNetwork>;

} // namespace

TEST_F(NetworkClient, GetHTTPSourceFetchesPagesOfAnyStatusAndSizeFromManyThreads)
{
    LoopbackServer server(servePage);
    struct Case { const wchar_t *path, *method, *body, *user; bool xml; const wchar_t* expected; };
    const Case cases[] = {
        {L"/text", L"", L"", L"", false, L"Hello \u00e9t\u00e9"},
        {L"/echo", L"   ", L"", L"", false, L"GET|"},                            // a blank method is GET
        {L"/echo", L" post ", L"a=1&b=\u00e9", L"", false, L"POST|a=1&b=\u00e9"}, // the body in UTF-8
        {L"/missing", L"GET", L"", L"", false, L"Not here"},                       // an error status is a page too
        {L"/xml", L"GET", L"", L"", true, L"<item id=\"1\">one</item>"},
        {L"/private", L"", L"", L"user", false, L"welcome"},                       // credentials when given
        {L"/private", L"", L"", L"", false, L"who are you"},
        {L"/login", L"", L"", L"", false, L"in"},
        {L"/whoami", L"", L"", L"", false, L"cookie=session=s42"},                 // the session's cookie goes back
    };
    for (const Case& c : cases) {
        Fetched page = fetch(server.url(c.path), {}, c.method, net::HttpBody{c.body, ""}, c.xml, c.user);
        EXPECT_TRUE(page.ok) << c.path;
        EXPECT_NE(std::wstring::npos, page.text.find(c.expected)) << page.text;
        EXPECT_EQ(0, page.errorNumber) << "success clears the caller's error number and text";
        EXPECT_EQ(L"", page.errorText);
    }
    const net::HttpBody bytes{L"", std::string("a\0b", 3), true};
    EXPECT_EQ(std::wstring(L"PUT|a\0b", 7), fetch(server.url(L"/echo"), {}, L"PUT", bytes).text)
        << "a byte body goes as it is";
    EXPECT_TRUE(fetch(server.url(L"/big")).text == std::wstring(kBigPage, L'q')) << "a large page, whole";

    std::atomic<int> answered{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) {
                const std::wstring body = L"t" + std::to_wstring(t) + L"-" + std::to_wstring(i);
                answered += fetch(server.url(L"/echo"), {}, L"POST", net::HttpBody{body, ""}).text == L"POST|" + body;
            }
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(160, answered.load());
}

TEST_F(NetworkClient, GetHTTPSourceDecodesAsTheResponseSays)
{
    struct Case { const char* type; std::string body; const wchar_t* expected; };
    const Case cases[] = {
        {"text/plain; charset=\"ISO-8859-1\"", "caf\xe9", L"caf\u00e9"},
        {"text/plain; format=flowed; Charset = koi8-r ", "\xc4\xc1", L"\u0434\u0430"},
        {"text/plain; charset=x-unknown", std::string("\xff\xfe" "c\0a\0f\0\xe9\0", 10), L"caf\u00e9"}, // the mark
        {"text/plain", "\xef\xbb\xbf" "caf\xc3\xa9", L"caf\u00e9"},
    };
    LoopbackServer server([&](LoopbackServer::Exchange& exchange) {
        const Case& c = cases[std::stoul(exchange.target.substr(1))];
        exchange.respond("200 OK", c.type, c.body);
    });
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].expected, fetch(server.url(L"/" + std::to_wstring(i))).text) << cases[i].type << " " << i;
}

TEST_F(NetworkClient, GetHTTPSourceReportsFailuresInsteadOfRaising)
{
    LoopbackServer server(servePage);
    const std::wstring notHttp[] = {L"   ", L"file:///C:/windows/win.ini", L"ftp://127.0.0.1/x", L"justaword",
                                    L"http://", std::wstring(L"http://127.0.0.1\0/x", 19), refusedUrl(),
                                    server.url(L"/half"), server.url(L"/garbage")};
    for (const std::wstring& url : notHttp) {
        Fetched failed = fetch(url);
        EXPECT_FALSE(failed.ok) << testing::PrintToString(url) << " gave " << testing::PrintToString(failed.text);
        EXPECT_LT(failed.errorNumber, 0) << "the failure's HRESULT, or -1";
        EXPECT_NE(L"", failed.errorText);
        EXPECT_EQ(L"", failed.text);
    }
    Fetched invalidXml = fetch(server.url(L"/badxml"), {}, L"GET", {}, true);
    EXPECT_FALSE(invalidXml.ok) << "not an empty document passed off as the page";
    EXPECT_NE(L"", invalidXml.errorText);

    raii::UniqueVariant source, missing;
    VARIANT_BOOL ok = VARIANT_TRUE;
    EXPECT_EQ(S_OK, object_->GetHTTPSource(bstr(refusedUrl()).get(), source.get(), nullptr, *missing.get(), nullptr,
                                           nullptr, VARIANT_TRUE, nullptr, nullptr, &ok))
        << "omitted error arguments are not written";
    EXPECT_EQ(VARIANT_FALSE, ok);
    EXPECT_EQ(VT_DISPATCH, V_VT(source.get())) << "no document when XML was asked for";
}

TEST_F(NetworkClient, GetHTTPSourceTimesOutOnSilenceNotOnLength)
{
    LoopbackServer server([](LoopbackServer::Exchange& exchange) {
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: ";
        if (exchange.target == "/silent") {
            exchange.send(head + "100000\r\n\r\nstart");
            exchange.pause(30000);
        } else if (exchange.target == "/steady") { // 1.2 s in all, 200 ms between pieces
            exchange.send(head + "600\r\n\r\n");
            for (int piece = 0; piece < 6 && exchange.pause(200); ++piece) exchange.send(std::string(100, 'a' + piece));
        } else { // a trickle that would never end
            exchange.send(head + "100000\r\n\r\n");
            while (exchange.pause(100) && exchange.send("x")) {
            }
        }
    });
    struct Case { const wchar_t* path; net::HttpLimits limits; size_t received; };  // nothing received: timed out
    const Case cases[] = {
        {L"/silent", {1000, 60000}, 0},
        {L"/steady", {1000, 60000}, 600},
        {L"/trickle", {1000, 1500}, 0},  // the total cap ends it
    };
    for (const Case& c : cases) {
        const ULONGLONG started = GetTickCount64();
        const Fetched page = fetch(server.url(c.path), c.limits);
        EXPECT_LT(GetTickCount64() - started, 5000u) << c.path;
        EXPECT_EQ(c.received != 0, page.ok) << page.errorText;
        EXPECT_EQ(c.received, page.text.size());
        EXPECT_EQ(c.received ? 0 : long(HRESULT_FROM_WIN32(12002)) /* the system's time-out */, page.errorNumber);
    }
}

// The user's connection settings as the system's Internet options write them: a fixed proxy or a script's address.
void setConnectionSettings(DWORD flags, const std::string& proxy, const std::string& scriptUrl)
{
    std::string settings;
    for (DWORD word : {DWORD(0x46), DWORD(1), flags}) settings.append(reinterpret_cast<const char*>(&word), 4);
    for (const std::string& text : {proxy, std::string(), scriptUrl}) {
        const DWORD size = static_cast<DWORD>(text.size());
        settings.append(reinterpret_cast<const char*>(&size), sizeof(size)) += text;
    }
    settings.append(32, '\0');
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER,
                                             L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections",
                                             L"DefaultConnectionSettings", REG_BINARY, settings.data(),
                                             static_cast<DWORD>(settings.size())));
}

TEST_F(NetworkClient, GetHTTPSourceGoesThroughTheUsersProxy)
{
    std::atomic<int> scripts{0};
    LoopbackServer proxy([&scripts](LoopbackServer::Exchange& exchange) {
        if (exchange.target != "/proxy.pac")
            return exchange.respond("200 OK", "text/plain", "proxied " + exchange.method + " " + exchange.target);
        ++scripts;
        exchange.respond("200 OK", "application/x-ns-proxy-autoconfig",
                         "function FindProxyForURL(url, host) { return \"PROXY " + exchange.header("host") + "\"; }");
    });
    ScratchCurrentUser user(L"NetworkProxy");
    const std::string address = "127.0.0.1:" + std::to_string(proxy.port());
    for (DWORD flags : {3 /* direct | fixed proxy */, 5 /* direct | script */}) {
        setConnectionSettings(flags, flags == 3 ? address : "", flags == 5 ? "http://" + address + "/proxy.pac" : "");
        Fetched page = fetch(L"http://quillon.invalid/page?x=1");
        // Wine names the default port in the address it hands the proxy; Windows does not.
        EXPECT_EQ(0u, page.text.find(L"proxied GET http://quillon.invalid")) << page.text << page.errorText;
        EXPECT_EQ(page.text.size() - 9, page.text.rfind(L"/page?x=1")) << page.text;
    }
    EXPECT_EQ(1, scripts.load()) << "the automatic configuration's script was read";
}

// A script's optional arguments, its body and its plain variables for the error's number and text.
TEST_F(NetworkClient, GetHTTPSourceFromAScript)
{
    LoopbackServer server(servePage);
    long exitCode = -1;
    std::string output = captureProcess(L"cscript.exe //nologo \"" + programFolder() + L"HttpClient.vbs\" " +
                                            server.url(L"") + L" " + refusedUrl(), &exitCode);
    EXPECT_EQ(0, exitCode) << output;
    EXPECT_EQ("post=True|POST|x=1|0[]\r\nrefused=False|[]|Long True|True\r\n", output);
}

// A share that cannot exist here: the system's failure, neither success nor the drive rule's -1.
TEST_F(NetworkClient, DriveConnectionsPassTheSystemsCodes)
{
    LONG code = 0;
    VARIANT_BOOL permanent = VARIANT_FALSE;
    EXPECT_EQ(S_OK, object_->MapNetDrive(bstr(L"\\\\quillon-nohost\\noshare").get(), bstr(L"q").get(), bstr(L"").get(),
                                         bstr(L"").get(), 0, &permanent, &code));
    EXPECT_TRUE(code != 0 && code != -1) << code;
    EXPECT_EQ(S_OK, object_->UnMapNetDrive(bstr(L"q").get(), VARIANT_FALSE, VARIANT_FALSE, &code));
    EXPECT_EQ(long(WNetCancelConnection2W(L"Q:", 0, FALSE)), code);
}

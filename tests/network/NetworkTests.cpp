// qfcLibNetwork as a client sees it, under Wine: HTTP requests against small
// servers this program runs on 127.0.0.1, from C++ and from a script; the user
// and machine names; drive connections that cannot succeed here.
#include <winsock2.h>
#include <windows.h>
#include <winnetwk.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "LoopbackServer.h"
#include "ScratchFolder.h"
#include "WindowWatcher.h"
#include "TestSupport.h"
#include "network/qfcLibNetworkA.h"

using namespace testing_support;
using files_testing::ScratchFolder;
namespace net = quillon::qfcLibNetworkA;

namespace {

const long kTimedOut = long(HRESULT_FROM_WIN32(12002));

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
    } else if (path == "/moved") exchange.respond("302 Found", "text/plain", "", "Location: /text\r\n");
    else if (path == "/login") exchange.respond("200 OK", "text/plain", "in", "Set-Cookie: session=s42; Path=/\r\n");
    else if (path == "/whoami") exchange.respond("200 OK", "text/plain", "cookie=" + exchange.header("cookie"));
    else if (path == "/half") exchange.send("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 1000\r\n\r\nonly this");
    else if (path == "/garbage") exchange.send("this is no answer\r\n\r\n\x01\x02");
    else exchange.respond("400 Bad Request", "text/plain", "?");
}

struct Fetched {
    bool ok = false;
    std::wstring text;
    long errorNumber = 12345;
    std::wstring errorText = L"untouched";
};

Fetched fetch(const std::wstring& url, const std::wstring& method = L"GET", const net::HttpBody& body = {},
              bool xml = false, const net::HttpLimits& limits = {}, const std::wstring& user = L"",
              const std::wstring& password = L"")
{
    Fetched out;
    out.ok = net::GetHTTPSource(url, out.text, method, body, user, password, xml, out.errorNumber, out.errorText,
                                limits);
    return out;
}

net::HttpBody textBody(const std::wstring& text)
{
    net::HttpBody body;
    body.text = text;
    return body;
}

class NetworkClient : public ComTest {
protected:
    void SetUp() override
    {
        network_ = create<_qfcLibNetwork>(CLSID_qfcLibNetwork, IID__qfcLibNetwork);
        ASSERT_TRUE(network_);
    }

    // Through the object's vtable, with a text body.
    Fetched fetchVtable(const std::wstring& url, const std::wstring& method = L"GET", const std::wstring& body = L"",
                        bool xml = false)
    {
        Fetched out;
        raii::UniqueVariant source, bodyArg;
        V_VT(bodyArg.get()) = VT_BSTR;
        V_BSTR(bodyArg.get()) = SysAllocString(body.c_str());
        raii::UniqueBstr message = bstr(out.errorText);
        VARIANT_BOOL ok = VARIANT_FALSE;
        BSTR raw = message.release();
        EXPECT_EQ(S_OK, network_->GetHTTPSource(bstr(url).get(), source.get(), bstr(method).get(), *bodyArg.get(),
                                                bstr(L"").get(), bstr(L"").get(), xml ? VARIANT_TRUE : VARIANT_FALSE,
                                                &out.errorNumber, &raw, &ok));
        message.reset(raw);
        out.ok = ok == VARIANT_TRUE;
        out.errorText = raii::toWString(raw);
        out.text = V_VT(source.get()) == VT_BSTR ? raii::toWString(V_BSTR(source.get())) : L"<not text>";
        return out;
    }

    WinsockScope winsock_;
    raii::ComPtr<_qfcLibNetwork> network_;
};

} // namespace

TEST_F(NetworkClient, GetHTTPSourceFetchesPagesWhateverTheirStatus)
{
    LoopbackServer server(servePage);
    struct Case { const wchar_t *path, *method, *body; bool xml; const wchar_t* expected; };
    const Case cases[] = {
        {L"/text", L"", L"", false, L"Hello \u00e9t\u00e9"},
        {L"/echo", L"", L"", false, L"GET|"},
        {L"/echo", L" post ", L"a=1&b=\u00e9", false, L"POST|a=1&b=\u00e9"}, // trimmed, upper-cased, body in UTF-8
        {L"/echo", L"put", L"x", false, L"PUT|x"},
        {L"/missing", L"GET", L"", false, L"Not here"},                       // an error status is a page like any other
        {L"/moved", L"GET", L"", false, L"Hello \u00e9t\u00e9"},              // redirects are followed
        {L"/xml", L"GET", L"", true, L"<item id=\"1\">one</item>"},
    };
    for (const Case& c : cases) {
        Fetched page = fetchVtable(server.url(c.path), c.method, c.body, c.xml);
        EXPECT_TRUE(page.ok) << c.path;
        EXPECT_NE(std::wstring::npos, page.text.find(c.expected)) << page.text;
        EXPECT_EQ(0, page.errorNumber) << "success clears the caller's error number and text";
        EXPECT_EQ(L"", page.errorText);
    }

    net::HttpBody bytes;
    bytes.isBytes = true;
    bytes.bytes.assign("a\0b", 3);
    Fetched echoed = fetch(server.url(L"/echo"), L"PUT", bytes);
    EXPECT_TRUE(echoed.ok) << echoed.errorText;
    EXPECT_EQ(std::wstring(L"PUT|a\0b", 7), echoed.text) << "a byte body goes as it is";
}

TEST_F(NetworkClient, GetHTTPSourceSendsCredentialsWhenAsked)
{
    LoopbackServer server(servePage);
    Fetched in = fetch(server.url(L"/private"), L"GET", {}, false, {}, L"user", L"secret");
    EXPECT_TRUE(in.ok) << in.errorText;
    EXPECT_EQ(L"welcome", in.text);
    Fetched out = fetch(server.url(L"/private"));
    EXPECT_TRUE(out.ok) << "the refusal is the page";
    EXPECT_EQ(L"who are you", out.text);
}

TEST_F(NetworkClient, GetHTTPSourceKeepsSessionCookies)
{
    LoopbackServer server(servePage);
    EXPECT_EQ(L"in", fetchVtable(server.url(L"/login")).text);
    EXPECT_EQ(L"cookie=session=s42", fetchVtable(server.url(L"/whoami")).text) << "the next call sends it back";
}

TEST_F(NetworkClient, GetHTTPSourceDecodesAsTheResponseSays)
{
    struct Case { const char* type; std::string body; const wchar_t* expected; };
    const Case cases[] = {
        {"text/plain; charset=utf-8", "caf\xc3\xa9", L"caf\u00e9"},
        {"text/plain; charset=\"ISO-8859-1\"", "caf\xe9", L"caf\u00e9"},
        {"text/plain", std::string("\xff\xfe" "c\0a\0f\0\xe9\0", 10), L"caf\u00e9"}, // the mark, not the default
        {"text/plain", std::string("\xfe\xff\0c\0a\0f\0\xe9", 10), L"caf\u00e9"},
        {"text/plain", "caf\xc3\xa9", L"caf\u00e9"},                                 // nothing said: UTF-8
        {"text/plain", "\xef\xbb\xbf" "caf\xc3\xa9", L"caf\u00e9"},
        {"text/plain; charset=windows-1251", "\xe4\xe0", L"\u0434\u0430"},
    };
    LoopbackServer server([&](LoopbackServer::Exchange& exchange) {
        const Case& c = cases[std::stoul(exchange.target.substr(1))];
        exchange.respond("200 OK", c.type, c.body);
    });
    for (size_t i = 0; i < std::size(cases); ++i) {
        Fetched page = fetch(server.url(L"/" + std::to_wstring(i)));
        EXPECT_TRUE(page.ok) << cases[i].type;
        EXPECT_EQ(cases[i].expected, page.text) << cases[i].type << " case " << i;
    }
}

TEST_F(NetworkClient, GetHTTPSourceReportsFailuresInsteadOfRaising)
{
    Fetched blank = fetchVtable(L"   ");
    EXPECT_FALSE(blank.ok);
    EXPECT_EQ(-1, blank.errorNumber);
    EXPECT_EQ(L"No valid URL specified", blank.errorText);
    EXPECT_EQ(L"", blank.text);

    LoopbackServer server(servePage);
    const std::wstring notHttp[] = {L"file:///C:/windows/win.ini", L"ftp://127.0.0.1/x", L"justaword",
                                    L"http://", std::wstring(L"http://127.0.0.1\0/x", 19), refusedUrl(),
                                    server.url(L"/half"), server.url(L"/garbage")};
    for (const std::wstring& url : notHttp) {
        Fetched failed = fetch(url);
        EXPECT_FALSE(failed.ok) << testing::PrintToString(url) << " gave " << testing::PrintToString(failed.text);
        EXPECT_LT(failed.errorNumber, 0) << "the failure's HRESULT";
        EXPECT_NE(L"", failed.errorText);
        EXPECT_EQ(L"", failed.text);
    }
    Fetched invalidXml = fetch(server.url(L"/badxml"), L"GET", {}, true);
    EXPECT_FALSE(invalidXml.ok) << "not an empty document passed off as the page";
    EXPECT_NE(L"", invalidXml.errorText);

    raii::UniqueVariant source, missing;
    VARIANT_BOOL ok = VARIANT_TRUE;
    EXPECT_EQ(S_OK, network_->GetHTTPSource(bstr(refusedUrl()).get(), source.get(), nullptr, *missing.get(), nullptr,
                                            nullptr, VARIANT_TRUE, nullptr, nullptr, &ok))
        << "omitted error arguments are not written";
    EXPECT_EQ(VARIANT_FALSE, ok);
    EXPECT_EQ(VT_DISPATCH, V_VT(source.get())) << "no document when XML was asked for";
}

TEST_F(NetworkClient, GetHTTPSourceTimesOutOnSilenceNotOnLength)
{
    HANDLE closed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    raii::UniqueHandle closedOwner(closed);
    LoopbackServer server([closed](LoopbackServer::Exchange& exchange) {
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: ";
        if (exchange.target == "/silent") {
            exchange.send(head + "100000\r\n\r\nstart");
            if (exchange.waitForClose(30000)) SetEvent(closed);
        } else if (exchange.target == "/steady") { // 2.4 s in all, 200 ms between pieces
            exchange.send(head + "1200\r\n\r\n");
            for (int piece = 0; piece < 12 && exchange.pause(200); ++piece) exchange.send(std::string(100, 'a' + piece));
        } else { // a trickle that would never end
            exchange.send(head + "100000\r\n\r\n");
            while (exchange.pause(100) && exchange.send("x")) {
            }
        }
    });
    const net::HttpLimits limits{1000, 60000};

    ULONGLONG started = GetTickCount64();
    Fetched silent = fetch(server.url(L"/silent"), L"GET", {}, false, limits);
    EXPECT_LT(GetTickCount64() - started, 5000u);
    EXPECT_FALSE(silent.ok);
    EXPECT_EQ(kTimedOut, silent.errorNumber);
    EXPECT_EQ(L"The operation timed out", silent.errorText);
    EXPECT_EQ(L"", silent.text);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(closed, 10000)) << "the request's connection is closed";

    Fetched steady = fetch(server.url(L"/steady"), L"GET", {}, false, limits);
    EXPECT_TRUE(steady.ok) << steady.errorText;
    EXPECT_EQ(1200u, steady.text.size());

    started = GetTickCount64();
    Fetched capped = fetch(server.url(L"/trickle"), L"GET", {}, false, {1000, 1500});
    EXPECT_FALSE(capped.ok);
    EXPECT_EQ(L"The operation timed out", capped.errorText);
    EXPECT_LT(GetTickCount64() - started, 5000u) << "the total cap ends a trickle";
}

// The user's connection settings as the system's Internet options write them.
void setConnectionSettings(DWORD flags, const std::string& proxy, const std::string& scriptUrl)
{
    std::string settings(12, '\0');
    const DWORD header[] = {0x46, 1, flags};
    std::memcpy(settings.data(), header, sizeof(header));
    for (const std::string& text : {proxy, std::string(), scriptUrl}) {
        DWORD size = static_cast<DWORD>(text.size());
        settings.append(reinterpret_cast<const char*>(&size), sizeof(size));
        settings += text;
    }
    settings.append(32, '\0');
    raii::UniqueHKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER,
                                             L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections",
                                             0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.get(), L"DefaultConnectionSettings", 0, REG_BINARY,
                                            reinterpret_cast<const BYTE*>(settings.data()),
                                            static_cast<DWORD>(settings.size())));
}

TEST_F(NetworkClient, GetHTTPSourceGoesThroughTheUsersProxy)
{
    std::atomic<int> scripts{0};
    LoopbackServer proxy([&scripts](LoopbackServer::Exchange& exchange) {
        if (exchange.target == "/proxy.pac") {
            ++scripts;
            return exchange.respond("200 OK", "application/x-ns-proxy-autoconfig",
                                    "function FindProxyForURL(url, host) { return \"PROXY " +
                                        exchange.header("host") + "\"; }");
        }
        exchange.respond("200 OK", "text/plain", "proxied " + exchange.method + " " + exchange.target);
    });
    ScratchCurrentUser user(L"NetworkProxy");
    const std::string address = "127.0.0.1:" + std::to_string(proxy.port());
    struct Case { DWORD flags; std::string proxy, script; };
    const Case cases[] = {
        {3 /* direct | fixed proxy */, address, ""},
        {5 /* direct | script */, "", "http://" + address + "/proxy.pac"},
    };
    for (const Case& c : cases) {
        setConnectionSettings(c.flags, c.proxy, c.script);
        Fetched page = fetch(L"http://quillon.invalid/page?x=1");
        EXPECT_TRUE(page.ok) << page.errorText;
        // Wine names the default port in the address it hands the proxy; Windows does not.
        EXPECT_EQ(0u, page.text.find(L"proxied GET http://quillon.invalid")) << page.text;
        EXPECT_EQ(page.text.size() - 9, page.text.rfind(L"/page?x=1")) << page.text;
    }
    EXPECT_EQ(1, scripts.load()) << "the automatic configuration's script was read";
}

TEST_F(NetworkClient, GetHTTPSourceServesManyThreadsAndLargeBodies)
{
    const std::string big(50 * 1024 * 1024, 'q');
    LoopbackServer server([&big](LoopbackServer::Exchange& exchange) {
        if (exchange.target == "/big") exchange.respond("200 OK", "text/plain", big);
        else exchange.respond("200 OK", "text/plain", exchange.method + "|" + exchange.body);
    });
    std::atomic<int> answered{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                const std::wstring body = L"t" + std::to_wstring(t) + L"-" + std::to_wstring(i);
                Fetched page = fetch(server.url(L"/echo"), L"POST", textBody(body));
                answered += page.ok && page.text == L"POST|" + body;
            }
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(400, answered.load());

    Fetched large = fetch(server.url(L"/big"));
    EXPECT_TRUE(large.ok) << large.errorText;
    EXPECT_EQ(big.size(), large.text.size());
    EXPECT_EQ(std::wstring::npos, large.text.find_first_not_of(L'q'));
}

TEST_F(NetworkClient, GetHTTPSourceFromAScript)
{
    LoopbackServer server(servePage);
    long exitCode = -1;
    std::string output = captureProcess(L"cscript.exe //nologo \"" + programFolder() + L"HttpClient.vbs\" " +
                                            server.url(L"") + L" " + refusedUrl(), &exitCode);
    EXPECT_EQ(0, exitCode) << output;
    for (const char* line : {"post=True|POST|x=1", "xml=True|", "blank=False|[]",
                             "refused=False|[]|Long True|True"}) // the error's number and text reach plain variables
        EXPECT_NE(std::string::npos, output.find(line)) << line << " in " << output;
    EXPECT_EQ(std::string::npos, output.find("xml=True|0")) << output;
}

TEST_F(NetworkClient, NamesAreTheSystems)
{
    wchar_t user[512] = {};
    DWORD size = 512;
    ASSERT_TRUE(GetUserNameW(user, &size));
    raii::UniqueBstr text;
    ASSERT_EQ(S_OK, network_->GetUserID(text.put()));
    EXPECT_EQ(std::wstring(user), raii::toWString(text.get()));

    wchar_t machine[MAX_COMPUTERNAME_LENGTH + 1] = {};
    size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameW(machine, &size));
    ASSERT_EQ(S_OK, network_->GetMachineName(text.put()));
    EXPECT_EQ(std::wstring(machine), raii::toWString(text.get())) << "no trailing NUL or blank";
}

TEST_F(NetworkClient, DriveConnectionsPassTheSystemsCodes)
{
    wchar_t local[] = L"Q:", remote[] = L"\\\\quillon-nohost\\noshare";
    auto map = [&](const std::wstring& drive) {
        LONG code = 0;
        VARIANT_BOOL permanent = VARIANT_FALSE;
        EXPECT_EQ(S_OK, network_->MapNetDrive(bstr(remote).get(), bstr(drive).get(), bstr(L"").get(),
                                              bstr(L"").get(), 0, &permanent, &code));
        return code;
    };
    auto unmap = [&](const std::wstring& drive) {
        LONG code = 0;
        EXPECT_EQ(S_OK, network_->UnMapNetDrive(bstr(drive).get(), VARIANT_FALSE, VARIANT_FALSE, &code));
        return code;
    };
    for (const wchar_t* invalid : {L"", L"abc"}) {
        EXPECT_EQ(-1, map(invalid)) << "connects nothing: not a success";
        EXPECT_EQ(-1, unmap(invalid));
    }

    NETRESOURCEW resource = {};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpLocalName = local;
    resource.lpRemoteName = remote;
    long expected = long(WNetAddConnection3W(nullptr, &resource, L"", L"", 0));
    EXPECT_NE(0, expected);
    EXPECT_EQ(expected, map(L"q"));
    EXPECT_EQ(long(WNetCancelConnection2W(L"Q:", 0, FALSE)), unmap(L"q"));
}

TEST_F(NetworkClient, OpenURLHandsTheLinkToTheShellWithItsErrorBox)
{
    ScratchFolder scratch(L"OpenURL");
    const std::wstring orphan = scratch.file(L"link.qnetnoassoc", 10);
    DialogAnswers answers(IDOK);
    VARIANT_BOOL ok = VARIANT_TRUE;
    EXPECT_EQ(S_OK, network_->OpenURL(bstr(orphan).get(), 0, &ok));
    EXPECT_EQ(VARIANT_FALSE, ok);
    ASSERT_EQ(1, answers.answered()) << "the error message is on";
    EXPECT_NE(std::wstring::npos, answers.texts()[0].find(L"Error Number = 31")) << answers.texts()[0];
}

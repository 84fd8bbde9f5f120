// qfcLibNetwork as a client sees it, under Wine: HTTP requests against a
// small server this program runs on 127.0.0.1, from C++ and from a script;
// the user and machine names; drive connections that cannot succeed here.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <wininet.h>
#include <winnetwk.h>
#include <tlhelp32.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>

#include "ScratchFolder.h"
#include "WindowWatcher.h"
#include "TestSupport.h"
#include "network/qfcLibNetworkA.h"

using namespace testing_support;
using files_testing::ScratchFolder;

namespace {

class WinsockScope {
public:
    WinsockScope()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockScope() { WSACleanup(); }
    WinsockScope(const WinsockScope&) = delete;
    WinsockScope& operator=(const WinsockScope&) = delete;
};

// A TCP socket bound to a free port of 127.0.0.1.
SOCKET boundToLoopback(unsigned short& port)
{
    SOCKET bound = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(bound, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    int size = sizeof(address);
    getsockname(bound, reinterpret_cast<sockaddr*>(&address), &size);
    port = ntohs(address.sin_port);
    return bound;
}

// One request per connection; answers by path:
//   /text  a UTF-8 text page      /echo  "<method>|<body>"      /missing  a 404 page with text
//   /xml   an XML document        /hang  a body that never ends (until the client goes away)
class TinyHttpServer {
public:
    TinyHttpServer() : listener_(boundToLoopback(port_))
    {
        listen(listener_, 16);
        acceptor_ = std::thread([this] { acceptLoop(); });
    }
    ~TinyHttpServer()
    {
        stopping_ = true;
        closesocket(listener_);
        acceptor_.join();
        for (std::thread& worker : workers_) worker.join();
    }
    std::wstring url(const std::wstring& path) const
    {
        return L"http://127.0.0.1:" + std::to_wstring(port_) + path;
    }
    bool hangingClientLeft() const { return hangingClientLeft_; }

private:
    void acceptLoop()
    {
        for (;;) {
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            std::lock_guard<std::mutex> lock(mutex_);
            workers_.emplace_back([this, client] { serve(client); closesocket(client); });
        }
    }

    static std::string readRequest(SOCKET client)
    {
        std::string request;
        char buffer[4096];
        size_t headerEnd = std::string::npos, wanted = 0;
        for (;;) {
            if (headerEnd != std::string::npos && request.size() >= headerEnd + 4 + wanted) return request;
            int got = recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0) return request;
            request.append(buffer, got);
            if (headerEnd == std::string::npos && (headerEnd = request.find("\r\n\r\n")) != std::string::npos) {
                std::string head = request.substr(0, headerEnd);
                for (char& c : head) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
                size_t length = head.find("content-length:");
                if (length != std::string::npos) wanted = std::stoul(head.substr(length + 15));
            }
        }
    }

    static void respond(SOCKET client, const std::string& status, const std::string& type, const std::string& body)
    {
        std::string response = "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
                               "\r\nContent-Length: " + std::to_string(body.size()) +
                               "\r\nConnection: close\r\n\r\n" + body;
        send(client, response.data(), static_cast<int>(response.size()), 0);
    }

    void serve(SOCKET client)
    {
        std::string request = readRequest(client);
        size_t space = request.find(' ');
        std::string method = request.substr(0, space);
        std::string path = request.substr(space + 1, request.find(' ', space + 1) - space - 1);
        size_t headerEnd = request.find("\r\n\r\n");
        std::string body = headerEnd == std::string::npos ? "" : request.substr(headerEnd + 4);
        if (path == "/text") respond(client, "200 OK", "text/plain; charset=utf-8", "Hello \xc3\xa9t\xc3\xa9");
        else if (path == "/echo") respond(client, "200 OK", "text/plain", method + "|" + body);
        else if (path == "/missing") respond(client, "404 Not Found", "text/plain", "Not here");
        else if (path == "/xml")
            respond(client, "200 OK", "text/xml", "<?xml version=\"1.0\"?><root><item id=\"1\">one</item></root>");
        else if (path == "/hang") hang(client);
        else respond(client, "400 Bad Request", "text/plain", "?");
    }

    void hang(SOCKET client)
    {
        std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 100000\r\n\r\nstart";
        send(client, head.data(), static_cast<int>(head.size()), 0);
        while (!stopping_) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(client, &readable);
            timeval wait = {0, 100000};
            if (select(0, &readable, nullptr, nullptr, &wait) == 0) continue;
            char byte;
            if (recv(client, &byte, 1, 0) <= 0) {
                hangingClientLeft_ = true;
                return;
            }
        }
    }

    unsigned short port_ = 0;
    SOCKET listener_ = INVALID_SOCKET;
    std::atomic<bool> stopping_{false}, hangingClientLeft_{false};
    std::mutex mutex_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

// An address where nothing listens.
std::wstring refusedUrl()
{
    unsigned short port = 0;
    closesocket(boundToLoopback(port));
    return L"http://127.0.0.1:" + std::to_wstring(port) + L"/text";
}

// The library whose entry runs the requests of the module's calls made here.
std::wstring library() { return programFolder() + L"Quillon.dll"; }

int threadCount()
{
    raii::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    return count;
}

struct Fetched {
    bool ok = false;
    raii::UniqueVariant source;
    long errorNumber = 12345;
    std::wstring errorText = L"untouched";
    std::wstring text() const
    {
        return V_VT(source.get()) == VT_BSTR ? raii::toWString(V_BSTR(source.get())) : L"<not text>";
    }
};

class NetworkClient : public ComTest {
protected:
    void SetUp() override
    {
        network_ = create<_qfcLibNetwork>(CLSID_qfcLibNetwork, IID__qfcLibNetwork);
        ASSERT_TRUE(network_);
    }

    void fetch(Fetched& out, const std::wstring& url, const std::wstring& method = L"GET",
               const std::wstring& body = L"", bool xml = false)
    {
        VARIANT bodyArg;
        V_VT(&bodyArg) = VT_BSTR;
        V_BSTR(&bodyArg) = SysAllocString(body.c_str());
        BSTR message = SysAllocString(out.errorText.c_str());
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(S_OK, network_->GetHTTPSource(bstr(url).get(), out.source.get(), bstr(method).get(), bodyArg,
                                                bstr(L"").get(), bstr(L"").get(), xml ? VARIANT_TRUE : VARIANT_FALSE,
                                                &out.errorNumber, &message, &ok));
        VariantClear(&bodyArg);
        raii::UniqueBstr owned(message);
        out.ok = ok == VARIANT_TRUE;
        out.errorText = raii::toWString(message);
    }

    WinsockScope winsock_;
    raii::ComPtr<_qfcLibNetwork> network_;
};

} // namespace

TEST_F(NetworkClient, GetHTTPSourceFetchesPagesWhateverTheirStatus)
{
    TinyHttpServer server;
    struct Case { const wchar_t *path, *method, *body; bool xml; const wchar_t* expected; };
    const Case cases[] = {
        {L"/text", L"", L"", false, L"Hello \u00e9t\u00e9"},
        {L"/echo", L" post ", L"a=1&b=2", false, L"POST|a=1&b=2"}, // trimmed, upper-cased, body sent
        {L"/missing", L"GET", L"", false, L"Not here"},            // an error status is a page like any other
        {L"/xml", L"GET", L"", true, L"<item id=\"1\">one</item>"},
    };
    for (const Case& c : cases) {
        Fetched page;
        fetch(page, server.url(c.path), c.method, c.body, c.xml);
        EXPECT_TRUE(page.ok) << c.path;
        EXPECT_NE(std::wstring::npos, page.text().find(c.expected)) << page.text();
        EXPECT_EQ(0, page.errorNumber) << "success clears the caller's error number and text";
        EXPECT_EQ(L"", page.errorText);
    }

    raii::UniqueVariant bytes, source;
    V_VT(bytes.get()) = VT_ARRAY | VT_UI1;
    V_ARRAY(bytes.get()) = SafeArrayCreateVector(VT_UI1, 1, 3);
    std::memcpy(V_ARRAY(bytes.get())->pvData, "a\0b", 3);
    long number = 0;
    std::wstring message;
    EXPECT_TRUE(quillon::qfcLibNetworkA::GetHTTPSource(server.url(L"/echo"), *source.get(), L"POST", *bytes.get(), L"",
                                                       L"", false, number, message, {60000, library()}));
    EXPECT_EQ(std::wstring(L"POST|a\0b", 8), raii::toWString(V_BSTR(source.get()))) << "a byte body goes as it is";

    // The request's process is started on the library's own file, wherever it was installed.
    ScratchFolder folder(L"Network");
    const std::wstring copy = folder.folder(L"Games, Tools") + L"\\Quillon.dll";
    ASSERT_TRUE(CopyFileW(library().c_str(), copy.c_str(), FALSE));
    raii::UniqueVariant text, none;
    EXPECT_TRUE(quillon::qfcLibNetworkA::GetHTTPSource(server.url(L"/text"), *text.get(), L"GET", *none.get(), L"",
                                                       L"", false, number, message, {60000, copy}))
        << message;
}

TEST_F(NetworkClient, GetHTTPSourceReportsFailuresInsteadOfRaising)
{
    Fetched blank, refused;
    fetch(blank, L"   ");
    EXPECT_FALSE(blank.ok);
    EXPECT_EQ(-1, blank.errorNumber);
    EXPECT_EQ(L"No valid URL specified", blank.errorText);
    EXPECT_EQ(L"", blank.text());

    fetch(refused, refusedUrl(), L"GET", L"", true);
    EXPECT_FALSE(refused.ok);
    EXPECT_LT(refused.errorNumber, 0) << "the failure's HRESULT";
    EXPECT_NE(L"", refused.errorText);
    EXPECT_EQ(VT_DISPATCH, V_VT(refused.source.get())) << "no document when XML was asked for";

    VARIANT_BOOL ok = VARIANT_TRUE;
    raii::UniqueVariant source, missing;
    EXPECT_EQ(S_OK, network_->GetHTTPSource(bstr(L"").get(), source.get(), nullptr, *missing.get(), nullptr, nullptr,
                                            VARIANT_FALSE, nullptr, nullptr, &ok))
        << "omitted error arguments are not written";
    EXPECT_EQ(VARIANT_FALSE, ok);
}

TEST_F(NetworkClient, GetHTTPSourceGivesUpOnAResponseThatNeverEnds)
{
    TinyHttpServer server;
    raii::UniqueVariant source, body;
    long number = 0;
    std::wstring message;
    const int threads = threadCount();
    ULONGLONG started = GetTickCount64();
    EXPECT_FALSE(quillon::qfcLibNetworkA::GetHTTPSource(server.url(L"/hang"), *source.get(), L"GET", *body.get(),
                                                        L"", L"", false, number, message,
                                                        {1500, library()}));
    EXPECT_LT(GetTickCount64() - started, 10000u);
    EXPECT_EQ(long(HRESULT_FROM_WIN32(ERROR_INTERNET_TIMEOUT)), number);
    EXPECT_EQ(L"The operation timed out", message);
    EXPECT_EQ(L"", raii::toWString(V_BSTR(source.get())));
    for (int wait = 0; wait < 50 && !(server.hangingClientLeft() && threadCount() <= threads); ++wait) Sleep(100);
    EXPECT_TRUE(server.hangingClientLeft()) << "the request's connection is closed";
    EXPECT_EQ(threads, threadCount()) << "no thread of the request is left";
}

TEST_F(NetworkClient, GetHTTPSourceFromAScript)
{
    TinyHttpServer server;
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

#include "LoopbackServer.h"

#include <cctype>

namespace testing_support {
namespace {

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

std::wstring loopbackUrl(unsigned short port, const std::wstring& path)
{
    return L"http://127.0.0.1:" + std::to_wstring(port) + path;
}

} // namespace

WinsockScope::WinsockScope()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
}

WinsockScope::~WinsockScope() { WSACleanup(); }

bool LoopbackServer::Exchange::readRequest()
{
    std::string request;
    char buffer[16384];
    size_t headEnd = std::string::npos, wanted = 0;
    while (headEnd == std::string::npos || request.size() < headEnd + 4 + wanted) {
        const int got = recv(socket_, buffer, sizeof(buffer), 0);
        if (got <= 0) return false;
        request.append(buffer, got);
        if (headEnd == std::string::npos && (headEnd = request.find("\r\n\r\n")) != std::string::npos) {
            head = request.substr(0, headEnd);
            for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const std::string length = header("content-length");
            wanted = length.empty() ? 0 : std::stoul(length);
        }
    }
    const size_t space = request.find(' ');
    method = request.substr(0, space);
    target = request.substr(space + 1, request.find(' ', space + 1) - space - 1);
    body = request.substr(headEnd + 4);
    return true;
}

std::string LoopbackServer::Exchange::header(const std::string& name) const
{
    size_t at = head.find("\r\n" + name + ":");
    if (at == std::string::npos) return std::string();
    at = head.find_first_not_of(' ', at + name.size() + 3);
    return at == std::string::npos ? std::string() : head.substr(at, head.find("\r\n", at) - at);
}

bool LoopbackServer::Exchange::send(const std::string& bytes)
{
    for (size_t at = 0; at < bytes.size();) {
        const int sent = ::send(socket_, bytes.data() + at, int(std::min<size_t>(bytes.size() - at, 1 << 20)), 0);
        if (sent <= 0) return false;
        at += sent;
    }
    return true;
}

void LoopbackServer::Exchange::respond(const std::string& status, const std::string& type, const std::string& content,
                                       const std::string& extra)
{
    send("HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\nContent-Length: " +
         std::to_string(content.size()) + "\r\nConnection: close\r\n" + extra + "\r\n" + content);
}

bool LoopbackServer::Exchange::pause(DWORD timeoutMs)
{
    return WaitForSingleObject(stopped_, timeoutMs) == WAIT_TIMEOUT;
}

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)), listener_(boundToLoopback(port_))
{
    listen(listener_, SOMAXCONN);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

LoopbackServer::~LoopbackServer()
{
    SetEvent(stopped_.get());
    closesocket(listener_);
    acceptor_.join();
    for (std::thread& worker : workers_) worker.join();
}

std::wstring LoopbackServer::url(const std::wstring& path) const { return loopbackUrl(port_, path); }

void LoopbackServer::acceptLoop()
{
    for (;;) {
        const SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) return;
        std::lock_guard<std::mutex> lock(mutex_);
        workers_.emplace_back([this, client] {
            Exchange exchange(client, stopped_.get());
            if (exchange.readRequest()) handler_(exchange);
            shutdown(client, SD_SEND);
            closesocket(client);
        });
    }
}

std::wstring refusedUrl()
{
    WinsockScope winsock;
    unsigned short port = 0;
    closesocket(boundToLoopback(port));
    return loopbackUrl(port, L"/text");
}

} // namespace testing_support

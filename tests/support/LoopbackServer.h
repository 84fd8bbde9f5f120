// A small HTTP server on 127.0.0.1 for the network tests and the benchmark (so no test framework): each connection
// gets a thread of its own and is handed, with its request, to the handler, which answers as it likes.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Raii.h"

namespace testing_support {

// Winsock for the life of the object.
class WinsockScope {
public:
    WinsockScope();
    ~WinsockScope();
    WinsockScope(const WinsockScope&) = delete;
    WinsockScope& operator=(const WinsockScope&) = delete;
};

class LoopbackServer {
public:
    // One connection and the request read from it.
    class Exchange {
    public:
        std::string method, target, head, body; // head: the request line and headers, lower-cased

        // A whole response with Content-Length and "Connection: close"; extra: header lines ending in "\r\n".
        void respond(const std::string& status, const std::string& type, const std::string& content,
                     const std::string& extra = "");
        bool send(const std::string& bytes);
        // The value of a request header (name lower-case), "" when missing.
        std::string header(const std::string& name) const;
        // Waits timeoutMs unless the server stops first; false when it stopped.
        bool pause(DWORD timeoutMs);

    private:
        friend class LoopbackServer;
        Exchange(SOCKET socket, HANDLE stopped) : socket_(socket), stopped_(stopped) {}
        bool readRequest();
        SOCKET socket_;
        HANDLE stopped_;
    };
    using Handler = std::function<void(Exchange&)>;

    explicit LoopbackServer(Handler handler);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    unsigned short port() const { return port_; }
    std::wstring url(const std::wstring& path) const;

private:
    void acceptLoop();

    WinsockScope winsock_;
    Handler handler_;
    unsigned short port_ = 0;
    SOCKET listener_ = INVALID_SOCKET;
    raii::UniqueHandle stopped_{CreateEventW(nullptr, TRUE, FALSE, nullptr)}; // set once; waits end early on it
    std::mutex mutex_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

// An http address on 127.0.0.1 where nothing listens.
std::wstring refusedUrl();

} // namespace testing_support

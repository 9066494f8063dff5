#pragma once
// A small HTTP server on the loopback interface that the tests put in place of the web
// proxy of the system's Internet settings: the program then asks it for its real URL, and
// the test chooses what comes back.

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// What the server does with a request once it has read its head.
struct HttpReply {
    enum class Manner {
        Answer,     // status, headers and body at once
        Trickle,    // status and headers, then the body a byte at a time, pieceDelayMs apart
        Silent,     // nothing at all, the connection held open until the client gives up
        HangUp,     // closes the connection without a word
    };
    int status = 200;
    std::string body;
    Manner manner = Manner::Answer;
    // Waited before anything is sent.
    DWORD delayMs = 0;
    DWORD pieceDelayMs = 50;
    // The body in chunks instead of with a Content-Length.
    bool chunked = false;
    // Further header lines, each ended by CR LF.
    std::string headers;

    static HttpReply withBody(const std::string& body, int status = 200)
    {
        HttpReply reply;
        reply.body = body;
        reply.status = status;
        return reply;
    }
};

class LoopbackHttpServer {
public:
    // Listens on 127.0.0.1 at a port of the system's choosing; answers with an empty 200
    // until told otherwise.
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    bool listening() const { return port_ != 0; }
    unsigned short port() const { return port_; }
    // "127.0.0.1:port"
    std::string address() const;

    // Applies to the requests that arrive from now on.
    void setReply(const HttpReply& reply);
    // The request lines received so far ("GET http://host/file HTTP/1.1"), oldest first.
    std::vector<std::string> requestLines() const;
    // The whole head of the last request, its lines ended by CR LF.
    std::string lastRequestHead() const;
    // Waits until at least count requests have arrived.
    bool waitForRequests(std::size_t count, DWORD timeoutMs) const;

    // A loopback port where nothing listens (taken from the system and let go at once).
    static unsigned short closedPort();

private:
    void serve();
    void answer(SOCKET client, const HttpReply& reply);
    bool stopping() const { return stop_.load(); }

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    HttpReply reply_;
    std::vector<std::string> requestLines_;
    std::string lastHead_;
    std::thread thread_;
};

// The URL a client of a proxy asks for in a "GET <url> HTTP/1.1" request line, without the
// default port ":80" that some clients write after the host.
std::string proxiedTarget(const std::string& requestLine);

// Points the Internet settings of the current user (the test prefix's) at a web proxy
// and restores the previous settings when it goes.
class ProxySetting {
public:
    explicit ProxySetting(const std::string& proxyAddress);
    ~ProxySetting();
    ProxySetting(const ProxySetting&) = delete;
    ProxySetting& operator=(const ProxySetting&) = delete;

    bool applied() const { return applied_; }

private:
    struct Saved {
        const char* name;
        bool existed = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    std::vector<Saved> saved_;
    bool applied_ = false;
};

} // namespace testsupport

// The loopback stand-in for a web proxy and the proxy settings that lead to it.

#include "tests/support/LoopbackHttp.h"

#include <ws2tcpip.h>

#include <cstdio>

namespace testsupport {

namespace {

const char internetSettingsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Winsock stays started for the life of the test program.
bool startWinsock()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

SOCKET listenOnLoopback(unsigned short& port)
{
    port = 0;
    if (!startWinsock())
        return INVALID_SOCKET;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return s;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 16) != 0
        || getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return s;
}

// True when the socket has something to read (or was closed) within the time.
bool readable(SOCKET s, DWORD timeoutMs)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait = {static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &wait) > 0;
}

bool sendAll(SOCKET s, const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

const char* reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

std::string hex(std::size_t n)
{
    char text[32];
    std::snprintf(text, sizeof text, "%zx", n);
    return text;
}

} // namespace

LoopbackHttpServer::LoopbackHttpServer()
{
    listener_ = listenOnLoopback(port_);
    if (listener_ != INVALID_SOCKET)
        thread_ = std::thread([this] { serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (listener_ != INVALID_SOCKET)
        closesocket(listener_);
}

std::string LoopbackHttpServer::address() const
{
    return "127.0.0.1:" + std::to_string(port_);
}

void LoopbackHttpServer::setReply(const HttpReply& reply)
{
    std::lock_guard<std::mutex> lock(mutex_);
    reply_ = reply;
}

std::vector<std::string> LoopbackHttpServer::requestLines() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return requestLines_;
}

std::string LoopbackHttpServer::lastRequestHead() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return lastHead_;
}

bool LoopbackHttpServer::waitForRequests(std::size_t count, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    while (requestLines().size() < count) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

unsigned short LoopbackHttpServer::closedPort()
{
    unsigned short port = 0;
    SOCKET s = listenOnLoopback(port);
    if (s != INVALID_SOCKET)
        closesocket(s);
    return port;
}

// One connection at a time: the program under test asks once per check.
void LoopbackHttpServer::serve()
{
    while (!stopping()) {
        if (!readable(listener_, 50))
            continue;
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        std::string head;
        char buffer[4096];
        while (!stopping() && head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
            if (!readable(client, 50))
                continue;
            const int n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            head.append(buffer, static_cast<std::size_t>(n));
        }
        const std::size_t end = head.find("\r\n\r\n");
        if (end != std::string::npos) {
            HttpReply reply;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                lastHead_ = head.substr(0, end + 2);
                requestLines_.push_back(head.substr(0, head.find("\r\n")));
                reply = reply_;
            }
            answer(client, reply);
        }
        closesocket(client);
    }
}

void LoopbackHttpServer::answer(SOCKET client, const HttpReply& reply)
{
    // Waits that end early when the test ends or the client gives up.
    auto pause = [&](DWORD ms) {
        const DWORD start = GetTickCount();
        while (!stopping() && GetTickCount() - start < ms) {
            if (readable(client, 20)) {
                char probe;
                if (recv(client, &probe, 1, MSG_PEEK) <= 0)
                    return false;
            }
        }
        return !stopping();
    };
    if (!pause(reply.delayMs))
        return;
    if (reply.manner == HttpReply::Manner::HangUp)
        return;
    if (reply.manner == HttpReply::Manner::Silent) {
        while (pause(1000)) {
        }
        return;
    }

    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + reasonPhrase(reply.status) + "\r\n"
        + "Content-Type: text/plain\r\nConnection: close\r\n" + reply.headers;
    head += reply.chunked ? "Transfer-Encoding: chunked\r\n"
                          : "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    head += "\r\n";
    if (reply.manner == HttpReply::Manner::Answer) {
        std::string all = head;
        if (reply.chunked) {
            if (!reply.body.empty())
                all += hex(reply.body.size()) + "\r\n" + reply.body + "\r\n";
            all += "0\r\n\r\n";
        } else {
            all += reply.body;
        }
        sendAll(client, all);
    } else {
        if (!sendAll(client, head))
            return;
        for (char c : reply.body) {
            if (!pause(reply.pieceDelayMs))
                return;
            const std::string piece = reply.chunked ? "1\r\n" + std::string(1, c) + "\r\n" : std::string(1, c);
            if (!sendAll(client, piece))
                return;
        }
        if (reply.chunked)
            sendAll(client, "0\r\n\r\n");
    }
    // Lets the client read to the end before the connection goes.
    shutdown(client, SD_SEND);
    pause(2000);
}

std::string proxiedTarget(const std::string& requestLine)
{
    const std::size_t from = requestLine.find(' ');
    const std::size_t to = requestLine.rfind(' ');
    if (from == std::string::npos || to <= from)
        return std::string();
    std::string url = requestLine.substr(from + 1, to - from - 1);
    const std::size_t hostStart = url.find("://");
    if (hostStart != std::string::npos) {
        const std::size_t pathStart = url.find('/', hostStart + 3);
        const std::size_t hostEnd = pathStart == std::string::npos ? url.size() : pathStart;
        if (hostEnd >= hostStart + 3 + 3 && url.compare(hostEnd - 3, 3, ":80") == 0)
            url.erase(hostEnd - 3, 3);
    }
    return url;
}

ProxySetting::ProxySetting(const std::string& proxyAddress)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, internetSettingsKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    for (const char* name : {"ProxyEnable", "ProxyServer", "ProxyOverride"}) {
        Saved saved;
        saved.name = name;
        DWORD size = 0;
        if (RegQueryValueExA(key, name, nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
            saved.data.resize(size);
            saved.existed = RegQueryValueExA(key, name, nullptr, &saved.type, saved.data.data(), &size)
                == ERROR_SUCCESS;
        }
        saved_.push_back(saved);
    }
    const DWORD enable = 1;
    applied_ = RegSetValueExA(key, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable),
                              sizeof enable) == ERROR_SUCCESS
        && RegSetValueExA(key, "ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(proxyAddress.c_str()),
                          static_cast<DWORD>(proxyAddress.size() + 1)) == ERROR_SUCCESS;
    // Nothing bypasses the proxy: every host goes to the stand-in.
    RegDeleteValueA(key, "ProxyOverride");
    RegCloseKey(key);
}

ProxySetting::~ProxySetting()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, internetSettingsKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    for (const Saved& saved : saved_) {
        if (saved.existed)
            RegSetValueExA(key, saved.name, 0, saved.type, saved.data.data(), static_cast<DWORD>(saved.data.size()));
        else
            RegDeleteValueA(key, saved.name);
    }
    RegCloseKey(key);
}

} // namespace testsupport

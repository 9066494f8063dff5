// The published version, fetched with WinINet.

#include "update/VersionFetch_win.h"

#include "base/Identity.h"
#include "update/MakerSite.h"
#include "update/UpdateCheck.h"
#include "win/Handles.h"

#include <wininet.h>

#include <algorithm>
#include <initializer_list>

namespace {

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle none() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { InternetCloseHandle(h); }
};
using UniqueInternetHandle = UniqueResource<InternetHandleTraits>;

const DWORD_PTR requestContext = 1;

void setTimeouts(HINTERNET handle, DWORD timeoutMs, std::initializer_list<DWORD> options)
{
    for (DWORD option : options)
        InternetSetOptionA(handle, option, &timeoutMs, sizeof timeoutMs);
}

// Only a successful answer carries the version file: an error status comes with the
// server's own page, which may be short enough to pass for a version.
bool answeredWithTheFile(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return false;
    return status >= 200 && status < 300;
}

} // namespace

std::string fetchPublishedVersion(const std::string& program, DWORD timeoutMs)
{
    const std::string agent = std::string(programName) + "/" + versionText;
    UniqueInternetHandle internet(InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet)
        return std::string();

    const std::string url = versionFileUrl(program);
    char host[INTERNET_MAX_HOST_NAME_LENGTH] = {0};
    char path[INTERNET_MAX_PATH_LENGTH] = {0};
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof path;
    if (!InternetCrackUrlA(url.c_str(), 0, 0, &parts))
        return std::string();

    // The request is opened step by step rather than with InternetOpenUrl so that its own
    // time-outs can be set: the Internet layer does not always pass those of the session
    // on, and would then wait for a silent server without end, the window with it.
    setTimeouts(internet.get(), timeoutMs, {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                                            INTERNET_OPTION_RECEIVE_TIMEOUT});
    UniqueInternetHandle connection(InternetConnectA(internet.get(), host, parts.nPort, nullptr, nullptr,
                                                     INTERNET_SERVICE_HTTP, 0, requestContext));
    if (!connection)
        return std::string();
    // Always from the server, never from the Internet cache or a proxy's, and not kept:
    // a stale copy would answer "already the newest" while a newer version is out.
    const DWORD flags = INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE
        | INTERNET_FLAG_PRAGMA_NOCACHE;
    UniqueInternetHandle request(HttpOpenRequestA(connection.get(), "GET", path, nullptr, nullptr, nullptr, flags,
                                                  requestContext));
    if (!request)
        return std::string();
    setTimeouts(request.get(), timeoutMs, {INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT});
    if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0) || !answeredWithTheFile(request.get()))
        return std::string();

    // The whole file is a few characters, which normally arrive at once; a server that
    // sends them in pieces is read on until the end, so that "2.2" of "2.21" never
    // passes for the version. Past the longest version nothing more needs reading.
    std::string body;
    char buffer[notAVersionLength];
    while (body.size() < notAVersionLength) {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request.get(), &available, 0, 0))
            return std::string();
        if (available == 0)
            break;
        const DWORD wanted = std::min<DWORD>(available, static_cast<DWORD>(notAVersionLength - body.size()));
        DWORD read = 0;
        if (!InternetReadFile(request.get(), buffer, wanted, &read))
            return std::string();
        if (read == 0)
            break;
        body.append(buffer, read);
    }
    return publishedVersionFrom(body);
}

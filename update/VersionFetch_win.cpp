// The published version, fetched with WinINet.

#include "update/VersionFetch_win.h"

#include "app/Identity.h"
#include "update/MakerSite.h"
#include "update/UpdateCheck.h"
#include "win/Handles.h"

#include <wininet.h>

#include <algorithm>

namespace {

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle none() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { InternetCloseHandle(h); }
};
using UniqueInternetHandle = UniqueResource<InternetHandleTraits>;

// Only a successful answer carries the version file: an error status comes with the
// server's own page, which may be short enough to pass for a version.
bool answeredWithTheFile(HINTERNET file)
{
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(file, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
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
    // Left to itself the Internet layer may wait for a silent server without end, and the
    // window with it.
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionA(internet.get(), option, &timeoutMs, sizeof timeoutMs);

    const std::string url = versionFileUrl(program);
    UniqueInternetHandle file(InternetOpenUrlA(internet.get(), url.c_str(), nullptr, 0, INTERNET_FLAG_TRANSFER_ASCII, 1));
    if (!file || !answeredWithTheFile(file.get()))
        return std::string();

    // The whole file is a few characters, which normally arrive at once; a server that
    // sends them in pieces is read on until the end, so that "2.2" of "2.21" never
    // passes for the version. Past the longest version nothing more needs reading.
    std::string body;
    char buffer[notAVersionLength];
    while (body.size() < notAVersionLength) {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(file.get(), &available, 0, 0))
            return std::string();
        if (available == 0)
            break;
        const DWORD wanted = std::min<DWORD>(available, static_cast<DWORD>(notAVersionLength - body.size()));
        DWORD read = 0;
        if (!InternetReadFile(file.get(), buffer, wanted, &read))
            return std::string();
        if (read == 0)
            break;
        body.append(buffer, read);
    }
    return publishedVersionFrom(body);
}

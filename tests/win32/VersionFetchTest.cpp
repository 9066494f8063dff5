// The published version fetched over WinINet from a loopback server that stands in for the
// web proxy of the test prefix's Internet settings.

#include "base/Identity.h"
#include "tests/support/LoopbackHttp.h"
#include "update/MakerSite.h"
#include "update/VersionFetch_win.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using testsupport::HttpReply;
using testsupport::LoopbackHttpServer;
using testsupport::ProxySetting;

// Generous against a loaded machine; the silent server's case sets its own.
const DWORD answerTimeoutMs = 20000;

HttpReply manner(HttpReply reply, HttpReply::Manner how)
{
    reply.manner = how;
    return reply;
}

HttpReply delayed(HttpReply reply, DWORD ms)
{
    reply.delayMs = ms;
    return reply;
}

HttpReply chunked(HttpReply reply)
{
    reply.chunked = true;
    return reply;
}

const std::string errorPage =
    "<!DOCTYPE html>\r\n<html><head><title>404 Not Found</title></head>"
    "<body><h1>Not Found</h1><p>The requested URL was not found on this server.</p></body></html>\r\n";

struct FetchRow {
    const char* what;
    HttpReply reply;
    std::string published;
};

void PrintTo(const FetchRow& row, std::ostream* out)
{
    *out << row.what;
}

class FetchPublishedVersion : public ::testing::TestWithParam<FetchRow> {
protected:
    LoopbackHttpServer server;
};

TEST_P(FetchPublishedVersion, AsksForTheVersionFileAndJudgesTheAnswer)
{
    ASSERT_TRUE(server.listening());
    ProxySetting proxy(server.address());
    ASSERT_TRUE(proxy.applied());
    server.setReply(GetParam().reply);

    EXPECT_EQ(fetchPublishedVersion(programName, answerTimeoutMs), GetParam().published) << GetParam().what;

    // The program's own URL, unchanged, as a client of a proxy names it.
    ASSERT_TRUE(server.waitForRequests(1, 5000));
    EXPECT_EQ(testsupport::proxiedTarget(server.requestLines().front()),
              "http://" + std::string(makerWebHost()) + "/Tessel2.ver");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, FetchPublishedVersion,
    ::testing::Values(
        FetchRow{"the running version", HttpReply::withBody("2.21"), "2.21"},
        FetchRow{"a newer version", HttpReply::withBody("2.3"), "2.3"},
        FetchRow{"a line end after the version", HttpReply::withBody("2.21\r\n"), ""},
        FetchRow{"an empty file", HttpReply::withBody(""), ""},
        FetchRow{"an error page", HttpReply::withBody(errorPage, 404), ""},
        FetchRow{"a short body with an error status", HttpReply::withBody("2.3", 404), ""},
        FetchRow{"a megabyte of answer", HttpReply::withBody(std::string(1 << 20, 'v')), ""},
        FetchRow{"the version in chunks", chunked(HttpReply::withBody("2.3")), "2.3"},
        FetchRow{"the version a byte at a time",
                 manner(HttpReply::withBody("2.21"), HttpReply::Manner::Trickle), "2.21"},
        FetchRow{"a line end a byte at a time",
                 manner(HttpReply::withBody("2.21\r\n"), HttpReply::Manner::Trickle), ""},
        FetchRow{"an answer after a pause", delayed(HttpReply::withBody("2.3"), 1500), "2.3"},
        FetchRow{"the connection closed without an answer",
                 manner(HttpReply::withBody("2.3"), HttpReply::Manner::HangUp), ""}));

// An answer that a cache may keep for a day must not answer the next check: a version
// published meanwhile would be missed, and "already the newest" said from a stale copy.
TEST(FetchPublishedVersionCache, EveryCheckAsksTheServer)
{
    LoopbackHttpServer server;
    ASSERT_TRUE(server.listening());
    ProxySetting proxy(server.address());
    ASSERT_TRUE(proxy.applied());
    HttpReply cacheable = HttpReply::withBody("2.21");
    cacheable.headers = "Cache-Control: public, max-age=86400\r\nLast-Modified: Mon, 07 Dec 2026 10:00:00 GMT\r\n";
    server.setReply(cacheable);
    EXPECT_EQ(fetchPublishedVersion(programName, answerTimeoutMs), "2.21");
    cacheable.body = "2.3";
    server.setReply(cacheable);
    EXPECT_EQ(fetchPublishedVersion(programName, answerTimeoutMs), "2.3");
    EXPECT_TRUE(server.waitForRequests(2, 5000));
    // Caches on the way are told so too.
    EXPECT_NE(server.lastRequestHead().find("no-cache"), std::string::npos) << server.lastRequestHead();
}

TEST(FetchPublishedVersionFailures, ServerDownGivesNoVersion)
{
    const unsigned short port = LoopbackHttpServer::closedPort();
    ASSERT_NE(port, 0);
    ProxySetting proxy("127.0.0.1:" + std::to_string(port));
    ASSERT_TRUE(proxy.applied());
    EXPECT_EQ(fetchPublishedVersion(programName, answerTimeoutMs), "");
}

TEST(FetchPublishedVersionFailures, SilentServerGivesNoVersionAfterTheTimeOut)
{
    LoopbackHttpServer server;
    ASSERT_TRUE(server.listening());
    ProxySetting proxy(server.address());
    ASSERT_TRUE(proxy.applied());
    server.setReply(manner(HttpReply::withBody("2.3"), HttpReply::Manner::Silent));

    const DWORD start = GetTickCount();
    EXPECT_EQ(fetchPublishedVersion(programName, 1500), "");
    const DWORD took = GetTickCount() - start;
    EXPECT_TRUE(server.waitForRequests(1, 5000));
    // Not before the time-out, and not much later (a loaded machine adds a little).
    EXPECT_GE(took, 1400u);
    EXPECT_LT(took, 15000u);
}

} // namespace

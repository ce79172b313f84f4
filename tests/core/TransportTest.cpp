#include "core/LoopbackServer.h"
#include "support/Elapsed.h"

#include "service/HttpTransport.h"
#include "service/XmlDocument.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kelvra {
namespace {

using test::HttpReply;
using test::LoopbackReply;
using test::LoopbackServer;
using test::MillisecondsSince;

bool HasHeader(const std::string& head, const std::string& line) {
    return head.find("\r\n" + line + "\r\n") != std::string::npos;
}

struct OutcomeCase {
    const char* name;
    LoopbackReply reply;
    std::size_t maxBodyBytes;
    HttpOutcome outcome;
    long status;
    bool endDeclared = false; // checked for completed transfers only
    friend void PrintTo(const OutcomeCase& c, std::ostream* os) { *os << c.name; }
};

class TransportOutcomes : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(TransportOutcomes, MapsTheReplyToItsOutcome) {
    const OutcomeCase& c = GetParam();
    LoopbackServer server([&](const std::string&) { return c.reply; });
    auto transport = MakeCurlTransport();
    HttpRequestOptions options;
    options.maxBodyBytes = c.maxBodyBytes;
    options.totalTimeoutMs = 5000;
    const HttpResponse response = transport->Get(server.Url("/x"), options);
    EXPECT_EQ(response.outcome, c.outcome)
        << HttpOutcomeName(response.outcome) << ": " << response.error;
    EXPECT_EQ(response.status, c.status);
    if (c.outcome == HttpOutcome::Ok) {
        EXPECT_EQ(response.endDeclared, c.endDeclared);
    } else {
        EXPECT_FALSE(response.error.empty());
        EXPECT_TRUE(response.body.empty()) << "a failed transfer must not hand out a partial body";
    }
}

const std::string kKilobyte(1024, 'k');

INSTANTIATE_TEST_SUITE_P(
    Cases, TransportOutcomes,
    ::testing::Values(
        OutcomeCase{"ok", {HttpReply(200, "hello")}, 1000, HttpOutcome::Ok, 200, true},
        OutcomeCase{"whole_body_without_a_declared_end",
                    {"HTTP/1.1 200 X\r\nConnection: close\r\n\r\nhello", false, true},
                    1000,
                    HttpOutcome::Ok,
                    200,
                    false},
        OutcomeCase{"chunked_in_any_case",
                    {"HTTP/1.1 200 X\r\nTransfer-Encoding: Chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n"},
                    1000,
                    HttpOutcome::Ok,
                    200,
                    true},
        OutcomeCase{"status_404_is_a_completed_transfer",
                    {HttpReply(404, "no")},
                    1000,
                    HttpOutcome::Ok,
                    404,
                    true},
        OutcomeCase{
            "exactly_at_limit", {HttpReply(200, kKilobyte)}, 1024, HttpOutcome::Ok, 200, true},
        OutcomeCase{"announced_length_over_limit",
                    {HttpReply(200, kKilobyte)},
                    1023,
                    HttpOutcome::TooLarge,
                    200},
        OutcomeCase{
            "unannounced_body_over_limit",
            {"HTTP/1.1 200 X\r\nConnection: close\r\n\r\n" + kKilobyte + kKilobyte, false, true},
            1500,
            HttpOutcome::TooLarge,
            200},
        OutcomeCase{"chunked_body_over_limit",
                    {"HTTP/1.1 200 X\r\nTransfer-Encoding: chunked\r\n\r\n400\r\n" + kKilobyte +
                     "\r\n400\r\n" + kKilobyte + "\r\n0\r\n\r\n"},
                    1500,
                    HttpOutcome::TooLarge,
                    200},
        OutcomeCase{"truncated_body",
                    {"HTTP/1.1 200 X\r\nContent-Length: 100\r\n\r\nonly part", false, true},
                    1000,
                    HttpOutcome::Failed,
                    200},
        OutcomeCase{"garbage_reply",
                    {"NOT HTTP AT ALL\r\n\r\n", false, true},
                    1000,
                    HttpOutcome::Failed,
                    0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Transport, ReturnsBodyContentTypeAndSendsGetWithAgentAndNoCacheHeaders) {
    LoopbackServer server([](const std::string&) {
        return LoopbackReply{HttpReply(200, "<a/>", "Content-Type: text/xml; charset=gb2312\r\n")};
    });
    auto transport = MakeCurlTransport();
    HttpRequestOptions options;
    options.userAgent = "Agent/9";
    const HttpResponse response = transport->Get(server.Url("/p?q=1"), options);
    ASSERT_TRUE(response.ok()) << response.error;
    EXPECT_EQ(response.body, "<a/>");
    EXPECT_EQ(response.contentType, "text/xml; charset=gb2312");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].rfind("GET /p?q=1 HTTP/1.1\r\n", 0), 0u) << requests[0];
    EXPECT_TRUE(HasHeader(requests[0], "User-Agent: Agent/9")) << requests[0];
    EXPECT_TRUE(HasHeader(requests[0], "Cache-Control: no-cache")) << requests[0];
    EXPECT_TRUE(HasHeader(requests[0], "Pragma: no-cache")) << requests[0];

    options.bypassCache = false;
    ASSERT_TRUE(transport->Get(server.Url("/p"), options).ok());
    const std::string second = server.Requests().at(1);
    EXPECT_EQ(second.find("no-cache"), std::string::npos) << second;
}

TEST(Transport, ReusesTheConnectionBetweenCalls) {
    LoopbackServer server([](const std::string&) { return LoopbackReply{HttpReply(200, "x")}; });
    auto transport = MakeCurlTransport();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(transport->Get(server.Url("/r")).ok());
    }
    EXPECT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(server.Connections(), 1);
}

TEST(Transport, StatusOnlyStopsAfterTheHeadersWithoutWaitingForTheBody) {
    // Headers announce a body that never comes: reading it would run into the time limit.
    LoopbackServer server([](const std::string&) {
        return LoopbackReply{"HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\npart", true};
    });
    auto transport = MakeCurlTransport();
    HttpRequestOptions options;
    options.readBody = false;
    options.totalTimeoutMs = 8000;
    const auto start = std::chrono::steady_clock::now();
    const HttpResponse response = transport->Get(server.Url("/cn/"), options);
    EXPECT_LT(MillisecondsSince(start), 4000);
    EXPECT_TRUE(response.ok()) << response.error;
    EXPECT_EQ(response.status, 200);
    EXPECT_TRUE(response.body.empty());
    EXPECT_EQ(server.Requests().at(0).rfind("GET /cn/ ", 0), 0u);
}

TEST(Transport, RedirectsAreFollowedOnlyWhenAsked) {
    LoopbackServer server([](const std::string& head) {
        if (head.rfind("GET /from ", 0) == 0) {
            return LoopbackReply{
                HttpReply(302, "", "Location:  /to?a=1 \r\nContent-Type: text/html\r\n")};
        }
        return LoopbackReply{HttpReply(200, "target")};
    });
    auto transport = MakeCurlTransport();
    HttpRequestOptions options;
    HttpResponse response = transport->Get(server.Url("/from"), options);
    ASSERT_TRUE(response.ok());
    EXPECT_EQ(response.status, 302);
    EXPECT_EQ(response.location, "/to?a=1");
    EXPECT_EQ(response.contentType, "text/html");

    options.followRedirects = true;
    response = transport->Get(server.Url("/from"), options);
    ASSERT_TRUE(response.ok()) << response.error;
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, "target");
    EXPECT_EQ(response.location, "") << "the headers are the last reply's";
    EXPECT_EQ(response.contentType, "");

    options.readBody = false; // status only, but through the redirect
    response = transport->Get(server.Url("/from"), options);
    ASSERT_TRUE(response.ok()) << response.error;
    EXPECT_EQ(response.status, 200);
}

TEST(Transport, ProgressCallbackSeesTheAnnouncedTotalAndCanAbort) {
    LoopbackServer server([](const std::string&) {
        return LoopbackReply{
            "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n" + std::string(1000, 'p'), true};
    });
    auto transport = MakeCurlTransport();
    HttpRequestOptions options;
    options.totalTimeoutMs = 8000;
    std::uint64_t seenTotal = 0;
    options.progress = [&](std::uint64_t received, std::uint64_t total) {
        seenTotal = total;
        return received == 0; // stop as soon as some of the body has arrived
    };
    const auto start = std::chrono::steady_clock::now();
    const HttpResponse response = transport->Get(server.Url("/big"), options);
    EXPECT_LT(MillisecondsSince(start), 6000);
    EXPECT_EQ(response.outcome, HttpOutcome::Aborted) << response.error;
    EXPECT_EQ(seenTotal, 5000u);
    EXPECT_TRUE(response.body.empty());
}

TEST(Transport, SilentServerEndsAtTheTotalTimeLimit) {
    LoopbackServer server([](const std::string&) { return LoopbackReply{"", true}; });
    auto transport = MakeCurlTransport();
    HttpRequestOptions options;
    options.totalTimeoutMs = 700;
    const auto start = std::chrono::steady_clock::now();
    const HttpResponse response = transport->Get(server.Url("/hang"), options);
    const long long elapsed = MillisecondsSince(start);
    EXPECT_EQ(response.outcome, HttpOutcome::TimedOut) << response.error;
    EXPECT_GE(elapsed, 600);
    EXPECT_LT(elapsed, 5000);
}

TEST(Transport, ClosedPortIsRefusedAndOtherSchemesAreNotFetched) {
    auto transport = MakeCurlTransport();
    const HttpResponse refused =
        transport->Get("http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/");
    EXPECT_EQ(refused.outcome, HttpOutcome::Refused) << refused.error;
    EXPECT_EQ(refused.status, 0);

    const HttpResponse file = transport->Get("file:///etc/hostname");
    EXPECT_FALSE(file.ok());
    EXPECT_TRUE(file.body.empty());
}

TEST(LoadXml, EveryFailureIsOneFailureWithAReason) {
    LoopbackServer server([](const std::string& head) {
        if (head.rfind("GET /good ", 0) == 0) {
            return LoopbackReply{HttpReply(200, "<r><e id=\"1\"/></r>")};
        }
        if (head.rfind("GET /bad ", 0) == 0) {
            return LoopbackReply{HttpReply(200, "<r><e></r>")};
        }
        return LoopbackReply{HttpReply(404, "<r/>")};
    });
    auto transport = MakeCurlTransport();
    const XmlLoadResult good = LoadXml(*transport, server.Url("/good"));
    ASSERT_FALSE(good.failed()) << good.error;
    EXPECT_EQ(good.root.name, "r");

    for (const std::string& url :
         {server.Url("/bad"), server.Url("/missing"),
          "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/x"}) {
        const XmlLoadResult result = LoadXml(*transport, url);
        EXPECT_TRUE(result.failed()) << url;
        EXPECT_FALSE(result.error.empty()) << url;
    }
}

} // namespace
} // namespace kelvra

#include "core/LoopbackServer.h"
#include "support/Elapsed.h"
#include "support/SimProcess.h"

#include "service/HttpTransport.h"
#include "service/Probe.h"
#include "url/Endpoints.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kelvra {
namespace {

using test::HttpReply;
using test::LoopbackReply;
using test::LoopbackServer;
using test::MillisecondsSince;

TEST(Probe, SendsAFreshGetWithItsOwnAgent) {
    LoopbackServer server(
        [](const std::string&) { return LoopbackReply{HttpReply(200, std::string(100000, 'b'))}; });
    ASSERT_TRUE(ProbeUrl(server.Url("/cn/")));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& head = requests[0];
    EXPECT_EQ(head.rfind("GET /cn/ HTTP/1.1\r\n", 0), 0u) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: InetURL:/1.0\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nCache-Control: no-cache\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nPragma: no-cache\r\n"), std::string::npos) << head;
}

TEST(Probe, IsTrueExactlyFor200And302) {
    int status = 200;
    LoopbackServer server([&](const std::string& head) {
        if (head.rfind("GET /elsewhere", 0) == 0) {
            return LoopbackReply{HttpReply(200, "moved here")};
        }
        return LoopbackReply{HttpReply(status, "", "Location: /elsewhere\r\n")};
    });
    auto transport = MakeCurlTransport();
    const struct {
        int status;
        bool reachable;
    } cases[] = {{200, true},  {302, true},  {301, false}, {303, false}, {307, false},
                 {204, false}, {404, false}, {500, false}, {503, false}};
    for (const auto& c : cases) {
        status = c.status;
        EXPECT_EQ(ProbeUrl(*transport, server.Url("/cn/")), c.reachable) << c.status;
    }
    for (const auto& head : server.Requests()) {
        EXPECT_EQ(head.find("/elsewhere"), std::string::npos) << "a redirect was followed";
    }
}

TEST(Probe, PutsTheSchemeInFrontOnlyWhenMissing) {
    LoopbackServer server([](const std::string&) { return LoopbackReply{HttpReply(200, "")}; });
    const std::string hostAndPort = "127.0.0.1:" + std::to_string(server.Port());
    EXPECT_TRUE(ProbeUrl(hostAndPort + "/cn/"));
    EXPECT_TRUE(ProbeUrl("HTTP://" + hostAndPort + "/cn/"));
    EXPECT_EQ(server.Requests().size(), 2u);
}

TEST(Probe, RefusedIsFalse) {
    EXPECT_FALSE(ProbeUrl("http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/cn/"));
}

class ProbeAgainstService : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_sim = new test::SimProcess(); }
    static void TearDownTestSuite() {
        delete s_sim;
        s_sim = nullptr;
    }
    void SetUp() override { s_sim->Reset(); }
    std::string ProbePage() const { return Endpoints(s_sim->Root()).ProbePage(); }

    static test::SimProcess* s_sim;
};

test::SimProcess* ProbeAgainstService::s_sim = nullptr;

TEST_F(ProbeAgainstService, StatusTable) {
    const struct {
        int status;
        bool reachable;
    } cases[] = {{200, true}, {302, true}, {301, false}, {404, false}, {500, false}};
    for (const auto& c : cases) {
        s_sim->SetProbeStatus(c.status);
        EXPECT_EQ(ProbeUrl(ProbePage()), c.reachable) << c.status;
    }
    s_sim->SetProbeStatus(200);
    const std::string withoutScheme = ProbePage().substr(7);
    EXPECT_TRUE(ProbeUrl(withoutScheme)) << withoutScheme;
}

TEST_F(ProbeAgainstService, RefusedConnectionIsFalse) {
    s_sim->InjectFault("/cn/", "refuse");
    EXPECT_FALSE(ProbeUrl(ProbePage()));
    EXPECT_TRUE(ProbeUrl(ProbePage())) << "the fault was for one request only";
}

TEST_F(ProbeAgainstService, SilentServiceEndsWithinTheProbeTimeLimit) {
    s_sim->InjectFault("/cn/", "hang");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ProbeUrl(ProbePage()));
    EXPECT_LT(MillisecondsSince(start), 13000); // 12 whole seconds at most
}

} // namespace
} // namespace kelvra

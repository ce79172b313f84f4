// The stand-in service's own contract, where the client and the other tests rely on it: the
// request log, how each fault kind ends, the encodings of list replies, the session state.
#include <gtest/gtest.h>

#include <libxml/parser.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <string>
#include <vector>

#include "support/SimProcess.h"

namespace kelvra {
namespace {

using test::SimProcess;

const std::string kBrand = "/kelvra_cd/xml/get_brand.asp";

bool WellFormedXml(const std::string& text) {
    xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), "reply.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    bool ok = doc != nullptr;
    xmlFreeDoc(doc);
    return ok;
}

// The attribute values of every child element `element` of the document element, in order.
std::vector<std::string> Attributes(const std::string& xml, const char* element,
                                    const char* attribute) {
    std::vector<std::string> values;
    xmlDocPtr doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "reply.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR);
    if (doc == nullptr) {
        ADD_FAILURE() << "not well-formed: " << xml.substr(0, 200);
        return values;
    }
    for (xmlNodePtr n = xmlDocGetRootElement(doc)->children; n; n = n->next) {
        if (n->type == XML_ELEMENT_NODE && xmlStrEqual(n->name, BAD_CAST element)) {
            xmlChar* v = xmlGetProp(n, BAD_CAST attribute);
            values.emplace_back(v ? reinterpret_cast<const char*>(v) : "");
            xmlFree(v);
        }
    }
    xmlFreeDoc(doc);
    return values;
}

std::string Header(const SimProcess::Reply& reply, const std::string& name) {
    size_t at = reply.headers.find(name + ": ");
    if (at == std::string::npos) {
        return "";
    }
    size_t start = at + name.size() + 2;
    return reply.headers.substr(start, reply.headers.find("\r\n", start) - start);
}

class SimulatorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_sim = new SimProcess(); }
    static void TearDownTestSuite() {
        delete s_sim;
        s_sim = nullptr;
    }
    void SetUp() override { s_sim->Reset(); }

    // Stored account state as "key=value" lines.
    std::string AccountField(const std::string& user, const std::string& field) const {
        std::string text = s_sim->Control("/__sim/account?username=" + SimProcess::Encode(user));
        size_t at = text.find(field + "=");
        EXPECT_NE(at, std::string::npos) << field;
        size_t start = at + field.size() + 1;
        return text.substr(start, text.find('\n', start) - start);
    }

    static SimProcess* s_sim;
};

SimProcess* SimulatorTest::s_sim = nullptr;

TEST_F(SimulatorTest, LogsRawTargetsInOrderWithoutControlCalls) {
    const std::vector<std::string> targets = {
        "/kelvra_cd/xml/get_category.asp?mfa_id=16",
        "/kelvra_cd/en/search/so_list.asp?chaxuntiaojian=OEM&OEM=%20%2612+3&f_mode=jqcz&Gid=0"
        "&Mac=&IP=",
        "/kelvra_cd/cn//search/xml/set_login_out.asp?username=%D5%C5%CE%B0&password=x",
        "/no/such/page",
    };
    for (const std::string& target : targets) {
        s_sim->Get(target);
        s_sim->Control("/__sim/account?username=demo"); // never logged
    }
    EXPECT_EQ(s_sim->Requests(), targets);
    s_sim->ClearRequests();
    EXPECT_TRUE(s_sim->Requests().empty());
}

TEST_F(SimulatorTest, EachFaultKindEndsAsDescribed) {
    const std::string good = s_sim->Get(kBrand).body;
    ASSERT_TRUE(WellFormedXml(good));
    struct Case {
        const char* kind;
        int status;     // 0: no answer at all
        bool wholeBody; // the real reply arrives complete
        int wellFormed; // the body parses as XML: 1 yes, 0 no, -1 not checked
    };
    const Case cases[] = {
        {"refuse", 0, false, 0},      {"500", 500, false, -1},      {"404", 404, false, -1},
        {"malformed", 200, false, 0}, {"truncated", 200, false, 0}, {"slow", 200, true, 1},
    };
    for (const Case& c : cases) {
        s_sim->InjectFault(kBrand, c.kind);
        SimProcess::Reply reply = s_sim->Get(kBrand, 8000);
        EXPECT_FALSE(reply.timedOut) << c.kind;
        EXPECT_EQ(reply.status, c.status) << c.kind;
        EXPECT_EQ(reply.body == good, c.wholeBody) << c.kind;
        if (c.wellFormed >= 0) {
            EXPECT_EQ(WellFormedXml(reply.body), c.wellFormed == 1) << c.kind;
        }
        if (std::string(c.kind) == "truncated") {
            EXPECT_LT(reply.body.size(),
                      std::strtoul(Header(reply, "Content-Length").c_str(), nullptr, 10));
        }
        // One use only: the next request gets the real reply.
        EXPECT_EQ(s_sim->Get(kBrand).body, good) << c.kind;
    }
}

TEST_F(SimulatorTest, FaultCountAndOversizedBody) {
    s_sim->InjectFault(kBrand, "500", 2);
    EXPECT_EQ(s_sim->Get(kBrand).status, 500);
    EXPECT_EQ(s_sim->Get(kBrand).status, 500);
    EXPECT_EQ(s_sim->Get(kBrand).status, 200);

    s_sim->Control("/__sim/fault?path=" + kBrand + "&kind=oversized&bytes=300000");
    SimProcess::Reply reply = s_sim->Get(kBrand);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body.size(), 300000u);
    EXPECT_EQ(Header(reply, "Content-Length"), "300000");
}

TEST_F(SimulatorTest, HungRequestDoesNotBlockOthers) {
    s_sim->InjectFault(kBrand, "hang");
    auto hung = std::async(std::launch::async, [] { return s_sim->Get(kBrand, 1500); });
    // Served while the other request hangs.
    EXPECT_EQ(s_sim->Get("/cn/", 1000).status, 200);
    SimProcess::Reply reply = hung.get();
    EXPECT_TRUE(reply.timedOut);
    EXPECT_EQ(reply.status, 0);
}

TEST_F(SimulatorTest, EngineListsAreGb2312AndDecodeToChinese) {
    SimProcess::Reply engines = s_sim->Get("/kelvra_cd/xml/get_engine_brand_yorx.asp");
    EXPECT_EQ(Header(engines, "Content-Type"), "text/xml; charset=gb2312");
    EXPECT_EQ(engines.body.rfind("<?xml version=\"1.0\" encoding=\"gb2312\"?>", 0), 0u);
    std::vector<std::string> names = Attributes(engines.body, "engine", "engine_name");
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names[0], "大众 Volkswagen");
    // The brand-search list also holds the engine brand without codes.
    std::vector<std::string> all = Attributes(
        s_sim->Get("/kelvra_cd/xml/get_engine_brand_kelvra.asp").body, "engine", "engine_id");
    EXPECT_EQ(all.size(), names.size() + 1);

    SimProcess::Reply makes = s_sim->Get(kBrand);
    EXPECT_EQ(Header(makes, "Content-Type"), "text/xml; charset=utf-8");
    EXPECT_EQ(Attributes(makes.body, "brand", "brand_id").size(), 8u);
}

TEST_F(SimulatorTest, CannedListRepliesForTheNextRequests) {
    s_sim->Control("/__sim/list?path=get_type.asp&count=2&entries=10000");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(
            Attributes(s_sim->Get("/kelvra_cd/xml/get_type.asp?mod_id=1").body, "type", "type_id")
                .size(),
            10000u);
    }
    EXPECT_TRUE(
        Attributes(s_sim->Get("/kelvra_cd/xml/get_type.asp?mod_id=1").body, "type", "type_id")
            .empty());
    const std::string raw = "<r><returnValue>True</returnValue></r>";
    s_sim->Control("/__sim/list?path=" + kBrand + "&body=" + SimProcess::Encode(raw));
    EXPECT_EQ(s_sim->Get(kBrand).body, raw);
}

TEST_F(SimulatorTest, LoginChecksRecordStateOnlyWhenFull) {
    // 张伟 / zhang123, the user name percent-encoded in GB18030.
    const std::string login = "/kelvra_cd/xml/get_login_status.asp?mac=00-11-22-33-44-55"
                              "&IP=10.0.0.5&username=%D5%C5%CE%B0&password=zhang123";
    std::string reply = s_sim->Get(login).body;
    EXPECT_NE(reply.find("<returnValue>true</returnValue>"), std::string::npos);
    EXPECT_EQ(Attributes(reply, "userinfo", "s_login"), std::vector<std::string>{"True"});
    EXPECT_EQ(AccountField("张伟", "s_mac"), "00-11-22-33-44-55");

    // A read-only check from another machine reports the stored machine and changes nothing.
    std::string check = s_sim
                            ->Get("/kelvra_cd/xml/get_login_status.asp?mac=AA-AA-AA-AA-AA-AA"
                                  "&IP=10.0.0.9&username=%D5%C5%CE%B0&password=zhang123"
                                  "&read_only=1")
                            .body;
    EXPECT_EQ(Attributes(check, "userinfo", "s_ip"), std::vector<std::string>{"10.0.0.5"});
    EXPECT_EQ(AccountField("张伟", "s_ip"), "10.0.0.5");

    EXPECT_TRUE(WellFormedXml(
        s_sim
            ->Get("/kelvra_cd/xml/set_search_num.asp?username=%D5%C5%CE%B0&password=zhang123"
                  "&searchnum=7")
            .body));
    EXPECT_EQ(AccountField("张伟", "search_num"), "7");

    // The switch-accounts logout, double slash and all, ends the login.
    s_sim->Get("/kelvra_cd/cn//search/xml/set_login_out.asp?username=%D5%C5%CE%B0"
               "&password=zhang123");
    EXPECT_EQ(AccountField("张伟", "s_login"), "False");

    std::string wrong = s_sim
                            ->Get("/kelvra_cd/xml/get_login_status.asp?mac=&IP=1.1.1.1"
                                  "&username=demo&password=nope")
                            .body;
    EXPECT_NE(wrong.find("<returnValue>false</returnValue>"), std::string::npos);
    EXPECT_TRUE(Attributes(wrong, "userinfo", "gid").empty());
}

TEST_F(SimulatorTest, ResultPagesCarryProductLinksAndScriptMarkers) {
    SimProcess::Reply normal = s_sim->Get(
        "/kelvra_cd/en/search/so_list.asp?chaxuntiaojian=chansh&chansh=W%20712&f_mode=jqcz"
        "&Gid=0&Mac=&IP=");
    EXPECT_EQ(Header(normal, "Content-Type"), "text/html; charset=utf-8");
    for (const char* marker : {"pro_show.asp?id=", ":void(0);", "sure_content(", "notice("}) {
        EXPECT_NE(normal.body.find(marker), std::string::npos) << marker;
    }
    EXPECT_EQ(normal.body.find("pro_show_vip.asp"), std::string::npos);

    std::string vip = s_sim
                          ->Get("/kelvra_cd/cn/search/engine_list_kelvra_vip.asp?typ_id=1"
                                "&t_search_brand=1&t_selected=0&Gid=102&Mac=&IP=")
                          .body;
    EXPECT_NE(vip.find("pro_show_vip.asp?id="), std::string::npos);
    EXPECT_NE(vip.find(":fan("), std::string::npos); // more than one page of results

    std::string none = s_sim
                           ->Get("/kelvra_cd/en/search/so_list.asp?chaxuntiaojian=OEM"
                                 "&OEM=NOSUCHNUMBER&f_mode=jqcz&Gid=0&Mac=&IP=")
                           .body;
    EXPECT_NE(none.find("No parts found"), std::string::npos);
    EXPECT_EQ(none.find("pro_show.asp"), std::string::npos);
}

TEST_F(SimulatorTest, ResetRestoresSeedAndClearsRunState) {
    s_sim->Control("/__sim/account?username=demo&search_num=19&s_login=True");
    s_sim->InjectFault(kBrand, "500", 5);
    s_sim->SetProbeStatus(404);
    s_sim->Control("/__sim/version?v=1.0.0.4");
    s_sim->Reset();
    EXPECT_EQ(AccountField("demo", "search_num"), "0");
    EXPECT_EQ(AccountField("demo", "s_login"), "False");
    EXPECT_EQ(s_sim->Get(kBrand).status, 200);
    EXPECT_EQ(s_sim->Get("/cn/").status, 200);
    EXPECT_NE(s_sim->Get("/kelvra_cd/xml/get_version.asp").body.find("false"), std::string::npos);
    EXPECT_EQ(s_sim->Requests().size(), 3u);
}

TEST_F(SimulatorTest, PublishedUpdateIsServedWhole) {
    s_sim->Control("/__sim/version?v=1.0.0.4");
    s_sim->Control("/__sim/update_files?name=kelvra&temp_name=kelvra.new&main_program=1"
                   "&sha256=abc&content=" +
                   SimProcess::Encode(std::string("ELF\0\x01\xff+ ", 8)));
    std::string version = s_sim->Get("/kelvra_cd/xml/get_version.asp").body;
    EXPECT_EQ(Attributes(version, "version", "now_version"), std::vector<std::string>{"1.0.0.4"});
    std::string descriptor = s_sim->Get("/kelvra_cd/kelvra_update/update.xml").body;
    std::vector<std::string> paths = Attributes(descriptor, "updatePath", "path");
    ASSERT_EQ(paths.size(), 1u);
    const std::string listPath = paths[0].substr(s_sim->Root().size());
    std::string list = s_sim->Get(listPath).body;
    EXPECT_EQ(Attributes(list, "updateFile", "main_program"),
              std::vector<std::string>{"kelvra.new"});
    EXPECT_EQ(Attributes(list, "updateFile", "sha256"), std::vector<std::string>{"abc"});
    std::string file = Attributes(list, "updateFile", "file_name").at(0);
    EXPECT_EQ(s_sim->Get(file.substr(s_sim->Root().size())).body,
              std::string("ELF\0\x01\xff+ ", 8));
}

} // namespace
} // namespace kelvra

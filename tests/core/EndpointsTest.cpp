#include "url/Endpoints.h"
#include "service/Redirects.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "support/ScopedEnv.h"

namespace kelvra {
namespace {

using test::ScopedEnv;

TEST(FollowableRedirect, SameHostOrUpgradeToHttpsOnly) {
    const std::string svc = "http://Svc.example:8080/kelvra_cd/xml/get_brand.asp?x=1";
    // The references of RFC 3986 section 5.4 (normal, then abnormal) against its base.
    const std::string rfc = "http://a/b/c/d;p?q";
    const struct {
        const std::string& from;
        const char* location;
        const char* followed; // empty: not followed
    } cases[] = {
        {svc, "/moved/get_brand.asp", "http://Svc.example:8080/moved/get_brand.asp"},
        {svc, "other.asp?y=2", "http://Svc.example:8080/kelvra_cd/xml/other.asp?y=2"},
        {svc, "?moved=1", "http://Svc.example:8080/kelvra_cd/xml/get_brand.asp?moved=1"},
        {svc, "../cn/p.asp", "http://Svc.example:8080/kelvra_cd/cn/p.asp"},
        {svc, "http://svc.example:8080/a", "http://svc.example:8080/a"},
        {svc, "https://svc.example/a", "https://svc.example/a"},
        {svc, "https://svc.example:8443/a", "https://svc.example:8443/a"},
        {svc, "//svc.example:8080/b", "http://svc.example:8080/b"},
        {svc, "http://svc.example:9090/a", ""}, // another service on the same machine
        {svc, "http://other.example:8080/a", ""},
        {svc, "//other.example/a", ""},
        {svc, "http://user@svc.example:8080/a", ""},
        {svc, "http://:pw@svc.example:8080/a", ""},
        {svc, "http://@svc.example:8080/a", ""},
        {svc, "ftp://svc.example/a", ""},
        {svc, "javascript:alert(1)", ""},
        {svc, "http://svc.example:99999/a", ""},
        {svc, "http://svc.example:8080/a b", ""},
        {svc, "", ""},
        {"https://svc.example/a", "http://svc.example/b", ""}, // never down to http
        {"ftp://svc.example/a", "/b", ""},
        {"not a url", "/b", ""},
        {"http://h/a/b.asp", "?page=2", "http://h/a/b.asp?page=2"},
        {"http://h/a/b.asp", "../c.asp", "http://h/c.asp"},
        {rfc, "g:h", ""},
        {rfc, "g", "http://a/b/c/g"},
        {rfc, "./g", "http://a/b/c/g"},
        {rfc, "g/", "http://a/b/c/g/"},
        {rfc, "/g", "http://a/g"},
        {rfc, "//g", ""}, // http://g: another host
        {rfc, "?y", "http://a/b/c/d;p?y"},
        {rfc, "g?y", "http://a/b/c/g?y"},
        {rfc, "#s", "http://a/b/c/d;p?q#s"},
        {rfc, "g#s", "http://a/b/c/g#s"},
        {rfc, "g?y#s", "http://a/b/c/g?y#s"},
        {rfc, ";x", "http://a/b/c/;x"},
        {rfc, "g;x", "http://a/b/c/g;x"},
        {rfc, "g;x?y#s", "http://a/b/c/g;x?y#s"},
        {rfc, "", ""}, // no location at all
        {rfc, ".", "http://a/b/c/"},
        {rfc, "./", "http://a/b/c/"},
        {rfc, "..", "http://a/b/"},
        {rfc, "../", "http://a/b/"},
        {rfc, "../g", "http://a/b/g"},
        {rfc, "../..", "http://a/"},
        {rfc, "../../", "http://a/"},
        {rfc, "../../g", "http://a/g"},
        {rfc, "../../../g", "http://a/g"},
        {rfc, "../../../../g", "http://a/g"},
        {rfc, "/./g", "http://a/g"},
        {rfc, "/../g", "http://a/g"},
        {rfc, "g.", "http://a/b/c/g."},
        {rfc, ".g", "http://a/b/c/.g"},
        {rfc, "g..", "http://a/b/c/g.."},
        {rfc, "..g", "http://a/b/c/..g"},
        {rfc, "./../g", "http://a/b/g"},
        {rfc, "./g/.", "http://a/b/c/g/"},
        {rfc, "g/./h", "http://a/b/c/g/h"},
        {rfc, "g/../h", "http://a/b/c/h"},
        {rfc, "g;x=1/./y", "http://a/b/c/g;x=1/y"},
        {rfc, "g;x=1/../y", "http://a/b/c/y"},
        {rfc, "g?y/./x", "http://a/b/c/g?y/./x"},
        {rfc, "g?y/../x", "http://a/b/c/g?y/../x"},
        {rfc, "g#s/./x", "http://a/b/c/g#s/./x"},
        {rfc, "g#s/../x", "http://a/b/c/g#s/../x"},
        {rfc, "http:g", ""}, // a scheme without an authority is no URL to follow
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FollowableRedirect(c.from, c.location), c.followed)
            << c.from << " + " << c.location;
    }
}

TEST(EncodeQueryValue, EncodesEverythingButUnreservedAscii) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"", ""},
        {"AZaz09", "AZaz09"},
        {"-._~", "-._~"},
        {"a&b=c", "a%26b%3Dc"},
        {"#frag", "%23frag"},
        {"1+1", "1%2B1"},
        {"100%", "100%25"},
        {"a b", "a%20b"},
        {"/?:@", "%2F%3F%3A%40"},
        {"\"'<>", "%22%27%3C%3E"},
        {"\xE4\xB8\xAD", "%D6%D0"},                   // 中 in GBK
        {"\xE5\xA4\xA7\xE4\xBC\x97", "%B4%F3%D6%DA"}, // 大众
        {"VW \xE5\xA4\xA7", "VW%20%B4%F3"},
        {"\xE2\x82\xAC", "%A2%E3"}, // € exists in GB18030
        {std::string("a\nb\tc", 5), "a%0Ab%09c"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeQueryValue(c.in), c.out) << c.in;
    }
}

TEST(ServiceRoot, FollowsTheEnvironmentAndNormalises) {
    std::string builtIn;
    {
        ScopedEnv unset("KELVRA_SERVICE_URL", std::nullopt);
        builtIn = ServiceRoot();
    }
    EXPECT_EQ(builtIn.rfind("http://", 0), 0u) << builtIn;
    EXPECT_NE(builtIn.back(), '/');

    const struct {
        const char* env;
        std::string root;
    } cases[] = {
        {"http://parts.example.com", "http://parts.example.com"},
        {"http://127.0.0.1:9000/", "http://127.0.0.1:9000"},
        {"http://127.0.0.1:9000///", "http://127.0.0.1:9000"},
        {"parts.example.com:81", "http://parts.example.com:81"},
        {"https://secure.example.com/", "https://secure.example.com"},
        {" http://h:1 ", "http://h:1"},
        {"", builtIn},
        {"/", builtIn},
    };
    for (const auto& c : cases) {
        ScopedEnv env("KELVRA_SERVICE_URL", c.env);
        EXPECT_EQ(ServiceRoot(), c.root) << "'" << c.env << "'";
    }
}

TEST(Endpoints, AreTheRootFollowedByTheirPaths) {
    const Endpoints e("http://h:5");
    EXPECT_EQ(e.Root(), "http://h:5");
    EXPECT_EQ(e.PageBase(true), "http://h:5/kelvra_cd/cn/");
    EXPECT_EQ(e.PageBase(false), "http://h:5/kelvra_cd/en/");
    EXPECT_EQ(e.XmlBase(), "http://h:5/kelvra_cd/xml/");
    EXPECT_EQ(e.ProbePage(), "http://h:5/cn/");
    EXPECT_EQ(e.InfoPage(), "http://h:5/info");
    EXPECT_EQ(e.UpdateDescriptor(), "http://h:5/kelvra_cd/kelvra_update/update.xml");
    EXPECT_EQ(e.DownloadPage(), "http://h:5/kelvra_cd/download.asp");
}

} // namespace
} // namespace kelvra

#include "service/XmlDocument.h"

#include "text/Gbk.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

namespace kelvra {
namespace {

// "品牌" (brand) and "大众" (a make) in UTF-8.
const std::string kBrand = "\xE5\x93\x81\xE7\x89\x8C";
const std::string kMake = "\xE5\xA4\xA7\xE4\xBC\x97";
// "镕" is in GBK but not in GB2312: services that declare gb2312 still send such characters.
const std::string kOutsideGb2312 = "\xE9\x95\x95";

std::string Utf8To(const char* encoding, const std::string& utf8) {
    iconv_t cd = iconv_open(encoding, "UTF-8");
    std::string out(utf8.size() * 4 + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::string ListDocument(const std::string& declaration, const std::string& name) {
    return declaration + "<list returnValue=\"true\"><item id=\"7\" name=\"" + name + "\">" + name +
           "</item></list>";
}

struct EncodingCase {
    const char* name;
    std::string bytes;
    std::string expectedName; // UTF-8
    friend void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }
};

class XmlEncodings : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(XmlEncodings, NamesComeOutAsUtf8) {
    const EncodingCase& c = GetParam();
    const XmlLoadResult result = ParseXml(c.bytes);
    ASSERT_FALSE(result.failed()) << result.error;
    EXPECT_EQ(result.root.name, "list");
    const XmlElement* item = result.root.FirstChild("item");
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->Attribute("name"), nullptr);
    EXPECT_EQ(*item->Attribute("name"), c.expectedName);
    EXPECT_EQ(item->text, c.expectedName);
    EXPECT_EQ(*item->Attribute("id"), "7");
}

const std::string kNames = kBrand + " " + kMake;

INSTANTIATE_TEST_SUITE_P(
    Cases, XmlEncodings,
    ::testing::Values(
        EncodingCase{"utf8_declared",
                     ListDocument("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", kNames), kNames},
        EncodingCase{"utf8_undeclared", ListDocument("", kNames), kNames},
        EncodingCase{"utf8_with_bom",
                     "\xEF\xBB\xBF" + ListDocument("<?xml version=\"1.0\"?>", kNames), kNames},
        EncodingCase{"gb2312",
                     ListDocument("<?xml version=\"1.0\" encoding=\"gb2312\"?>", Utf8ToGbk(kNames)),
                     kNames},
        EncodingCase{"gb2312_with_gbk_only_character",
                     ListDocument("<?xml version='1.0' encoding='GB2312'?>",
                                  Utf8ToGbk(kOutsideGb2312 + kMake)),
                     kOutsideGb2312 + kMake},
        EncodingCase{"gbk",
                     ListDocument("<?xml version=\"1.0\" encoding=\"GBK\"?>", Utf8ToGbk(kNames)),
                     kNames},
        EncodingCase{
            "gb18030",
            ListDocument("<?xml version=\"1.0\" encoding=\"GB18030\"?>", Utf8ToGbk(kNames)),
            kNames},
        EncodingCase{"utf16le_bom",
                     "\xFF\xFE" + Utf8To("UTF-16LE", ListDocument("<?xml version=\"1.0\" "
                                                                  "encoding=\"UTF-16\"?>",
                                                                  kNames)),
                     kNames},
        EncodingCase{"utf16be_bom",
                     "\xFE\xFF" + Utf8To("UTF-16BE", ListDocument("<?xml version=\"1.0\" "
                                                                  "encoding=\"UTF-16\"?>",
                                                                  kNames)),
                     kNames}),
    [](const auto& info) { return std::string(info.param.name); });

struct MalformedCase {
    const char* name;
    std::string bytes;
    friend void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }
};

class XmlMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(XmlMalformed, FailsWithAReason) {
    const XmlLoadResult result = ParseXml(GetParam().bytes);
    EXPECT_TRUE(result.failed());
    EXPECT_FALSE(result.error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XmlMalformed,
    ::testing::Values(MalformedCase{"empty", ""}, MalformedCase{"blank", "   \n"},
                      MalformedCase{"html", "<html><body>Service Unavailable</body>"},
                      MalformedCase{"mismatched", "<a><b></a></b>"},
                      MalformedCase{"truncated", "<list><item id=\"1\" name=\"x\"/><ite"},
                      MalformedCase{"two_roots", "<a/><b/>"},
                      MalformedCase{"text_only", "returnValue=true"},
                      MalformedCase{"undeclared_entity", "<a>&nbsp;</a>"},
                      MalformedCase{"unknown_encoding",
                                    "<?xml version=\"1.0\" encoding=\"x-no-such\"?><a>x</a>"},
                      MalformedCase{"bad_utf8", "<a>\xC3\x28</a>"},
                      MalformedCase{"nul_inside", std::string("<a>x\0y</a>", 10)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Xml, EntitiesAreNeverExpanded) {
    const std::string internal = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY secret "
                                 "\"EXPANDED\">]><r a=\"x&secret;y\">1&secret;2</r>";
    const XmlLoadResult result = ParseXml(internal);
    ASSERT_FALSE(result.failed()) << result.error;
    EXPECT_EQ(result.root.text.find("EXPANDED"), std::string::npos) << result.root.text;
    EXPECT_EQ(result.root.Attribute("a")->find("EXPANDED"), std::string::npos);
    EXPECT_EQ(result.root.text, "12");

    // External entities are neither fetched nor read from disk.
    const std::string external = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY f SYSTEM "
                                 "\"file:///etc/passwd\">]><r>&f;</r>";
    const XmlLoadResult ext = ParseXml(external);
    if (!ext.failed()) {
        EXPECT_EQ(ext.root.text.find("root:"), std::string::npos);
    }

    // Predefined and character references are plain text, not entities.
    const XmlLoadResult plain = ParseXml("<r>&amp;&lt;&#20013;</r>");
    ASSERT_FALSE(plain.failed()) << plain.error;
    EXPECT_EQ(plain.root.text, "&<\xE4\xB8\xAD");
}

TEST(Xml, EntityExpansionBombDoesNotBlowUp) {
    std::string doc = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY e0 \"lol\">";
    for (int i = 1; i < 10; ++i) {
        doc += "<!ENTITY e" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) {
            doc += "&e" + std::to_string(i - 1) + ";";
        }
        doc += "\">";
    }
    doc += "]><r>&e9;</r>";
    const XmlLoadResult result = ParseXml(doc);
    if (!result.failed()) {
        EXPECT_LT(result.root.text.size(), 1000u);
    }
}

TEST(Xml, DeepNestingFailsCleanlyAndModerateNestingWorks) {
    auto nested = [](int depth) {
        std::string doc;
        for (int i = 0; i < depth; ++i) {
            doc += "<n>";
        }
        doc += "leaf";
        for (int i = 0; i < depth; ++i) {
            doc += "</n>";
        }
        return doc;
    };
    const XmlLoadResult deep = ParseXml(nested(100000));
    EXPECT_TRUE(deep.failed());
    EXPECT_FALSE(deep.error.empty());

    const XmlLoadResult moderate = ParseXml(nested(200));
    ASSERT_FALSE(moderate.failed()) << moderate.error;
    const XmlElement* node = &moderate.root;
    int depth = 1;
    while (!node->children.empty()) {
        node = &node->children.front();
        ++depth;
    }
    EXPECT_EQ(depth, 200);
    EXPECT_EQ(node->text, "leaf");
}

TEST(Xml, TreeKeepsDocumentOrderTextAndCdata) {
    const XmlLoadResult result =
        ParseXml("<r x=\"1\" y=\"2\" x2=\"3\"><!-- c -->a<![CDATA[<b>]]>c<k id=\"1\"/>"
                 "<k id=\"2\"><sub/></k><other/></r>");
    ASSERT_FALSE(result.failed()) << result.error;
    const XmlElement& r = result.root;
    ASSERT_EQ(r.attributes.size(), 3u);
    EXPECT_EQ(r.attributes[0], (std::pair<std::string, std::string>{"x", "1"}));
    EXPECT_EQ(r.attributes[2].first, "x2");
    EXPECT_EQ(r.text, "a<b>c");
    ASSERT_EQ(r.children.size(), 3u);
    EXPECT_EQ(*r.FirstChild("k")->Attribute("id"), "1");
    EXPECT_EQ(r.children[1].children.at(0).name, "sub");
    EXPECT_EQ(r.FirstChild("missing"), nullptr);
    EXPECT_EQ(r.Attribute("missing"), nullptr);
}

TEST(Xml, ManyEntriesAreAllRead) {
    std::string doc = "<?xml version=\"1.0\" encoding=\"gb2312\"?><list>";
    const std::string name = Utf8ToGbk(kMake);
    constexpr int kEntries = 100000;
    for (int i = 0; i < kEntries; ++i) {
        doc += "<item id=\"" + std::to_string(i) + "\" name=\"" + name + "\"/>";
    }
    doc += "</list>";
    const XmlLoadResult result = ParseXml(doc);
    ASSERT_FALSE(result.failed()) << result.error;
    ASSERT_EQ(result.root.children.size(), static_cast<std::size_t>(kEntries));
    EXPECT_EQ(*result.root.children.back().Attribute("id"), std::to_string(kEntries - 1));
    EXPECT_EQ(*result.root.children.back().Attribute("name"), kMake);
}

} // namespace
} // namespace kelvra

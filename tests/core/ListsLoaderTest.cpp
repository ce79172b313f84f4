// Reading of list documents and of ids, independent of any transport.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "service/DecimalInt.h"
#include "service/ListLoader.h"
#include "service/XmlDocument.h"

namespace kelvra {
namespace {

const ListFormat kBrand{"brand", "brand_id", "brand_name"};

ListLoadResult Read(const std::string& xml, const ListFormat& format = kBrand) {
    XmlLoadResult doc = ParseXml(xml);
    EXPECT_FALSE(doc.failed()) << xml;
    return ReadListDocument(doc.root, format);
}

TEST(ListsLoader, DecimalIdsOnly) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {"-7", -7},
        {"+7", 7},
        {"007", 7},
        {"2147483647", std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"abc", std::nullopt},
        {"12a", std::nullopt},
        {" 12", std::nullopt},
        {"12 ", std::nullopt},
        {"0x1F", std::nullopt},
        {"$1F", std::nullopt},
        {"1.0", std::nullopt},
        {"1e3", std::nullopt},
        {"--1", std::nullopt},
        {"+-1", std::nullopt},
        {"-+1", std::nullopt},
        {"+", std::nullopt},
        {"- 1", std::nullopt},
        {"-0", 0},
        {"+0", 0},
        {"00000000000000000002147483647", std::numeric_limits<std::int32_t>::max()},
        {"+2147483648", std::nullopt},
        {"\t1", std::nullopt},
        {"1\n", std::nullopt},
        {"\xd9\xa3", std::nullopt}, // an Arabic-Indic digit
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDecimalInt32(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(ListsLoader, DocumentOutcomes) {
    struct Case {
        const char* name;
        std::string xml;
        ListLoadStatus status;
        std::vector<ListEntry> entries;
    };
    const Case cases[] = {
        {"entries in document order, duplicates kept",
         "<root><returnValue>true</returnValue><brand brand_id='3' brand_name='Audi'/>"
         "<brand brand_id='1' brand_name='Audi'/><brand brand_id='-2' brand_name='BMW'/></root>",
         ListLoadStatus::Loaded,
         {{"Audi", 3}, {"Audi", 1}, {"BMW", -2}}},
        {"status after the entries still counts",
         "<x><brand brand_id='5' brand_name='A'/><returnValue>true</returnValue></x>",
         ListLoadStatus::Loaded,
         {{"A", 5}}},
        {"returnValue True is not true",
         "<r><returnValue>True</returnValue><brand brand_id='1' brand_name='A'/></r>",
         ListLoadStatus::NotOffered,
         {}},
        {"returnValue with blanks is not true",
         "<r><returnValue> true</returnValue><brand brand_id='1' brand_name='A'/></r>",
         ListLoadStatus::NotOffered,
         {}},
        {"no returnValue",
         "<r><brand brand_id='1' brand_name='A'/></r>",
         ListLoadStatus::NotOffered,
         {}},
        {"only the first returnValue counts",
         "<r><returnValue>false</returnValue><returnValue>true</returnValue>"
         "<brand brand_id='1' brand_name='A'/></r>",
         ListLoadStatus::NotOffered,
         {}},
        {"nested returnValue is not read",
         "<r><box><returnValue>true</returnValue></box><brand brand_id='1' brand_name='A'/></r>",
         ListLoadStatus::NotOffered,
         {}},
        {"missing text gives an empty text",
         "<r><returnValue>true</returnValue><brand brand_id='9'/></r>",
         ListLoadStatus::Loaded,
         {{"", 9}}},
        {"text taken unchanged, blanks and entities included",
         "<r><returnValue>true</returnValue><brand brand_id='4' brand_name=' A &amp; B '/></r>",
         ListLoadStatus::Loaded,
         {{" A & B ", 4}}},
        {"other names, nested and case variants ignored",
         "<r><returnValue>true</returnValue><Brand brand_id='x'/><category category_id='y'/>"
         "<group><brand brand_id='z'/></group><brand brand_id='2' brand_name='B'/></r>",
         ListLoadStatus::Loaded,
         {{"B", 2}}},
        {"letters in an id after two good entries",
         "<r><returnValue>true</returnValue><brand brand_id='1' brand_name='A'/>"
         "<brand brand_id='2' brand_name='B'/><brand brand_id='abc' brand_name='C'/>"
         "<brand brand_id='4' brand_name='D'/></r>",
         ListLoadStatus::Failed,
         {{"A", 1}, {"B", 2}}},
        {"missing id",
         "<r><returnValue>true</returnValue><brand brand_id='1' brand_name='A'/>"
         "<brand brand_name='B'/></r>",
         ListLoadStatus::Failed,
         {{"A", 1}}},
        {"id out of range",
         "<r><returnValue>true</returnValue><brand brand_id='2147483648' brand_name='A'/></r>",
         ListLoadStatus::Failed,
         {}},
        {"id with a blank",
         "<r><returnValue>true</returnValue><brand brand_id=' 1' brand_name='A'/></r>",
         ListLoadStatus::Failed,
         {}},
        {"bad id of a returnValue-less document is never read",
         "<r><brand brand_id='abc'/></r>",
         ListLoadStatus::NotOffered,
         {}},
    };
    for (const Case& c : cases) {
        ListLoadResult result = Read(c.xml);
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_EQ(result.entries, c.entries) << c.name;
        EXPECT_EQ(result.error.empty(), c.status != ListLoadStatus::Failed) << c.name;
    }
}

TEST(ListsLoader, EngineListsUseTheirOwnNames) {
    const ListFormat engine{"engine", "engine_id", "engine_name"};
    ListLoadResult result =
        Read("<r><returnValue>true</returnValue><brand brand_id='1' brand_name='A'/>"
             "<engine engine_id='8' engine_name='V8'/></r>",
             engine);
    EXPECT_EQ(result.status, ListLoadStatus::Loaded);
    EXPECT_EQ(result.entries, (std::vector<ListEntry>{{"V8", 8}}));
}

TEST(ListsLoader, Gb2312DocumentGivesUtf8Texts) {
    // "大众" and "奔驰" in GB2312.
    const std::string xml = "<?xml version=\"1.0\" encoding=\"GB2312\"?><r>"
                            "<returnValue>true</returnValue>"
                            "<brand brand_id=\"1\" brand_name=\"\xB4\xF3\xD6\xDA\"/>"
                            "<brand brand_id=\"2\" brand_name=\"\xB1\xBC\xB3\xDB\"/></r>";
    ListLoadResult result = Read(xml);
    EXPECT_EQ(result.status, ListLoadStatus::Loaded);
    EXPECT_EQ(result.entries, (std::vector<ListEntry>{{"\xE5\xA4\xA7\xE4\xBC\x97", 1},
                                                      {"\xE5\xA5\x94\xE9\xA9\xB0", 2}}));
}

} // namespace
} // namespace kelvra

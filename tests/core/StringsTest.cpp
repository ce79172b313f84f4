#include "text/Strings.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

namespace kelvra {
namespace {

TEST(ReplaceAll, ReplacesUntilNoOccurrenceIsLeft) {
    const struct {
        std::string text, searched, replacement, result;
    } cases[] = {
        {" 12  34 ", " ", "", "1234"},
        {"     ", " ", "", ""},
        {"1.0.0.10", ".", "", "10010"},
        {"no match", "x", "", "no match"},
        {"", " ", "", ""},
        {"aabb", "ab", "", ""}, // new occurrences formed by the removal go too
        {"aaabbb", "ab", "", ""},
        {"xaabby", "ab", "", "xy"},
        {"abab", "ab", "c", "cc"},
        {"aab", "ab", "b", "b"},   // "ab" -> "b" leaves "ab" again
        {"text", "", "x", "text"}, // empty searched: unchanged
        {"a a", " ", "  ", "a a"}, // replacement contains searched: unchanged
        {"a-b-c", "-", "+", "a+b+c"},
        {"aaba", "ab", "ba", "baaa"}, // leftmost first: aaba, abaa, baaa
        {"bab", "ab", "ba", "bba"},
        {"aab", "ab", "bbaa", "aab"}, // would grow for ever: unchanged
        {"x\xE4\xB8\xAD y", " ", "", "x\xE4\xB8\xADy"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceAll(c.text, c.searched, c.replacement), c.result)
            << "'" << c.text << "' '" << c.searched << "' -> '" << c.replacement << "'";
    }
}

TEST(ReplaceAll, LongTextIsHandledInOnePass) {
    std::string text;
    for (int i = 0; i < 200000; ++i) {
        text += "a ";
    }
    EXPECT_EQ(ReplaceAll(text, " ", ""), std::string(200000, 'a'));
}

bool AllDigits(const std::string& text) {
    for (unsigned char c : text) {
        if (!std::isdigit(c)) {
            return false;
        }
    }
    return true;
}

TEST(MakeRandomCode, HasTheFixedShapeForOneToEightCharacters) {
    for (const std::string s :
         {"0", "12", "345", "4567", "abcde", "123456", "1234567", "12345678"}) {
        for (int round = 0; round < 50; ++round) {
            const std::string code = MakeRandomCode(s);
            const std::size_t n = s.size();
            ASSERT_EQ(code.size(), 15u) << s << " -> " << code;
            const int first = std::stoi(code.substr(0, 5));
            EXPECT_GE(first, 10000) << code;
            EXPECT_LE(first, 99998) << code;
            EXPECT_EQ(code.substr(5, n), s) << code;
            EXPECT_TRUE(AllDigits(code.substr(5 + n, 9 - n))) << code;
            EXPECT_EQ(code.back(), static_cast<char>('0' + n)) << code;
        }
    }
}

TEST(MakeRandomCode, MiddlePartIsDrawnBelowItsNines) {
    // Eight characters leave one middle digit, drawn from 0 .. 8: never 9, every other seen.
    std::set<char> seen;
    for (int round = 0; round < 400; ++round) {
        const std::string code = MakeRandomCode("12345678");
        seen.insert(code[13]);
    }
    EXPECT_EQ(seen.count('9'), 0u);
    EXPECT_EQ(seen.size(), 9u);
}

TEST(MakeRandomCode, QuickSuccessiveCallsDiffer) {
    std::set<std::string> codes;
    for (int i = 0; i < 20; ++i) {
        codes.insert(MakeRandomCode("12"));
    }
    EXPECT_GT(codes.size(), 15u);
}

TEST(MakeRandomCode, EmptyAndLongTextsGetNoMiddlePart) {
    const std::string empty = MakeRandomCode("");
    ASSERT_EQ(empty.size(), 6u);
    EXPECT_TRUE(AllDigits(empty));
    EXPECT_EQ(empty.back(), '0');

    const std::string nine = MakeRandomCode("123456789");
    EXPECT_EQ(nine.size(), 5u + 9u + 1u);
    EXPECT_EQ(nine.substr(5, 9), "123456789");
    EXPECT_EQ(nine.back(), '9');

    const std::string twelve = MakeRandomCode("abcdefghijkl");
    EXPECT_EQ(twelve.substr(5), "abcdefghijkl12");
}

} // namespace
} // namespace kelvra

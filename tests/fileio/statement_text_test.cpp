#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "base/number_format.h"
#include "fileio/statement_text.h"

namespace quillex {
namespace {

std::vector<std::pair<std::string, std::string>> statementsOf(std::string_view content) {
    const std::string joined = joinLines(content, TextKind::Song);
    std::vector<std::pair<std::string, std::string>> out;
    for (const Statement& s : splitStatements(joined))
        out.emplace_back(s.key, s.value);
    return out;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(StatementText, LinesJoinWithoutSeparatorsAndCommentsAreDropped) {
    EXPECT_EQ(statementsOf("#TITLE:Fo// a comment\r\no;\r\n#BPMS:0=1\n20;"),
              (Pairs{{"#TITLE", "Foo"}, {"#BPMS", "0=120"}}));
    // A lone CR ends a line too, so the comment ends there.
    EXPECT_EQ(statementsOf("#A:1;// note\r#B:2;"), (Pairs{{"#A", "1"}, {"#B", "2"}}));
}

TEST(StatementText, StatementsSplitAtSemicolonsAndTheFirstColon) {
    EXPECT_EQ(
        statementsOf("#NOTES:a:b;;#EMPTY:;#NOCOLON; #TITLE:x;"),
        (Pairs{{"#NOTES", "a:b"}, {"#EMPTY", ""}, {"#NOCOLON", "#NOCOLON"}, {" #TITLE", "x"}}));
    EXPECT_TRUE(statementsOf("#TITLE:no semicolon").empty());
}

TEST(StatementText, AByteOrderMarkIsNotText) {
    EXPECT_EQ(statementsOf("\xEF\xBB\xBF#TITLE:x;"), (Pairs{{"#TITLE", "x"}}));
    // Only at the very start.
    EXPECT_EQ(statementsOf("#A:\xEF\xBB\xBF;"), (Pairs{{"#A", "\xEF\xBB\xBF"}}));
}

TEST(StatementText, ALineStartingAStatementClosesAnUnterminatedOne) {
    EXPECT_EQ(statementsOf("#BPMS:0.000=100.000\r\n#STOPS:16=2;"),
              (Pairs{{"#BPMS", "0.000=100.000"}, {"#STOPS", "16=2"}}));
    // Values continued on later lines are not cut.
    EXPECT_EQ(statementsOf("#BGCHANGES:1=a\n,2=b;"), (Pairs{{"#BGCHANGES", "1=a,2=b"}}));
    // The companion text is joined as it is.
    EXPECT_EQ(joinLines("#A:1\n#B:2;", TextKind::Companion), "#A:1#B:2;");
}

TEST(StatementText, AnOverlongLineIsCutAndEndsTheReading) {
    std::string content = "#TITLE:";
    content.append(kMaxLineLength, 'a');
    content += ";\n#ARTIST:x;";
    const std::string joined = joinLines(content, TextKind::Song);
    EXPECT_EQ(joined.size(), kMaxLineLength);
    EXPECT_EQ(joined.find("ARTIST"), std::string::npos);
}

TEST(StatementText, ListsDropEmptyPieces) {
    const auto pieces = splitNonEmpty(",a,,b,", ',');
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], "a");
    EXPECT_EQ(pieces[1], "b");
    EXPECT_EQ(trimSpaces("  a b \t"), "a b \t");
    EXPECT_EQ(withoutBlanks("\t00 10\r\n"), "0010");
}

TEST(StatementText, NumbersFollowTheCLibraryAndStayFinite) {
    const struct {
        const char* text;
        double value;
    } doubles[] = {
        {"  4.5xyz", 4.5}, {"\t\n-2.5", -2.5}, {"+3", 3},     {"+-3", 0},     {".5", 0.5},
        {"5.", 5},          {"2e3", 2000},     {"1e+", 1},     {"1,5", 1},     {"0x1A", 26},
        {"abc", 0},         {"", 0},           {"nan", 0},     {"-inf", 0},    {"1e999", 0},
    };
    for (const auto& c : doubles)
        EXPECT_EQ(textToDouble(c.text), c.value) << c.text;
    const struct {
        const char* text;
        std::int32_t value;
    } ints[] = {
        {" 12abc", 12},           {"+7", 7},          {"-3", -3},
        {"4.9", 4},               {"0x10", 0},        {"x", 0},
        {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN},
        {"999999999999999999999", INT32_MAX},
    };
    for (const auto& c : ints)
        EXPECT_EQ(textToInt(c.text), c.value) << c.text;
    EXPECT_EQ(truncToInt32(-2.9), -2);
    EXPECT_EQ(truncToInt32(1e20), INT32_MAX);
}

TEST(NumberFormat, SixSignificantDigitsAndThreeExponentDigits) {
    EXPECT_EQ(formatNumber(1234567), "1.23457e+006");
    EXPECT_EQ(formatNumber(120.0000001), "120");
    EXPECT_EQ(formatNumber(-0.5), "-0.5");
    EXPECT_EQ(formatNumber(80), "80");
    EXPECT_EQ(formatNumber(999999), "999999");
    EXPECT_EQ(formatNumber(1000000), "1e+006");
    EXPECT_EQ(formatNumber(0.0001), "0.0001");
    EXPECT_EQ(formatNumber(0.00001234), "1.234e-005");
    EXPECT_EQ(formatNumber(1e300), "1e+300");
    EXPECT_EQ(formatNumber(-0.0), "0");
    EXPECT_EQ(formatFixed3(12.5), "12.500");
    EXPECT_EQ(formatFixed3(-0.0001), "-0.000");
    EXPECT_EQ(formatGeneral(-0.0), "-0");
}

// The writers once formatted with the C library; their texts stay byte for byte the same.
TEST(NumberFormat, MatchesTheCLibraryInTheCLocale) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    char expected[512];
    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        std::snprintf(expected, sizeof expected, "%.6g", value);
        ASSERT_EQ(formatGeneral(value), expected);
        std::snprintf(expected, sizeof expected, "%.3f", value);
        ASSERT_EQ(formatFixed3(value), expected);
    }
}

} // namespace
} // namespace quillex

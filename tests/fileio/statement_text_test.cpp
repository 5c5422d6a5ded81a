#include <gtest/gtest.h>

#include "fileio/number_format.h"
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
    EXPECT_EQ(textToDouble("  4.5xyz"), 4.5);
    EXPECT_EQ(textToDouble("abc"), 0.0);
    EXPECT_EQ(textToDouble("nan"), 0.0);
    EXPECT_EQ(textToDouble("1e999"), 0.0);
    EXPECT_EQ(textToInt(" 12abc"), 12);
    EXPECT_EQ(textToInt("-3"), -3);
    EXPECT_EQ(textToInt("99999999999"), INT32_MAX);
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
}

} // namespace
} // namespace quillex

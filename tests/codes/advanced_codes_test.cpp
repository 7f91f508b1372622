#include "codes/advanced_codes.h"

#include <gtest/gtest.h>

#include "codes/code_rows.h"

namespace corvane {
namespace {

using testing::rallyTable;
using testing::tableOfCodes;

TEST(ParseAdvancedCodesTest, EmptyOrBlankTextGivesNothing) {
    for (const char* text : {"", "   ", "{}", "{ \t}"})
        EXPECT_FALSE(ParseAdvancedCodes(text)) << '"' << text << '"';
}

TEST(ParseAdvancedCodesTest, ReadsTheGroupAndItsRules) {
    const auto avanz = ParseAdvancedCodes("OR[~~~~~=,5][~~~~~/,5]");
    ASSERT_TRUE(avanz);
    EXPECT_EQ(avanz->mode, OrGroup);
    EXPECT_EQ(avanz->rules[0].code, "     =");
    EXPECT_EQ(avanz->rules[0].kind, 5);
    EXPECT_EQ(avanz->rules[1].code, "     /");
    EXPECT_EQ(avanz->rules[1].kind, 5);
    for (int i = 2; i < kMaxRules; ++i) EXPECT_EQ(avanz->rules[static_cast<std::size_t>(i)].kind, -1);
}

TEST(ParseAdvancedCodesTest, KeepsTheOtherPartsWithTheirTildes) {
    const auto avanz = ParseAdvancedCodes("{and[*~~E,1];two~;three;x[first~]y[second]z}");
    ASSERT_TRUE(avanz);
    EXPECT_EQ(avanz->mode, AndGroup);
    EXPECT_EQ(avanz->rules[0].code, "*  E");
    EXPECT_EQ(avanz->rules[0].kind, 1);
    EXPECT_EQ(avanz->rules[1].kind, -1);
    EXPECT_EQ(avanz->part2, "two~");
    EXPECT_EQ(avanz->part3, "three");
    EXPECT_EQ(avanz->part4First, "first~");
    EXPECT_EQ(avanz->part4Second, "second");
}

TEST(ParseAdvancedCodesTest, OddRulesAndKeywords) {
    struct Case {
        const char* text;
        int mode;
        std::string firstCode;
        int firstKind;
    };
    const Case cases[] = {
        {"Or[~~~A,2]", OrGroup, "   A", 2},
        {"AND[~~~A,x]", AndGroup, "   A", 1},  // a kind that is not a digit reads as 1
        {"AND[", AndGroup, "", 1},
        {"xyz[~~~A,1]", NoGroup, "", -1},
        {"O[~~~A,1]", NoGroup, "", -1},
        {";OR[~~~A,1]", NoGroup, "", -1},
    };
    for (const Case& c : cases) {
        const auto avanz = ParseAdvancedCodes(c.text);
        ASSERT_TRUE(avanz) << c.text;
        EXPECT_EQ(avanz->mode, c.mode) << c.text;
        EXPECT_EQ(avanz->rules[0].code, c.firstCode) << c.text;
        EXPECT_EQ(avanz->rules[0].kind, c.firstKind) << c.text;
    }
}

TEST(ParseAdvancedCodesTest, KeepsFiveRulesAtMost) {
    const auto avanz = ParseAdvancedCodes("OR[~1,5][~2,5][~3,5][~4,5][~5,5][~6,5]");
    ASSERT_TRUE(avanz);
    EXPECT_EQ(avanz->rules[4].code, " 5");
}

TEST(RuleSideTest, TeamOfTheRuleCode) {
    EXPECT_EQ(ruleSide("*~~A"), HomeSide);
    EXPECT_EQ(ruleSide("a~~A"), VisitingSide);
    EXPECT_EQ(ruleSide("   A"), AnySide);
    EXPECT_EQ(ruleSide(""), AnySide);
}

struct RuleCase {
    const char* label;
    std::string code;
    int kind;
    int row;
    bool holds;
};

// Rows of rallyTable(): 1 *07SM+, 2 a12RM#, 3 a05EH#, 4 a09AH+, 5 *03BH-, 6 *11DH+, 7 *05EH#,
// 8 *07AH#, 9 *p0100, ..., 17 **, ..., 22 ap0001.
const RuleCase kRallyRules[] = {
    {"own code", "~~~A", OwnCode, 8, true},
    {"own code differs", "~~~A", OwnCode, 7, false},
    {"previous code", "~~~E", PreviousCode, 8, true},
    {"previous code differs", "~~~A", PreviousCode, 7, false},
    {"all blank on row 1", "~~~~", PreviousCode, 1, true},
    {"previous on row 1 never", "*", PreviousCode, 1, false},
    {"next code", "~~~A", NextCode, 7, true},
    {"next code differs", "~~~A", NextCode, 8, false},
    {"next before the last row", "a", NextCode, 21, true},
    {"next on the last row never", "a", NextCode, 22, false},
    {"reception looked for past the set", "~~~R", PreviousCode, 4, true},
    {"dig looked for past the set", "~~~D", PreviousCode, 8, true},
    {"set itself still found", "~~~E", PreviousCode, 4, true},
    {"reception right before", "~~~R", PreviousCode, 3, true},
    {"no skip without a set", "~~~R", PreviousCode, 5, false},
    {"visiting rule finds visiting codes", "a~~R", PreviousCode, 3, true},
    {"kind 0 never", "~~~A", 0, 8, false},
    {"kind 6 never", "~~~A", 6, 8, false},
    {"kind 8 never", "~~~A", 8, 8, false},
    {"kind 9 never", "~~~A", 9, 8, false},
    {"all-blank rule of kind 9", "      ", 9, 8, true},
    {"row outside the table", "~~~A", OwnCode, 23, false},
};

TEST(TestRuleTest, RallyRules) {
    const CodeTable table = rallyTable();
    for (const RuleCase& c : kRallyRules)
        EXPECT_EQ(TestRule(c.code, c.kind, ruleSide(c.code), c.row, table, "1"), c.holds) << c.label;
}

TEST(TestRuleTest, SetSkipComparesTheNumbersOfPositionsOneAndTwo) {
    // Older codes carry the team as a number: the set is looked past only when it and the code
    // before it are of the same side of 50.
    struct Case {
        const char* before;
        bool holds;
    };
    for (const Case c : {Case{"62 RM#", true}, Case{"12 RM#", false}, Case{"50 RM#", false}}) {
        const CodeTable table = tableOfCodes({c.before, "65 EH#", "60 AH#"});
        EXPECT_EQ(TestRule("~~~R", PreviousCode, AnySide, 3, table, "1"), c.holds) << c.before;
    }
    // Other sports never look past a set.
    const CodeTable table = tableOfCodes({"*12RM#", "*05EH#", "*07AH#"});
    EXPECT_TRUE(TestRule("   R", PreviousCode, AnySide, 3, table, "1"));
    EXPECT_FALSE(TestRule("   R", PreviousCode, AnySide, 3, table, "2"));
}

TEST(TestRuleTest, StretchSearchCoversTheMarkersAroundATeamCode) {
    const CodeTable table = tableOfCodes({"*07AH#", ">note", ">video", "a05DH+", ">late", "*03SM-"});
    struct Case {
        const char* code;
        int row;
        bool found;
    };
    const Case cases[] = {
        {">vi", 1, true},                      // forward through the markers that follow
        {">vi", 2, true},                      // a marker looks back to its team code and on
        {">vi", 3, true},  {">vi", 4, false},  // stops at the team code of row 6 and at its own
        {">no", 5, false},                     // back to row 4 only
        {"*07", 3, true},                      // the team code that opens the stretch counts
        {"*03", 5, false},                     // the team code after the stretch does not
        {"*03", 6, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TestRule(c.code, InStretch, AnySide, c.row, table, "1"), c.found) << c.code << c.row;
        EXPECT_EQ(TestRule(c.code, NotInStretch, AnySide, c.row, table, "1"), !c.found) << c.code << c.row;
    }
}

TEST(TestRuleTest, StretchSearchBackToTheFirstRowWithoutTeamCode) {
    const CodeTable table = tableOfCodes({">first", ">second", "*07AH#"});
    EXPECT_TRUE(TestRule(">fi", InStretch, AnySide, 2, table, "1"));
    EXPECT_FALSE(TestRule(">fi", InStretch, AnySide, 3, table, "1"));
}

struct ExpressionCase {
    const char* expression;
    int row;
    bool passes;
};

const ExpressionCase kExpressions[] = {
    {"AND[~~~E,1][~~~~~#,5]", 8, true},
    {"AND[~~~E,1][~~~~~#,5]", 4, false},  // after a set but evaluated "+"
    {"AND[~~~E,1][~~~~~#,5]", 3, false},  // "#" but after a reception
    {"and[~~~~~~,1][~~~A,5]", 8, true},   // a blank rule is satisfied, lower-case keyword
    {"AND[~~~~~~,1][~~~A,5]", 7, false},
    {"AND[~~~A,5][~~~A,0]", 8, false},  // kind 0 never holds
    {"AND[~~~A,5][~~~A,7]", 8, false},
    {"OR[~~~A,0][~~~A,5]", 8, true},
    {"OR[~~~A,6][~~~S,5]", 8, false},
    {"OR[~~~~~=,5][~~~~~/,5]", 10, true},
    {"OR[~~~~~=,5][~~~~~/,5]", 8, false},
    {"or[~~~~~=,5][~~~~~/,5]", 21, true},
    {"xyz[~~~A,1]", 7, true},      // no valid group: every code passes
    {"AND[,5][~~~Z,5]", 8, true},  // an empty first rule ends the rules
    {"AND[a~~R,1]", 4, true},      // visiting reception before the visiting set
    {"AND[*~~R,1]", 4, false},
};

TEST(TestAdvancedCodesTest, Expressions) {
    const CodeTable table = rallyTable();
    for (const ExpressionCase& c : kExpressions) {
        const TAvanz avanz = ParseAdvancedCodes(c.expression).value_or(TAvanz{});
        EXPECT_EQ(TestAdvancedCodes(avanz, c.row, table, "1"), c.passes) << c.expression << " row " << c.row;
    }
}

TEST(TestAdvancedCodesTest, NoExpressionPassesEveryCode) {
    const CodeTable table = rallyTable();
    for (int row = 1; row < table.RowCount(); ++row)
        EXPECT_TRUE(TestAdvancedCodes(TAvanz{}, row, table, "1"));
}

TEST(AdvancedCodesTesterTest, AgreesWithTheRowByRowTestOnEveryRow) {
    // Stretches of markers of several lengths, so the kept stretch answers are exercised.
    const CodeTable table = tableOfCodes({">a", "*07SM+", ">b", ">c", "a12RM#", "a05EH#", ">b", "a09AH+",
                                          "*p0100", ">d", ">b", ">c", "*04RM+", "*05EH+", "*07AH#", ">c"});
    for (const char* expression :
         {"AND[>b,3][~~~~~~,1]", "OR[>c,4][~~~R,1]", "AND[>b,4][>c,3]", "OR[~~~E,2][>d,3][*,5]"}) {
        const TAvanz avanz = *ParseAdvancedCodes(expression);
        AdvancedCodesTester tester(avanz, table, "1");
        for (int row = 1; row < table.RowCount(); ++row)
            EXPECT_EQ(tester.passes(row), TestAdvancedCodes(avanz, row, table, "1")) << expression << row;
    }
}

}  // namespace
}  // namespace corvane

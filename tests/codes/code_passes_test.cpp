#include "codes/code_passes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

#include "codes/code_rows.h"

namespace corvane {
namespace {

using testing::CodeLine;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using testing::rallyTable;
using testing::rowNumbers;
using testing::tableOf;
using testing::tableOfCodes;

const PassContext kVolleyballMatch{"1", false, 0};

AnalysisRecord withAdvancedCodes(const std::string& expression) {
    AnalysisRecord record;
    record[AnalysisRecord::adv_codes] = expression;
    return record;
}

AnalysisRecord withMainCode(const std::string& code) {
    AnalysisRecord record;
    record[AnalysisRecord::main_code] = code;
    return record;
}

std::vector<int> rowsUpTo(int last) {
    std::vector<int> rows(static_cast<std::size_t>(last));
    std::iota(rows.begin(), rows.end(), 1);
    return rows;
}

struct SearchCase {
    const char* label;
    std::string search;
    std::string advancedCodes;
    std::vector<int> rows;
};

const SearchCase kRallySearches[] = {
    {"home 07 attacks evaluated #", "*07A~#", "", {8, 13}},
    {"attacks after the own reception", "~~~r", "", {4, 13, 21}},
    // Row 21 follows a set end, which is no touch of the team.
    {"attacks after another own touch", "~~~d", "", {8}},
    {"player 07 after the own reception", "*07r", "", {13}},
    {"evaluated = or /", "", "OR[~~~~~=,5][~~~~~/,5]", {10, 21}},
    {"after a set and evaluated #", "", "AND[~~~E,1][~~~~~#,5]", {8, 13}},
    {"advanced codes with a search code", "*07", "AND[~~~E,1][~~~~~#,5]", {8, 13}},
    {"visiting reception before the set", "~~~A", "AND[a~~R,1]", {4}},
    {"home search with a visiting rule", "*", "AND[a~~R,1]", {}},
    {"invalid group keyword", "", "xyz[~~~A,1]", rowsUpTo(22)},
    {"all-blank search", "~~~~~~~~~~", "", rowsUpTo(22)},
    {"position 4 only", "   S", "", {1, 10, 15, 18}},
};

TEST(FillCodeListTest, RallySearches) {
    const CodeTable table = rallyTable();
    for (const SearchCase& c : kRallySearches)
        EXPECT_THAT(rowNumbers(FillCodeList(table, c.search, "", withAdvancedCodes(c.advancedCodes),
                                            kVolleyballMatch)),
                    ElementsAreArray(c.rows))
            << c.label;
}

TEST(FillCodeListTest, ListRowsHoldCodeFilmTimeSetAndRow) {
    const CodeTable table = tableOf({{"*07SM+", "1", "1", "5"}, {"*07AH#", "3", "2", "3725"}});
    const auto rows = FillCodeList(table, "~~~A", "", {}, kVolleyballMatch);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].code, "*07AH#");
    EXPECT_EQ(rows[0].film, "2");
    EXPECT_EQ(rows[0].time, "1.02.05");
    EXPECT_EQ(rows[0].set, "3");
    EXPECT_EQ(rows[0].row, 2);
}

TEST(FillCodeListTest, SetFilterKeepsTheTickedSets) {
    const CodeTable table =
        tableOf({{"*01SM+", "1"}, {"*02SM+", "2"}, {"*03SM+", "3"}, {"*04SM+", ""}, {"*05SM+", "1"}});
    struct Case {
        const char* filter;
        std::vector<int> rows;
    };
    const Case cases[] = {{"1;3;", {1, 3, 5}}, {"2;", {2}}, {"", {1, 2, 3, 4, 5}}, {"4;", {}}};
    for (const Case& c : cases)
        EXPECT_THAT(rowNumbers(FillCodeList(table, "", c.filter, {}, kVolleyballMatch)),
                    ElementsAreArray(c.rows))
            << c.filter;
}

TEST(FillCodeListTest, RowsWithoutCodeFilmOrTimeAreLeftOut) {
    const CodeTable table = tableOf(
        {{"*01SM+"}, {"*02SM+", "1", ""}, {"*03SM+", "1", "1", "-"}, {""}, {"*05SM+", "1", "1", "0"}});
    EXPECT_THAT(rowNumbers(FillCodeList(table, "", "", {}, kVolleyballMatch)), ElementsAre(1, 5));
}

TEST(FillCodeListTest, ReceptionSearchEndsAtTheRallyEndCodes) {
    for (const char stop : {'p', 'z', 'c', 'T'}) {
        const CodeTable table =
            tableOfCodes({"*04RM+", std::string("*") + stop + "0100", "*05EH+", "*07AH#"});
        EXPECT_THAT(rowNumbers(FillCodeList(table, "~~~r", "", {}, kVolleyballMatch)), IsEmpty()) << stop;
    }
    const CodeTable table = tableOfCodes({"*04RM+", "*q0100", "*05EH+", "*07AH#"});
    EXPECT_THAT(rowNumbers(FillCodeList(table, "~~~r", "", {}, kVolleyballMatch)), ElementsAre(4));
}

TEST(FillCodeListTest, RallySearchEndsAtTheAttackBefore) {
    // A blocked attack played again: the second attack follows the first, not the reception,
    // and the first attack is another own touch.
    const CodeTable table = tableOfCodes({"*04RM+", "*05EH+", "*07AH+", "a09BH-", "*07AH#"});
    EXPECT_THAT(rowNumbers(FillCodeList(table, "~~~r", "", {}, kVolleyballMatch)), ElementsAre(3));
    EXPECT_THAT(rowNumbers(FillCodeList(table, "~~~d", "", {}, kVolleyballMatch)), ElementsAre(5));
}

TEST(FillCodeListTest, AdvancedCodesOnlyForVolleyballMatches) {
    const CodeTable table = rallyTable();
    const AnalysisRecord record = withAdvancedCodes("AND[~~~E,1][~~~~~#,5]");
    const std::size_t all = static_cast<std::size_t>(table.codeRowCount());
    EXPECT_EQ(FillCodeList(table, "", "", record, {"1", true, 0}).size(), all);
    EXPECT_EQ(FillCodeList(table, "", "", record, {"2", false, 0}).size(), all);
    EXPECT_EQ(FillCodeList(table, "", "", record, kVolleyballMatch).size(), 2u);
}

TEST(FillCodeListTest, EmptyTableGivesNoRows) {
    EXPECT_THAT(FillCodeList(CodeTable(), "", "", {}, kVolleyballMatch), IsEmpty());
}

CodeTable synthesisTable() {
    return tableOf({
        {"*07AH#", "1", "1", "10", "0"},
        {"a09AH+", "1", "1", "20", "0"},
        {"*04RM+", "2", "1", "30", "0"},
        {"*07AH-", "2", "2", "40", "1"},
        {"a12RM#", "1", "2", "50", "1"},
        {"*05EH#", "1", "2", "60", "x"},
        {"*06AH#", "1", "2", "70", ""},
    });
}

struct AnalysisCase {
    const char* label;
    std::string mainCode;
    int index;
    std::string setFilter;
    std::vector<int> rows;
};

const AnalysisCase kSynthesisAnalyses[] = {
    {"every code of analysis 0", "", 0, "", {1, 2, 3}},
    {"team marks are not matched", "*~~A", 0, "", {1, 2}},
    {"visiting mark neither", "a~~R", 1, "", {5}},
    {"no rally search", "~~~r", 1, "", {4}},
    {"set filter", "", 0, "2;", {3}},
    {"an index without codes", "", 2, "", {}},
    {"index -1 matches no Clock", "", -1, "", {}},
};

TEST(ApplyAnalysisTest, SynthesisKeepsTheCodesOfTheAnalysis) {
    const CodeTable table = synthesisTable();
    const PassContext synthesis{"1", true, 0};
    for (const AnalysisCase& c : kSynthesisAnalyses) {
        const AnalysisRecord record = withMainCode(c.mainCode);
        const auto rows = ApplyAnalysis(table, c.index, c.setFilter, record, synthesis);
        EXPECT_THAT(rowNumbers(rows), ElementsAreArray(c.rows)) << c.label;
        if (c.setFilter.empty()) {
            EXPECT_EQ(AnalysisSelectsAnyCode(table, c.index, record, synthesis), !rows.empty()) << c.label;
        }
    }
}

TEST(ApplyAnalysisTest, MatchPackageIgnoresClockAndAdvancedCodes) {
    AnalysisRecord record = withMainCode("~~~A");
    record[AnalysisRecord::adv_codes] = "AND[~~~Z,5]";
    EXPECT_THAT(rowNumbers(ApplyAnalysis(synthesisTable(), 5, "", record, kVolleyballMatch)),
                ElementsAre(1, 2, 4, 7));
}

TEST(ApplyAnalysisTest, BasketballTwoPointCodeStandsForBothEventsOfTheLanguage) {
    std::vector<CodeLine> lines;
    for (const char* code : {"*07TS+", "*08TF-", "*09FI+", "*10FG+", "*11T3+", "*12F2+"})
        lines.push_back({code, "1", "1", "", "0"});
    const CodeTable table = tableOf(lines);
    struct Case {
        int language;
        const char* mainCode;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {0, "~~~T2", {1, 2}},  // TS and TF
        {2, "~~~T2", {1, 2}},  // TS and TF
        {1, "~~~F2", {3, 4}},  // FI and FG
        {3, "~~~F2", {3, 4}},  // languages without codes of their own use language 1's
        {0, "~~~F2", {6}},     // not the language's generic code: matched as it stands
        {1, "*07T2", {}},      // team mark dropped, then player 07 with the literal T2
        {0, "~08T2", {2}},     // the other positions still count
        {0, "~~~TS", {1}},     // a two-point code itself
    };
    for (const Case& c : cases) {
        const PassContext basketball{"2", true, c.language};
        EXPECT_THAT(rowNumbers(ApplyAnalysis(table, 0, "", withMainCode(c.mainCode), basketball)),
                    ElementsAreArray(c.rows))
            << c.language << ' ' << c.mainCode;
    }
}

}  // namespace
}  // namespace corvane
